#include "controller/gun_data.h"

#include "base/byte_values.h"
#include "base/settings_file.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSettings>

#include <memory>

namespace
{

QString text(const char *source)
{
    return QCoreApplication::translate("GunData", source);
}

QString recordKey(const QString &name)
{
    return QStringLiteral("gunData/") + name;
}

// A name that QSettings would read as a group path (or as the whole group, when empty) could
// remove or hide other records.
bool usableName(const QString &name, const char *operation)
{
    if (!name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')))
        return true;
    qDebug() << operation << "refused: gun record name" << name;
    return false;
}

bool enoughValues(const QVariantList &values, int needed, const char *operation)
{
    if (values.size() >= needed)
        return true;
    qDebug() << operation << "refused:" << values.size() << "of" << needed << "values";
    return false;
}

std::unique_ptr<QSettings> openGunFile()
{
    if (!GunData::fileExists()) {
        qDebug() << "gun data file missing:" << GunData::filePath();
        return nullptr;
    }
    return openSettingsFile(GunData::filePath());
}

SaveResult refused()
{
    return {GunData::filePath(), text("the values were refused")};
}

} // namespace

QString GunData::filePath()
{
    return QStringLiteral("./modules/gun/gunData.bin");
}

bool GunData::fileExists()
{
    // Not a FIFO, a device or a huge file either: reading those would hang or exhaust memory.
    return runtimeFileState(filePath()) == FileState::Usable;
}

SaveResult GunData::save(const QString &index, const QVariantList &src6)
{
    return save({{index, src6}});
}

SaveResult GunData::save(const QList<std::pair<QString, QVariantList>> &records)
{
    for (const auto &[index, src6] : records) {
        if (!enoughValues(src6, gun::kSavedValues, "mouseSaveGundata") ||
            !usableName(index, "mouseSaveGundata"))
            return refused();
    }
    auto file = openGunFile();
    if (!file)
        return {GunData::filePath(), text("the gun data file is missing")};
    for (const auto &[index, src6] : records)
        file->setValue(recordKey(index), src6.mid(0, gun::kSavedValues));
    return saveSettings(*file);
}

SaveResult GunData::modify(int modifyType, const QVariantList &src6)
{
    constexpr int kRemove = 0, kRename = 1;
    if (modifyType != kRemove && modifyType != kRename)
        return refused();
    const int needed = modifyType == kRemove ? 1 : gun::kRenameValues;
    if (!enoughValues(src6, needed, "modifyGundata"))
        return refused();
    const QString name = src6.at(0).toString();
    const QString oldName = modifyType == kRename ? src6.at(6).toString() : QString();
    if (!usableName(name, "modifyGundata") ||
        (modifyType == kRename && !usableName(oldName, "modifyGundata")))
        return refused();

    auto file = openGunFile();
    if (!file)
        return {GunData::filePath(), text("the gun data file is missing")};
    if (modifyType == kRemove) {
        file->remove(recordKey(name));
    } else {
        file->remove(recordKey(oldName));
        file->setValue(recordKey(name), src6.mid(1, gun::kSavedValues - 1));
    }
    return saveSettings(*file);
}

QVariantList GunData::record(const QString &name) const
{
    auto file = openGunFile();
    if (!file)
        return {};
    return storedList(file->value(recordKey(name)));
}

QStringList GunData::keys() const
{
    auto file = openGunFile();
    if (!file)
        return {};
    file->beginGroup(QStringLiteral("gunData"));
    return file->allKeys();
}

bool GunData::send(int slot, const QVariantList &data)
{
    if (!c.model.isGun)
        return false;
    if (slot < gun::kFirstSlot || slot > gun::kLastSlot) {
        qDebug() << "mouseSendGundata: no gun slot" << slot;
        return false;
    }
    if (!enoughValues(data, gun::kSentValues, "mouseSendGundata"))
        return false;
    const uchar count = lowByte(data.at(0));
    const uchar x = lowByte(data.at(1));
    const uchar y = lowByte(data.at(2));

    if (!c.model.family560()) {
        if (!c.link)
            return false;
        // Read and write as one step on the link's thread, so that a batch need not wait for
        // the answer.
        return c.link->queueSteps([=](Hid_Thread &link) {
            uchar option1 = 0, option2 = 0, option3 = 0, option4 = 0;
            // Without the mouse's answer the direction of Y is unknown: nothing is sent.
            if (!link.hid553_83H_GetKeyboardoption(option1, option2, option3, option4))
                return false;
            // With the third keyboard option set, the 553 firmware moves Y the other way.
            const uchar sentY = option3 != 0 ? uchar(-int(y)) : y;
            return link.hid553_04H_SetGunData(count, x, sentY, uchar(slot - 1));
        });
    }

    using namespace profile_block;
    const int b = gunSlotBlock(slot);
    return change(c, b, b, b, [count, x, y](int, uchar *block) {
        block[kGunMarker] = kGunMarkerValue;
        block[kGunCount] = count;
        block[kGunX] = x;
        block[kGunY] = y;
        block[kFlags] &= uchar(~kGunPatternBit);
    });
}
