#pragma once

// The macro library on disk: a tree of folders below ./modules/macro/ holding one INI file per
// macro ("<name>.bin": config/total, config/repeat, macro/0 ... as event records "T,info").

#include "base/runtime_files.h"
#include "macro/macro_names.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>

constexpr int kMacroMaxLevel = 5; // folders between the library root and an item
// A few records fill the mouse's 128-byte block; a larger file is no macro we would import.
constexpr qint64 kMacroFileMaxBytes = 1 << 20;

QString macroRoot(); // "./modules/macro/"
inline QString macroSuffix()
{
    return QStringLiteral(".bin");
}
// The longest name written beside a file the library saves: QSettings locks it as "<file>.lock"
// and replaces an existing file through "<file>.XXXXXX". A name without room for them can be
// created, but never saved again.
inline QString savedFileSuffix(const QString &suffix)
{
    return suffix + QStringLiteral(".XXXXXX");
}

// The folder path of the selected item (name1 ... name5) and the current level, as the editor set
// them last. Every file operation builds its path from them at the moment of the call.
class MacroSelection
{
public:
    void setNames(const QStringList &names); // missing entries become empty
    void setLevel(const QString &level) { levelText = level; }

    int level() const { return levelText.toInt(); }
    // name1 + ... + name<count> without separator: the catalogue's group names.
    QString joinedNames(int count) const;

    // "./modules/macro/" + name1/.../nameL/ for L = 0 ... 5. Empty for another level or when one
    // of the folder names could leave the library.
    QString folderPart(int level) const;
    // The macro file and the folder called `name` at `level`; empty when unusable.
    QString macroPath(int level, const QString &name) const;
    QString folderPath(int level, const QString &name) const;

private:
    std::array<QString, kMacroMaxLevel> names;
    QString levelText;
};

enum class CreateResult {
    Created,
    Duplicate, // a folder of that name exists; nothing was changed
    Refused,   // unusable name or level
    Failed,    // the file system said no
};

class MacroFiles
{
public:
    explicit MacroFiles(const MacroSelection &selection) : selection(selection) {}
    explicit MacroFiles(MacroSelection &&) = delete; // it would outlive a temporary

    // A macro with no records and repeat 1; an existing file keeps its old records, unread.
    CreateResult createMacro(int level, const QString &name, uint index) const;
    // One level: the parent must exist.
    CreateResult createFolder(int level, const QString &name) const;
    // A failure when the macro was never created or its file could not be written.
    SaveResult save(int level, const QString &name, const QStringList &records,
                    const QVariant &repeat) const;
    // The records followed by the repeat count; empty when the macro does not exist.
    QStringList load(int level, const QString &name) const;
    bool removeMacro(int level, const QString &name) const;
    bool removeFolder(int level, const QString &name) const;
    // Never replaces an existing entry.
    bool rename(int level, bool folder, const QString &oldName, const QString &newName) const;

private:
    const MacroSelection &selection;
};

// Empties and removes `path`. Stops and returns false when a pass over the remaining entries
// changes nothing (an entry that cannot be removed); what could not be removed stays. Symbolic
// links are removed, never followed.
bool removeFolderTree(const QString &path);

// One event record: a type digit 0 ... 4, a comma, then a delay in milliseconds (type 0) or a key
// or button name.
bool isMacroRecord(const QString &record);
// Whether `path` holds a macro file that the library can read back: INI text with a total, a
// repeat count of 1 ... 65535 and as many well-formed records.
bool isMacroFile(const QString &path);
