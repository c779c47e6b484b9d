#pragma once

// Exchange of macros as ".mc" files (a macro file under another extension, copied byte for byte):
// one macro at a time, a whole folder tree into the library, and the library's tree out of it.
// The caller chooses the paths; nothing here shows a dialog.

#include "base/runtime_files.h"
#include "macro/macro_files.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

class MacroCatalogue;

// What a batch import or a re-scan found, by depth (1 = the folder's own contents). Each list
// holds base names of all folders of that depth together, in scan order.
struct MacroBatch {
    static constexpr int kFileDepths = 5;
    static constexpr int kFolderDepths = 4;

    QString sourcePath;                                 // folder chosen for a batch import
    QString sourceName;                                 // its library folder below the root
    QString exportPath;                                 // chosen export folder + "/Macro"
    QString scanTopName;                                // the folder last re-scanned
    std::array<QStringList, kFileDepths + 1> files;     // index 1 ... 5
    std::array<QStringList, kFolderDepths + 1> folders; // index 1 ... 4

    void clearLists();
    // kind 0 = files, other = folders; empty outside the depths above.
    QStringList names(int depth, int kind) const;
};

enum class TransferStatus {
    Done,
    Cancelled,    // no path was chosen
    Refused,      // a choice that is not taken (the desktop itself for a batch import)
    Exists,       // the target was there already and is left alone
    NoTarget,     // the level names no folder; nothing copied
    BadName,      // a name that would leave its folder (see nameProblem)
    NotMacroFile, // the chosen file is not a macro file
    Failed,       // the file system said no
};

struct TransferResult {
    QString name; // what the editor adds to its tree; empty when nothing should be added
    TransferStatus status = TransferStatus::Cancelled;
    QString reason = {}; // Failed: why, in the system's words
};

class MacroTransfer
{
public:
    MacroTransfer(const MacroSelection &selection, MacroBatch &batch)
        : selection(selection), batch(batch)
    {
    }
    MacroTransfer(MacroSelection &&, MacroBatch &) = delete; // it would outlive a temporary

    // Copies `chosenFile` into the selected folder (`selectType` not 0: the folder at `level`
    // + 1, or the root for level -1) or into the root (`selectType` 0), named after the file's
    // name up to its first dot. Never overwrites.
    TransferResult importMacro(int level, int selectType, const QString &chosenFile) const;
    // Replaces `target` (with ".mc" added when it lacks it) with a copy of the macro; an old
    // target stays when the copy fails.
    SaveResult exportMacro(int level, const QString &name, const QString &target) const;
    static QString exportTarget(const QString &chosen);

    // Takes `chosenFolder` as the batch source and creates its library folder. The desktop
    // itself is refused.
    TransferResult chooseBatchSource(const QString &chosenFolder, const QString &desktop) const;
    // Copies the source tree's macro files down to depth 5 into the library and fills the depth
    // lists. Returns how many entries were refused (unusable names, not macro files) or could not
    // be created.
    int importBatch() const;
    // Re-fills the depth lists from a library folder and clears stale catalogue groups.
    void rescan(const QString &currentName, int currentLevel, int deleteLevel,
                const MacroCatalogue &catalogue) const;

    // Creates `chosenFolder`/Macro as the batch export folder.
    bool chooseExportFolder(const QString &chosenFolder) const;
    // Exports the items of one folder at `level` (kinds: 0 macro, other folder); the first copy
    // that could not be written, after trying all.
    SaveResult exportLevel(int level, const QStringList &names, const QList<int> &kinds) const;

private:
    const MacroSelection &selection;
    MacroBatch &batch;
};
