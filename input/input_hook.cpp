#include "input/input_hook.h"

#include "input/copy_data.h"
#include "input/key_tables.h"

#include <array>

using namespace hookmsg;

namespace
{

// Process-wide state shared with the hook procedures.
Input_Hook *instance = nullptr;
keys::ScanMap scanToVirtualKey;
keys::UsageMap virtualKeyToUsage;
std::array<quint8, 256> keyDownState{};
KeyboardCallback keyboardCallback = nullptr;
void *keyboardContext = nullptr;
MouseCallback mouseCallback = nullptr;
void *mouseContext = nullptr;
CopyDataCallback copyDataCallback = nullptr;
void *copyDataContext = nullptr;

template <typename Map> quint8 lookup(const Map &map, typename Map::key_type key)
{
    const auto it = map.find(key);
    return it == map.end() ? 0 : it->second;
}

// Indexed by message - WM_LBUTTONDOWN; double-clicks have no button and are ignored.
constexpr quint8 kButtonOf[8] = {0xF0, 0xF0, 0, 0xF1, 0xF1, 0, 0xF2, 0xF2};
constexpr bool kIsDownOf[8] = {true, false, false, true, false, false, true, false};

} // namespace

Input_Hook::Input_Hook() = default;

Input_Hook::~Input_Hook()
{
    stop();
    if (instance == this)
        instance = nullptr;
}

bool Input_Hook::start(bool flag, std::unique_ptr<InputObserver> platformObserver)
{
    hashKeyFlag = flag;
    instance = this;
    scanToVirtualKey = keys::scanToVirtualKey();
    virtualKeyToUsage = keys::virtualKeyToUsage(hashKeyFlag);
    if (observer)
        stop();
    observer = std::move(platformObserver);
    if (!observer || !observer->start()) {
        observer.reset();
        return false;
    }
    return true;
}

void Input_Hook::setKeyboardCallback(KeyboardCallback callback, void *context)
{
    keyboardCallback = callback;
    keyboardContext = context;
}

void Input_Hook::setMouseCallback(MouseCallback callback, void *context)
{
    mouseCallback = callback;
    mouseContext = context;
}

void Input_Hook::setMessageFilter(CopyDataCallback callback, QCoreApplication *app, void *context)
{
    copyDataCallback = callback;
    copyDataContext = context;
    Q_UNUSED(app) // the channel lives as long as this object, which start-up keeps past the loop
    copyData = std::make_unique<CopyDataChannel>();
    copyData->listen();
}

void Input_Hook::stop()
{
    observer.reset();
}

void Input_Hook::keyboardProc(int code, quint32 message, quint32 scanCode, quint32 flags)
{
    const bool isDown = code == HC_ACTION && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN);
    const quint8 scan = scanCode > 0xFF ? 0 : quint8(scanCode);
    const bool extended = flags & LLKHF_EXTENDED;
    quint8 vk = lookup(scanToVirtualKey, keys::scanKey(scan, extended));
    if (scan == 0x46 && extended) // Ctrl+Break
        vk = keys::VK_PAUSE;
    if (scan == 0x54 && (flags & LLKHF_ALTDOWN)) // Alt+Print Screen
        vk = keys::VK_SNAPSHOT;
    if (vk == 0)
        return;
    const quint8 usage = lookup(virtualKeyToUsage, vk);
    if (usage == 0 || keyDownState[usage] == quint8(isDown))
        return;
    keyDownState[usage] = isDown;
    if (keyboardCallback)
        keyboardCallback(usage, isDown, keyboardContext);
}

void Input_Hook::mouseProc(int, quint32 message, qint32 x, qint32 y)
{
    if (message < WM_LBUTTONDOWN || message > WM_MBUTTONUP)
        return;
    const quint8 button = kButtonOf[message - WM_LBUTTONDOWN];
    if (button != 0 && mouseCallback)
        mouseCallback(button, kIsDownOf[message - WM_LBUTTONDOWN], x, y, mouseContext);
}

bool Input_Hook::messageFilter(const CopyData *data)
{
    if (!copyDataCallback)
        return false;
    copyDataCallback(data, copyDataContext);
    return true;
}
