#pragma once

// Observes every key press and release and every left, right and middle button press and release
// on the desktop, without consuming them, and reports keys as USB HID usages. Also carries the
// copy-data notification: a short UTF-8 text another process hands to the application.

#include <QtGlobal>

#include <memory>

class QCoreApplication;
class InputObserver;
class CopyDataChannel;

// A copy-data message: a tag, the byte length the sender gave, and the bytes.
struct CopyData {
    quint32 dwData = 0;
    quint32 cbData = 0;
    const char *lpData = nullptr;
};

using KeyboardCallback = void (*)(quint8 usage, bool isDown, void *context);
using MouseCallback = void (*)(quint8 button, bool isDown, qint32 x, qint32 y, void *context);
using CopyDataCallback = void (*)(const CopyData *data, void *context);

// Native messages the mouse procedure understands.
namespace hookmsg
{
constexpr quint32 WM_KEYDOWN = 0x100;
constexpr quint32 WM_KEYUP = 0x101;
constexpr quint32 WM_SYSKEYDOWN = 0x104;
constexpr quint32 WM_LBUTTONDOWN = 0x201;
constexpr quint32 WM_LBUTTONUP = 0x202;
constexpr quint32 WM_LBUTTONDBLCLK = 0x203;
constexpr quint32 WM_RBUTTONDOWN = 0x204;
constexpr quint32 WM_RBUTTONUP = 0x205;
constexpr quint32 WM_MBUTTONDOWN = 0x207;
constexpr quint32 WM_MBUTTONUP = 0x208;
constexpr quint32 WM_MOUSEWHEEL = 0x20A;
constexpr int HC_ACTION = 0;
// Key event flags.
constexpr quint32 LLKHF_EXTENDED = 0x01;
constexpr quint32 LLKHF_ALTDOWN = 0x20;
} // namespace hookmsg

class Input_Hook
{
public:
    Input_Hook();
    ~Input_Hook();

    // Fills the tables and starts `observer` (the platform's, or none: the procedures are then fed
    // by hand); false when no observer runs.
    bool start(bool hashKeyFlag, std::unique_ptr<InputObserver> observer);
    void setKeyboardCallback(KeyboardCallback callback, void *context);
    void setMouseCallback(MouseCallback callback, void *context);
    // Opens the copy-data channel of `app` and hands its messages to `callback`.
    void setMessageFilter(CopyDataCallback callback, QCoreApplication *app, void *context);
    void stop();
    // The channel opened by setMessageFilter; null before.
    CopyDataChannel *copyDataChannel() const { return copyData.get(); }

    // The hook procedures, fed on the GUI thread by the platform observer.
    static void keyboardProc(int code, quint32 message, quint32 scanCode, quint32 flags);
    static void mouseProc(int code, quint32 message, qint32 x, qint32 y);
    // True when the message was handled (and goes no further).
    static bool messageFilter(const CopyData *data);

    bool hashKeyFlag = false;

private:
    std::unique_ptr<InputObserver> observer;
    std::unique_ptr<CopyDataChannel> copyData;
};

// The key observer of a platform: reports through Input_Hook's procedures.
class InputObserver
{
public:
    virtual ~InputObserver() = default;
    virtual bool start() = 0;
};
