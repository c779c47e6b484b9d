#pragma once

// The catalogue ./modules/setting/name.bin: the name lists of other pages and, for the library
// root and each folder, ten parallel lists that describe its items in display order. A folder's
// lists live under the group name1 + name2 + ... (no separator), so the folder B inside A and a
// root folder AB share one group; files of that scheme are in use and must stay readable. Only a
// folder whose names join to "macro", the root's own group, has its lists under "macro/folder".

#include "base/runtime_files.h"
#include "macro/macro_files.h"

#include <QStringList>
#include <QVariantList>

#include <array>
#include <utility>

class SettingsStore;

// Written after a list of exactly one element, so that the INI file keeps it a list.
inline QString nullSlotMark()
{
    return QStringLiteral("nullslotmark");
}
QStringList withoutSentinel(const QStringList &list);

// The ten attribute lists of one folder, in the order of updataMacroList's arguments.
enum TreeList {
    kMacroNameList,
    kMacroTypeList,
    kShowImgList,
    kTxtMarginList,
    kLevelList,
    kNo0List,
    kNo1List,
    kNo2List,
    kNo3List,
    kNo4List,
    kTreeAttributes
};
using TreeLists = std::array<QStringList, kTreeAttributes>;

class MacroCatalogue
{
public:
    MacroCatalogue();
    explicit MacroCatalogue(QString fileName) : fileName(std::move(fileName)) {}

    // Type 0 root names, 1 gun names, 2 profile names, 3 selected guns; as stored, sentinel
    // included. Another type gives an empty list and writes nothing.
    QVariantList nameList(int type) const;
    SaveResult setNameList(int type, const QStringList &list) const;
    static constexpr int kProfileNames = 2;
    // The name the profile dialog shows for profile `profile` (its entry without the trailing
    // profile number); empty when the list has no row for it.
    QString profileName(int profile) const;

    // att 0 ... 8: macroType, showImg, txtMargin, level, no0 ... no4 of the root.
    QVariantList rootAttribute(int att) const;
    // att 0 ... 9: macroType, showImg, txtMargin, level, macroName, no0 ... no4 of the folder
    // `name` below the selected path at the selected level.
    QVariantList folderAttribute(int att, const MacroSelection &selection,
                                 const QString &name) const;

    // att 0: after an item was created or deleted; 1: the parent's lists after a rename;
    // 2: moves a renamed folder's lists to its new group. Writes two debug lines.
    SaveResult writeFolder(int att, int level, const QString &currentName,
                           const MacroSelection &selection, TreeLists lists) const;
    SaveResult removeGroup(const QString &group) const;

private:
    QString fileName;
};

// A deleted macro no longer plays on any button: every office-mode button of the first six
// profiles bound to `macroName` gets its factory entry from pD.bin back. The name alone counts,
// whatever folder the macro was in.
void forgetDeletedMacro(SettingsStore &settings, const QString &macroName);
