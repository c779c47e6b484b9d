#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <memory>
#include <vector>

// One row of the device table in apConfig.bin, with the two interface paths that enumeration
// finds for it.
struct DeviceEntry {
    int type = -1;
    quint16 vid = 0;
    quint16 pid = 0;
    quint16 usagePage = 0; // command interface
    quint16 usage = 0;
    quint16 usagePage2 = 0; // event interface
    quint16 usage2 = 0;
    int reportLength = 32;
    bool isEncode = false;
    QString sCode;
    QString cmdPath;
    QString eventPath;
};

using DeviceList = std::vector<std::unique_ptr<DeviceEntry>>;

// What hidraw can carry in one interrupt report of a full-speed device, and the most entries a
// table may have; an entry or a table outside these bounds is refused with a debug line.
inline constexpr int kMinReportLength = 1;
inline constexpr int kMaxReportLength = 64;
inline constexpr int kMaxDeviceCount = 64;
// The table file is a few KB; more, or anything but a regular file, is no table.
inline constexpr qint64 kMaxDeviceTableBytes = 4 << 20;

// Used for entries that ask for scrambling without a code of their own.
inline constexpr char kDefaultScrambleCode[] = "520147";

inline const QString kApConfigFile = QStringLiteral("./modules/setting/apConfig.bin");

// Reads the table afresh, so an edited file takes effect at the next scan. A count beyond
// kMaxDeviceCount gives an empty table, as does a file that is not a regular file within
// kMaxDeviceTableBytes (a FIFO, a device, a folder) or cannot be read.
DeviceList loadDeviceTable(const QString &fileName = kApConfigFile);

// Whether an entry can name a device at all: both ids set (an id of 0 would be hidapi's "any")
// and a report length hidraw can carry. Other entries keep their place but match nothing.
bool isUsableEntry(const DeviceEntry &entry);

// Fills cmdPath and eventPath from the HID interfaces present now; a later match overwrites an
// earlier one, and one interface may serve both roles.
void findInterfaces(DeviceEntry &entry);

// The path, ids and usages of every HID interface present now, one text each, sorted: what a
// comparison needs to notice a device that came or went.
QStringList enumerateHidInterfaces();
