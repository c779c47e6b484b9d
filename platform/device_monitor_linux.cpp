// Device events from udev's hidraw subsystem.

#include "platform/device_monitor.h"

#include <QSocketNotifier>

#include <libudev.h>

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
    if (s->context)
        s->monitor = udev_monitor_new_from_netlink(s->context, "udev");
    if (!s->monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(s->monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(s->monitor) < 0) {
        // No udev here: the caller's enumeration comparison alone notices changes.
        return;
    }
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
