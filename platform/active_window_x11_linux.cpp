// X11: the window manager's _NET_ACTIVE_WINDOW on the root window, watched through property
// change events on a connection of its own (no polling), and the class of that window.

#include "platform/active_window_linux.h"

#include <QDebug>
#include <QSocketNotifier>

#include <xcb/xcb.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace active_window
{
namespace
{

class X11ActiveWindow final : public ActiveWindowWatcher
{
public:
    static std::unique_ptr<ActiveWindowWatcher> open()
    {
        int screen = 0;
        xcb_connection_t *c = xcb_connect(nullptr, &screen);
        if (xcb_connection_has_error(c)) {
            xcb_disconnect(c);
            return nullptr;
        }
        return std::unique_ptr<ActiveWindowWatcher>(new X11ActiveWindow(c, screen));
    }

    ~X11ActiveWindow() override
    {
        delete notifier;
        xcb_disconnect(c);
    }

    QStringList applications() const override
    {
        QStringList out;
        for (xcb_window_t w : windowList(clientList)) {
            const QString name = classOf(w);
            if (!name.isEmpty() && !out.contains(name) && !isOwn(w))
                out << name;
        }
        out.sort(Qt::CaseInsensitive);
        // Events that came with the replies are in xcb's queue, not on the socket.
        QMetaObject::invokeMethod(const_cast<X11ActiveWindow *>(this), &X11ActiveWindow::drain,
                                  Qt::QueuedConnection);
        return out;
    }

private:
    X11ActiveWindow(xcb_connection_t *connection, int screen) : c(connection)
    {
        // The root window of the display's screen (DISPLAY=:0.1 names the second).
        xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(c));
        for (int i = 0; i < screen && roots.rem > 1; ++i)
            xcb_screen_next(&roots);
        root = roots.data->root;
        activeAtom = atom("_NET_ACTIVE_WINDOW");
        clientList = atom("_NET_CLIENT_LIST");
        pidAtom = atom("_NET_WM_PID");
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(c);
        notifier = new QSocketNotifier(xcb_get_file_descriptor(c), QSocketNotifier::Read);
        QObject::connect(notifier, &QSocketNotifier::activated, this, &X11ActiveWindow::drain);
        // What is in front now counts as an activation.
        QMetaObject::invokeMethod(this, &X11ActiveWindow::readActive, Qt::QueuedConnection);
    }

    xcb_atom_t atom(const char *name) const
    {
        xcb_intern_atom_reply_t *r =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(r);
        return a;
    }

    // A property of `w` as raw bytes; empty when it is missing.
    QByteArray property(xcb_window_t w, xcb_atom_t name, xcb_atom_t type, uint32_t words) const
    {
        xcb_get_property_reply_t *r =
            xcb_get_property_reply(c, xcb_get_property(c, 0, w, name, type, 0, words), nullptr);
        QByteArray bytes;
        if (r)
            bytes = QByteArray(static_cast<const char *>(xcb_get_property_value(r)),
                               xcb_get_property_value_length(r));
        free(r);
        return bytes;
    }

    QList<xcb_window_t> windowList(xcb_atom_t name) const
    {
        constexpr uint32_t kMaxWindows = 4096;
        const QByteArray bytes = property(root, name, XCB_ATOM_WINDOW, kMaxWindows);
        QList<xcb_window_t> out;
        for (qsizetype i = 0; i + 4 <= bytes.size(); i += 4)
            out << *reinterpret_cast<const xcb_window_t *>(bytes.constData() + i);
        return out;
    }

    // WM_CLASS is "instance\0class\0": the class names the application, the instance only
    // this start of it.
    QString classOf(xcb_window_t w) const
    {
        constexpr uint32_t kWords = 128;
        const QList<QByteArray> parts =
            property(w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, kWords).split('\0');
        const QByteArray name = parts.value(1).isEmpty() ? parts.value(0) : parts.value(1);
        return QString::fromLocal8Bit(name).trimmed();
    }

    bool isOwn(xcb_window_t w) const
    {
        const QByteArray pid = property(w, pidAtom, XCB_ATOM_CARDINAL, 1);
        return pid.size() == 4 &&
               *reinterpret_cast<const uint32_t *>(pid.constData()) == uint32_t(getpid());
    }

    void drain()
    {
        bool activeChanged = false;
        while (xcb_generic_event_t *e = xcb_poll_for_event(c)) {
            if ((e->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
                const auto *p = reinterpret_cast<xcb_property_notify_event_t *>(e);
                activeChanged = activeChanged || (p->window == root && p->atom == activeAtom);
            }
            free(e);
        }
        if (xcb_connection_has_error(c)) {
            qDebug() << "active window: the X connection was lost";
            notifier->setEnabled(false);
            return;
        }
        if (activeChanged)
            readActive();
    }

    void readActive()
    {
        const QList<xcb_window_t> active = windowList(activeAtom);
        const xcb_window_t w = active.value(0, XCB_WINDOW_NONE);
        if (w != XCB_WINDOW_NONE && isOwn(w))
            return;
        const QString name = w == XCB_WINDOW_NONE ? QString() : classOf(w);
        if (name != last || !seenAny) {
            seenAny = true;
            last = name;
            emit activated(name);
        }
        drain();
    }

    xcb_connection_t *c;
    xcb_window_t root = XCB_WINDOW_NONE;
    xcb_atom_t activeAtom = XCB_ATOM_NONE;
    xcb_atom_t clientList = XCB_ATOM_NONE;
    xcb_atom_t pidAtom = XCB_ATOM_NONE;
    QSocketNotifier *notifier = nullptr;
    QString last;
    bool seenAny = false;
};

} // namespace

std::unique_ptr<ActiveWindowWatcher> openX11()
{
    return X11ActiveWindow::open();
}

} // namespace active_window
