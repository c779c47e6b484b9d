#pragma once

#include <QString>
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

// Used for entries that ask for scrambling without a code of their own.
inline constexpr char kDefaultScrambleCode[] = "520147";

inline const QString kApConfigFile = QStringLiteral("./modules/setting/apConfig.bin");

// Reads the table afresh, so an edited file takes effect at the next scan.
DeviceList loadDeviceTable(const QString &fileName = kApConfigFile);

// Fills cmdPath and eventPath from the HID interfaces present now; a later match overwrites an
// earlier one, and one interface may serve both roles.
void findInterfaces(DeviceEntry &entry);
