#include "app/device_change.h"

#include <hidapi/hidapi.h>

QStringList enumerateHidInterfaces()
{
    QStringList found;
    hid_device_info *list = hid_enumerate(0, 0);
    for (hid_device_info *it = list; it; it = it->next) {
        found << QStringLiteral("%1 %2:%3 %4:%5")
                     .arg(QString::fromLatin1(it->path))
                     .arg(it->vendor_id, 4, 16, QLatin1Char('0'))
                     .arg(it->product_id, 4, 16, QLatin1Char('0'))
                     .arg(it->usage_page, 4, 16, QLatin1Char('0'))
                     .arg(it->usage, 4, 16, QLatin1Char('0'));
    }
    hid_free_enumeration(list);
    found.sort();
    return found;
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
        // Changes while a device is watched are the watch's business; start afresh afterwards.
        haveBaseline = false;
        return;
    }
    const QStringList now = enumerateHidInterfaces();
    if (haveBaseline && now != baseline)
        emit deviceChanged();
    baseline = now;
    haveBaseline = true;
}
