#pragma once

// Gun records (recoil patterns) in ./modules/gun/gunData.bin, shared by all profiles, and the
// sending of one gun slot to the mouse.
//
// The file comes with the installation and is never created here: without it every operation
// does nothing and every reader returns an empty result. Each operation opens the file and closes
// it before returning; nothing holds it between calls.

#include "base/device_context.h"
#include "base/runtime_files.h"
#include "base/profile_block.h"

#include <QStringList>
#include <QVariantList>

namespace gun
{
constexpr int kSavedValues = 6;  // name, key label, period, X, Y, shot count
constexpr int kRenameValues = 7; // new name, label, period, X, Y, shot count, old name
constexpr int kSentValues = 3;   // shot count, X, Y
constexpr int kFirstSlot = 1;
constexpr int kLastSlot = 3;

} // namespace gun

class GunData
{
public:
    explicit GunData(DeviceContext &context) : c(context) {}

    static QString filePath();
    static bool fileExists();

    // Stores the first six values under "gunData/<index>". A failure when refused or the file
    // was not written.
    SaveResult save(const QString &index, const QVariantList &src6);
    // Several records in one write of the file; none is stored when one is refused.
    SaveResult save(const QList<std::pair<QString, QVariantList>> &records);
    // Type 0 removes "gunData/<src6[0]>"; type 1 renames: removes "gunData/<src6[6]>" and stores
    // src6[1..5] under "gunData/<src6[0]>". A failure when refused, nothing was to be done or the
    // file was not written.
    SaveResult modify(int modifyType, const QVariantList &src6);
    QVariantList record(const QString &name) const;
    QStringList keys() const;

    // Sends (shot count, X, Y) as gun slot 1...3; only gun models have the slots. True when it
    // reached the mouse.
    bool send(int slot, const QVariantList &data);

private:
    DeviceContext &c;
};
