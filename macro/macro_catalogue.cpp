#include "macro/macro_catalogue.h"

#include "base/button_entry.h"
#include "base/settings_file.h"
#include "base/settings_store.h"

#include <QDebug>
#include <QSettings>

namespace
{

const char *const kNamedLists[] = {"macro/macroName", "gun/gunName", "profile/profileName",
                                   "gun/selectGun"};

// Key suffixes in the order of TreeLists.
const char *const kTreeKeys[kTreeAttributes] = {
    "/macroName", "/macroType", "/showImg", "/txtMargin", "/level",
    "/no0",       "/no1",       "/no2",     "/no3",       "/no4"};

// getMacroList_Att's att 0 ... 8: the root's names are name list 0, not one of these.
constexpr TreeList kRootAttributes[] = {kMacroTypeList, kShowImgList, kTxtMarginList,
                                        kLevelList,     kNo0List,     kNo1List,
                                        kNo2List,       kNo3List,     kNo4List};
// getMacroSubList_Att's att 0 ... 9: a folder's names come after its levels.
constexpr TreeList kFolderAttributes[] = {kMacroTypeList, kShowImgList, kTxtMarginList, kLevelList,
                                          kMacroNameList, kNo0List,     kNo1List,       kNo2List,
                                          kNo3List,       kNo4List};

// The profile dialog offers the first six profiles; only their buttons can hold a macro.
constexpr int kProfilesWithMacros = 6;

QString rootGroup()
{
    return QStringLiteral("macro");
}

// A folder's lists live under the concatenation of its path's names, which for a root folder
// called "macro" (or "ma" holding "cro") is the root's own group. Such a folder gets a subgroup of
// the root group instead: no concatenation of names holds a "/", so nothing else can meet it, and
// every other folder keeps the group that existing files use.
QString folderGroup(const QString &joinedNames)
{
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity kIniCase = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity kIniCase = Qt::CaseSensitive;
#endif
    if (joinedNames.compare(rootGroup(), kIniCase) == 0)
        return rootGroup() + QStringLiteral("/folder");
    return joinedNames;
}

QVariantList readList(const QString &fileName, const QString &key)
{
    const auto file = openSettingsFile(fileName);
    const QVariant value = file->value(key);
    if (!value.isValid())
        return {};
    QVariantList list;
    for (const QString &item : value.toStringList())
        list.append(item);
    return list;
}

void writeList(QSettings &file, const QString &key, QStringList list)
{
    if (list.isEmpty()) {
        file.remove(key);
        return;
    }
    if (list.size() == 1)
        list.append(nullSlotMark());
    file.setValue(key, list);
}

void removeTreeKeys(QSettings &file, const QString &group)
{
    for (const char *key : kTreeKeys)
        file.remove(group + QLatin1String(key));
}

} // namespace

QStringList withoutSentinel(const QStringList &list)
{
    if (list.size() == 2 && list.at(1) == nullSlotMark())
        return {list.at(0)};
    return list;
}

MacroCatalogue::MacroCatalogue() : fileName(SettingsStore::settingPath(QStringLiteral("name.bin")))
{
}

QVariantList MacroCatalogue::nameList(int type) const
{
    if (type < 0 || type >= int(std::size(kNamedLists)))
        return {};
    return readList(fileName, QLatin1String(kNamedLists[type]));
}

QString MacroCatalogue::profileName(int profile) const
{
    // Each row is its name followed by the one digit of its profile.
    const QString digit = QString::number(profile);
    for (const QVariant &entry : nameList(kProfileNames)) {
        const QString row = entry.toString();
        if (row.size() > 1 && digit.size() == 1 && row.endsWith(digit))
            return row.chopped(1);
    }
    return {};
}

SaveResult MacroCatalogue::setNameList(int type, const QStringList &list) const
{
    if (type < 0 || type >= int(std::size(kNamedLists)))
        return {};
    const auto file = openSettingsFile(fileName);
    writeList(*file, QLatin1String(kNamedLists[type]), list);
    return saveSettings(*file);
}

QVariantList MacroCatalogue::rootAttribute(int att) const
{
    if (att < 0 || att >= int(std::size(kRootAttributes)))
        return {};
    return readList(fileName, rootGroup() + QLatin1String(kTreeKeys[kRootAttributes[att]]));
}

QVariantList MacroCatalogue::folderAttribute(int att, const MacroSelection &selection,
                                             const QString &name) const
{
    if (att < 0 || att >= int(std::size(kFolderAttributes)))
        return {};
    const int level = selection.level();
    const QString group = level >= 1 && level <= kMacroMaxLevel
                              ? folderGroup(selection.joinedNames(level - 1) + name)
                              : QString();
    return readList(fileName, group + QLatin1String(kTreeKeys[kFolderAttributes[att]]));
}

SaveResult MacroCatalogue::writeFolder(int att, int level, const QString &currentName,
                                       const MacroSelection &selection, TreeLists lists) const
{
    qDebug().noquote()
        << "=========================== updataMacroList =====================================";
    qDebug().noquote() << "nameList =" << lists[kMacroNameList].join(QLatin1Char(' '));

    const bool levelInRange = level >= 0 && level <= kMacroMaxLevel;
    const auto settings = openSettingsFile(fileName);
    QSettings &file = *settings;
    auto writeAll = [&](const QString &group) {
        for (int i = 0; i < kTreeAttributes; ++i)
            writeList(file, group + QLatin1String(kTreeKeys[i]), lists[i]);
    };
    // The folder whose contents are written: the root, or name1 + ... + nameL.
    auto contentsGroup = [&]() {
        return level == 0 ? rootGroup() : folderGroup(selection.joinedNames(level));
    };

    switch (att) {
    case 0:
        if (!levelInRange)
            return {};
        removeTreeKeys(file, level == 0
                                 ? QString()
                                 : folderGroup(selection.joinedNames(level - 1) + currentName));
        writeAll(contentsGroup());
        break;
    case 1:
        if (levelInRange)
            writeAll(contentsGroup());
        break;
    case 2:
        if (level < 0 || level >= kMacroMaxLevel)
            return {};
        removeTreeKeys(file, folderGroup(selection.joinedNames(level + 1)));
        writeAll(folderGroup(selection.joinedNames(level) + currentName));
        break;
    default:
        break;
    }
    return saveSettings(file);
}

SaveResult MacroCatalogue::removeGroup(const QString &group) const
{
    const auto file = openSettingsFile(fileName);
    removeTreeKeys(*file, folderGroup(group));
    return saveSettings(*file);
}

void forgetDeletedMacro(SettingsStore &settings, const QString &macroName)
{
    using namespace key_table;
    for (int p = 0; p < kProfilesWithMacros; ++p) {
        QSettings &profile = settings.profile(p);
        for (int i = 0; i < kButtons; ++i) {
            const QString key = QStringLiteral("mouseKeyMatrix/%1").arg(i);
            const QStringList entry = profile.value(key).toStringList();
            if (entry.value(kType).toInt() != kMacroType || entry.size() <= kP2)
                continue;
            const QString slotKey = QStringLiteral("mouseMacroKey/") + entry.at(kP2);
            if (profile.value(slotKey).toString() != macroName)
                continue;
            const QVariant factory = settings.defaults().value(key);
            // Without a factory entry the button keeps its assignment rather than losing it.
            if (factory.isValid())
                profile.setValue(key, factory);
        }
    }
}
