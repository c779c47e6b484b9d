// The desktop-wide key and button observer on Linux: the X server's RECORD extension where an X
// display can be observed, otherwise (a Wayland session, no X display) the key and button events
// of the program's own windows.

#include "input/key_tables.h"
#include "platform/input_observer.h"
#include "platform/window_input_observer.h"
#include "platform/xrecord_observer.h"

#include <QCoreApplication>
#include <QDebug>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSocketNotifier>

using namespace hookmsg;

namespace
{

// Linux input-event codes are X key codes less 8.
constexpr int kXKeycodeOffset = 8;

// X buttons 1, 2, 3 are left, middle, right; the wheel (4 ... 7) and the side buttons map to a
// message the mouse procedure ignores.
quint32 buttonMessage(int xButton, bool isDown)
{
    switch (xButton) {
    case 1:
        return isDown ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case 2:
        return isDown ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    case 3:
        return isDown ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    default:
        return WM_MOUSEWHEEL;
    }
}

} // namespace

void reportXKey(int xKeycode, bool isDown)
{
    const keys::ScanCode sc =
        keys::scanCodeOfLinuxKey(quint16(qMax(0, xKeycode - kXKeycodeOffset)));
    if (sc.scan == 0)
        return;
    Input_Hook::keyboardProc(HC_ACTION, isDown ? WM_KEYDOWN : WM_KEYUP, sc.scan,
                             sc.extended ? LLKHF_EXTENDED : 0);
}

void reportXButton(int xButton, bool isDown, qint32 x, qint32 y)
{
    Input_Hook::mouseProc(HC_ACTION, buttonMessage(xButton, isDown), x, y);
}

bool WindowInputObserver::start()
{
    if (!QCoreApplication::instance())
        return false;
    QCoreApplication::instance()->installEventFilter(this);
    return true;
}

bool WindowInputObserver::eventFilter(QObject *watched, QEvent *event)
{
    // Each event once, at its window, not again at every widget it passes, nor at the hidden
    // window a QQuickWidget renders its scene in, which gets a copy of every mouse event.
    if (!watched->isWindowType() || watched->inherits("QQuickWidgetOffscreenWindow"))
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->isAutoRepeat())
            break;
        reportXKey(int(key->nativeScanCode()), event->type() == QEvent::KeyPress);
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const bool down = event->type() == QEvent::MouseButtonPress;
        const int xButton = mouse->button() == Qt::LeftButton     ? 1
                            : mouse->button() == Qt::MiddleButton ? 2
                            : mouse->button() == Qt::RightButton  ? 3
                                                                  : 0;
        const QPoint p = mouse->globalPosition().toPoint();
        reportXButton(xButton, down, p.x(), p.y());
        break;
    }
    default:
        break;
    }
    return false;
}

bool isWaylandSession(const QString &qtPlatform, const QString &sessionType,
                      const QString &waylandDisplay)
{
    return qtPlatform.startsWith(QLatin1String("wayland")) ||
           sessionType.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0 ||
           !waylandDisplay.isEmpty();
}

bool isWaylandSession()
{
    return isWaylandSession(QGuiApplication::platformName(),
                            qEnvironmentVariable("XDG_SESSION_TYPE"),
                            qEnvironmentVariable("WAYLAND_DISPLAY"));
}

namespace
{

class LinuxObserver : public InputObserver
{
public:
    bool start() override
    {
        if (!isWaylandSession()) {
            record = std::make_unique<XRecordObserver>();
            if (record->start())
                return true;
            record.reset();
        }
        // Keys are then seen only while the program's window has the focus: worth a line in a
        // bug report about keys that are not captured.
        qDebug() << "input: keys of the program's own windows"
                 << (isWaylandSession() ? "(Wayland session)" : "(no X display to observe)");
        window = std::make_unique<WindowInputObserver>();
        return window->start();
    }

private:
    std::unique_ptr<XRecordObserver> record;
    std::unique_ptr<WindowInputObserver> window;
};

} // namespace

std::unique_ptr<InputObserver> createInputObserver()
{
    return std::make_unique<LinuxObserver>();
}
