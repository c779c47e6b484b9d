#include "app/device_change.h"

#include "device/device_table.h"
#include "platform/device_monitor.h"

DeviceChangeNotifier::DeviceChangeNotifier(std::function<bool()> watching, QObject *parent)
    : QObject(parent), watching(std::move(watching))
{
    auto *monitor = new DeviceMonitor(this);
    connect(monitor, &DeviceMonitor::changed, this, &DeviceChangeNotifier::deviceChanged);
    // The stand-in library of the virtual TK700 is preloaded in place of hidapi.
    const bool simulated =
        qEnvironmentVariable("LD_PRELOAD").contains(QLatin1String("tk700-hidapi"));
    polling = !monitor->isActive() || simulated;
    connect(&pollTimer, &QTimer::timeout, this, &DeviceChangeNotifier::poll);
    pollTimer.setInterval(kPollMs);
    resume();
}

void DeviceChangeNotifier::resume()
{
    if (!polling || pollTimer.isActive())
        return;
    pollTimer.start();
    poll();
}

void DeviceChangeNotifier::rebase(quint16 vid, quint16 pid)
{
    const QString ids = QStringLiteral(" %1:%2 ")
                            .arg(vid, 4, 16, QLatin1Char('0'))
                            .arg(pid, 4, 16, QLatin1Char('0'));
    baseline.clear();
    for (const QString &hidInterface : enumerateHidInterfaces()) {
        if (!hidInterface.contains(ids))
            baseline << hidInterface;
    }
    haveBaseline = true;
}

void DeviceChangeNotifier::poll()
{
    if (watching && watching()) {
        // Changes while a device is watched are the watch's business; start afresh when it ends
        // (resume()).
        haveBaseline = false;
        pollTimer.stop();
        return;
    }
    const QStringList now = enumerateHidInterfaces();
    if (haveBaseline && now != baseline)
        emit deviceChanged();
    baseline = now;
    haveBaseline = true;
}
