// Device events from udev's hidraw subsystem.

#include "platform/device_monitor.h"

#include <QSocketNotifier>

#include <libudev.h>

namespace
{

// The daemon's control socket is there while it runs (/run/udev/control).
bool udevDaemonRuns(udev *context)
{
    udev_queue *queue = udev_queue_new(context);
    if (!queue)
        return false;
    const bool active = udev_queue_get_udev_is_active(queue) == 1;
    udev_queue_unref(queue);
    return active;
}

} // namespace

struct DeviceMonitor::System {
    udev *context = nullptr;
    udev_monitor *monitor = nullptr;
    std::unique_ptr<QSocketNotifier> notifier;

    ~System()
    {
        notifier.reset();
        if (monitor)
            udev_monitor_unref(monitor);
        if (context)
            udev_unref(context);
    }
};

DeviceMonitor::DeviceMonitor(QObject *parent) : QObject(parent)
{
    auto s = std::make_unique<System>();
    s->context = udev_new();
    // Without udev, or where its monitor opens but no udev daemon runs to broadcast (containers,
    // chroots, minimal systems), no event ever arrives: the caller's enumeration comparison alone
    // notices changes.
    if (!s->context || !udevDaemonRuns(s->context))
        return;
    s->monitor = udev_monitor_new_from_netlink(s->context, "udev");
    if (!s->monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(s->monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(s->monitor) < 0)
        return;
    s->notifier =
        std::make_unique<QSocketNotifier>(udev_monitor_get_fd(s->monitor), QSocketNotifier::Read);
    udev_monitor *monitor = s->monitor;
    connect(s->notifier.get(), &QSocketNotifier::activated, this, [this, monitor] {
        if (udev_device *device = udev_monitor_receive_device(monitor)) {
            udev_device_unref(device);
            emit changed();
        }
    });
    system = std::move(s);
}

DeviceMonitor::~DeviceMonitor() = default;
