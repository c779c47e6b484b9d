#include "platform/xrecord_observer.h"

#include <QSocketNotifier>
#include <QtGlobal>

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/record.h>

namespace
{

void intercept(XPointer, XRecordInterceptData *d)
{
    if (d->category == XRecordFromServer && d->data && d->data_len * 4 >= sizeof(xEvent)) {
        const auto *event = reinterpret_cast<const xEvent *>(d->data);
        const int type = event->u.u.type & 0x7F;
        const int detail = event->u.u.detail;
        if (type == KeyPress || type == KeyRelease)
            reportXKey(detail, type == KeyPress);
        else if (type == ButtonPress || type == ButtonRelease)
            reportXButton(detail, type == ButtonPress, event->u.keyButtonPointer.rootX,
                          event->u.keyButtonPointer.rootY);
    }
    XRecordFreeData(d);
}

} // namespace

struct XRecordObserver::Connection {
    Display *control = nullptr;
    Display *data = nullptr;
    XRecordContext context = 0;
    QSocketNotifier *notifier = nullptr;

    ~Connection()
    {
        delete notifier;
        if (control && context) {
            XRecordDisableContext(control, context);
            XRecordFreeContext(control, context);
            XFlush(control);
        }
        if (data)
            XCloseDisplay(data);
        if (control)
            XCloseDisplay(control);
    }
};

XRecordObserver::XRecordObserver() = default;
XRecordObserver::~XRecordObserver() = default;

bool XRecordObserver::start()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    auto c = std::make_unique<Connection>();
    // One connection to set up the recording, one that the recorded events arrive on.
    c->control = XOpenDisplay(nullptr);
    c->data = XOpenDisplay(nullptr);
    int major = 0, minor = 0;
    if (!c->control || !c->data || !XRecordQueryVersion(c->control, &major, &minor))
        return false;
    XRecordRange *range = XRecordAllocRange();
    if (!range)
        return false;
    range->device_events.first = KeyPress;
    range->device_events.last = ButtonRelease;
    XRecordClientSpec clients = XRecordAllClients;
    c->context = XRecordCreateContext(c->control, 0, &clients, 1, &range, 1);
    XFree(range);
    XSync(c->control, False);
    if (!c->context || !XRecordEnableContextAsync(c->data, c->context, intercept, nullptr))
        return false;
    Display *data = c->data;
    c->notifier = new QSocketNotifier(ConnectionNumber(data), QSocketNotifier::Read);
    QObject::connect(c->notifier, &QSocketNotifier::activated,
                     [data] { XRecordProcessReplies(data); });
    XRecordProcessReplies(data);
    connection = std::move(c);
    return true;
}
