// Device events from udev's hidraw subsystem, beside the enumeration comparison.

#include "app/device_change.h"

#include <QSocketNotifier>

#include <libudev.h>

struct DeviceChangeNotifier::SystemMonitor {
    udev *context = nullptr;
    udev_monitor *monitor = nullptr;
    QSocketNotifier *notifier = nullptr;

    ~SystemMonitor()
    {
        delete notifier;
        if (monitor)
            udev_monitor_unref(monitor);
        if (context)
            udev_unref(context);
    }
};

DeviceChangeNotifier::DeviceChangeNotifier(std::function<bool()> watching, QObject *parent)
    : QObject(parent), watching(std::move(watching))
{
    startSystemMonitor();
    connect(&pollTimer, &QTimer::timeout, this, &DeviceChangeNotifier::poll);
    pollTimer.start(kPollMs);
    poll();
}

DeviceChangeNotifier::~DeviceChangeNotifier()
{
    delete monitor;
}

bool DeviceChangeNotifier::startSystemMonitor()
{
    auto *m = new SystemMonitor;
    m->context = udev_new();
    if (m->context)
        m->monitor = udev_monitor_new_from_netlink(m->context, "udev");
    if (!m->monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(m->monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(m->monitor) < 0) {
        // No udev here: the enumeration comparison alone notices changes.
        delete m;
        return false;
    }
    m->notifier = new QSocketNotifier(udev_monitor_get_fd(m->monitor), QSocketNotifier::Read);
    connect(m->notifier, &QSocketNotifier::activated, this, [this, m] {
        if (udev_device *device = udev_monitor_receive_device(m->monitor)) {
            udev_device_unref(device);
            emit deviceChanged();
        }
    });
    monitor = m;
    return true;
}
