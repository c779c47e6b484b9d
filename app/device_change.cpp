#include "app/device_change.h"

#include "device/device_table.h"
#include "platform/device_monitor.h"

#include <QDebug>

DeviceChangeNotifier::DeviceChangeNotifier(std::function<bool()> watching, QObject *parent)
    : QObject(parent), watching(std::move(watching))
{
    auto *monitor = new DeviceMonitor(this);
    connect(monitor, &DeviceMonitor::changed, this, &DeviceChangeNotifier::deviceChanged);
    const bool asked = qEnvironmentVariableIntValue(kPollVariable) == 1;
    polling = asked || !monitor->isActive();
    if (polling)
        qDebug().noquote()
            << "device changes: the HID interfaces are compared every" << kPollMs << "ms -"
            << (asked ? QStringLiteral("asked for by %1=1").arg(QLatin1String(kPollVariable))
                      : QStringLiteral("no device events from the system"));
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
