#include "device/device_table.h"

#include "device/regular_file.h"

#include <QDebug>
#include <QSettings>
#include <QTemporaryFile>

#include <hidapi/hidapi.h>

namespace
{

// Hexadecimal fields: the text carries no prefix; text that does not convert reads as 0.
struct HexField {
    const char *key;
    quint16 DeviceEntry::*field;
};

constexpr HexField kHexFields[] = {
    {"vid", &DeviceEntry::vid},
    {"pid", &DeviceEntry::pid},
    {"usagePage", &DeviceEntry::usagePage},
    {"usage", &DeviceEntry::usage},
    {"usagePage2", &DeviceEntry::usagePage2},
    {"usage2", &DeviceEntry::usage2},
};

quint16 hex16(const QVariant &value)
{
    return static_cast<quint16>(value.toString().toUInt(nullptr, 16) & 0xFFFF);
}

} // namespace

DeviceList loadDeviceTable(const QString &fileName)
{
    DeviceList devices;
    // The table is read at every scan from a file a user can replace.
    QByteArray content;
    switch (readOpenedRegularFile(fileName, kMaxDeviceTableBytes, content)) {
    case OpenedRead::Done:
        break;
    case OpenedRead::Unopenable:
        return devices;
    case OpenedRead::NotRegular:
    case OpenedRead::TooLarge:
        qDebug() << "Device table refused:" << fileName << "is no regular file of at most"
                 << kMaxDeviceTableBytes << "bytes";
        return devices;
    case OpenedRead::Unreadable:
        qDebug() << "Device table refused:" << fileName << "could not be read whole";
        return devices;
    }
    // QSettings reads only files; it gets a private copy of what was checked.
    QTemporaryFile copy;
    if (!copy.open() || copy.write(content) != content.size() || !copy.flush()) {
        qDebug() << "Device table: no room for a private copy of" << fileName;
        return devices;
    }
    QSettings table(copy.fileName(), QSettings::IniFormat);
    const int count = table.value(QStringLiteral("common/deviceCount"), 0).toInt();
    if (count > kMaxDeviceCount) {
        qDebug() << "Device table refused: deviceCount" << count << "is more than"
                 << kMaxDeviceCount;
        return devices;
    }
    for (int i = 0; i < count; ++i) {
        const QString group = QString::number(i) + QLatin1Char('/');
        auto entry = std::make_unique<DeviceEntry>();
        const QVariant type = table.value(group + QStringLiteral("type"));
        entry->type = type.isValid() ? type.toString().toInt(nullptr, 16) : -1;
        for (const HexField &f : kHexFields)
            (*entry).*f.field = hex16(table.value(group + QLatin1String(f.key), 0));
        entry->reportLength = table.value(group + QStringLiteral("reportLength"), 32).toInt();
        if (entry->reportLength < kMinReportLength || entry->reportLength > kMaxReportLength)
            qDebug() << "Device table: entry" << i << "refused: reportLength" << entry->reportLength
                     << "is outside" << kMinReportLength << "..." << kMaxReportLength;
        entry->isEncode = table.value(group + QStringLiteral("isEncode"), false).toBool();
        entry->sCode =
            table.value(group + QStringLiteral("sCode"), QString::fromLatin1(kDefaultScrambleCode))
                .toString();
        devices.push_back(std::move(entry));
    }
    return devices;
}

bool isUsableEntry(const DeviceEntry &entry)
{
    return entry.vid != 0 && entry.pid != 0 && entry.reportLength >= kMinReportLength &&
           entry.reportLength <= kMaxReportLength;
}

void findInterfaces(DeviceEntry &entry)
{
    entry.cmdPath.clear();
    entry.eventPath.clear();
    if (!isUsableEntry(entry))
        return;
    hid_device_info *list = hid_enumerate(entry.vid, entry.pid);
    for (hid_device_info *it = list; it; it = it->next) {
        if (it->vendor_id != entry.vid || it->product_id != entry.pid)
            continue;
        if (it->usage_page == entry.usagePage && it->usage == entry.usage)
            entry.cmdPath = QString::fromLatin1(it->path);
        if (it->usage_page == entry.usagePage2 && it->usage == entry.usage2)
            entry.eventPath = QString::fromLatin1(it->path);
    }
    hid_free_enumeration(list);
}

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
