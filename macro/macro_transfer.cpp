#include "macro/macro_transfer.h"

#include "base/settings_store.h"
#include "macro/macro_catalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace
{

QString exchangeSuffix()
{
    return QStringLiteral(".mc");
}

bool sameFolder(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// One walk over a folder tree, down to depth 5 for files and 4 for folders. A batch import copies
// what it finds into the library; a re-scan only lists it.
struct TreeWalk {
    TreeWalk(MacroBatch &batch, QString filePattern, bool copy)
        : batch(batch), filePattern(std::move(filePattern)), copy(copy)
    {
    }

    MacroBatch &batch;
    QString filePattern;
    bool copy;
    // Catalogue group of every folder found, by the depth of the list that holds it.
    std::array<QStringList, MacroBatch::kFolderDepths + 1> groups;
    int refused = 0;

    void run(const QString &source, const QString &target, const QString &group, int depth);
    bool takeFile(const QFileInfo &file, const QString &target, const QString &base);
};

bool TreeWalk::takeFile(const QFileInfo &file, const QString &target, const QString &base)
{
    if (!copy)
        return true;
    if (!isMacroFile(file.filePath())) {
        ++refused;
        return false;
    }
    const QString to = target + QLatin1Char('/') + base + macroSuffix();
    // An existing macro is kept; it still belongs to the imported folder.
    const QFileInfo existing(to);
    if (existing.isFile() && !existing.isSymLink())
        return true;
    if (!existing.exists() && !existing.isSymLink() && replaceFileWithCopy(file.filePath(), to))
        return true;
    ++refused;
    return false;
}

void TreeWalk::run(const QString &source, const QString &target, const QString &group, int depth)
{
    const QDir dir(source);
    QSet<QString> listed;
    const QFileInfoList files =
        dir.entryInfoList({filePattern}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &file : files) {
        const QString base = file.baseName();
        if (!isUsableName(base, savedFileSuffix(macroSuffix()))) {
            ++refused;
            continue;
        }
        // "a.x.mc" and "a.y.mc" both become the macro "a"; the first one wins.
        if (listed.contains(base) || !takeFile(file, target, base))
            continue;
        listed.insert(base);
        batch.files[depth].append(base);
    }
    if (depth > MacroBatch::kFolderDepths)
        return;
    // Linked folders are not followed: a link to "/" would mirror the whole system.
    const QFileInfoList folders = dir.entryInfoList(
        QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &folder : folders) {
        const QString name = folder.fileName();
        if (!isUsableName(name)) {
            ++refused;
            continue;
        }
        const QString to = target + QLatin1Char('/') + name;
        if (copy && !QDir().mkdir(to) && !QFileInfo(to).isDir()) {
            ++refused;
            continue;
        }
        batch.folders[depth].append(name);
        groups[depth].append(group + name);
        run(folder.filePath(), to, group + name, depth + 1);
    }
}

} // namespace

void MacroBatch::clearLists()
{
    for (QStringList &list : files)
        list.clear();
    for (QStringList &list : folders)
        list.clear();
}

QStringList MacroBatch::names(int depth, int kind) const
{
    if (kind == 0)
        return depth >= 1 && depth <= kFileDepths ? files[depth] : QStringList();
    return depth >= 1 && depth <= kFolderDepths ? folders[depth] : QStringList();
}

TransferResult MacroTransfer::importMacro(int level, int selectType,
                                          const QString &chosenFile) const
{
    if (chosenFile.isEmpty())
        return {};
    const QString base = QFileInfo(chosenFile).baseName();
    if (!isUsableName(base, savedFileSuffix(macroSuffix())))
        return {QString(), TransferStatus::BadName};
    QString folder;
    if (selectType == 0 || level == -1) {
        folder = macroRoot();
    } else if (level >= 0 && level < kMacroMaxLevel) {
        folder = selection.folderPart(level + 1);
        if (folder.isEmpty())
            return {QString(), TransferStatus::BadName};
    } else {
        return {base, TransferStatus::NoTarget};
    }
    if (!isMacroFile(chosenFile))
        return {QString(), TransferStatus::NotMacroFile};
    const QString target = folder + base + macroSuffix();
    const QFileInfo existing(target);
    if (existing.exists() || existing.isSymLink())
        return {base, TransferStatus::Exists};
    if (const SaveResult copied = replaceFileWithCopy(chosenFile, target); !copied)
        return {QString(), TransferStatus::Failed, copied.message()};
    return {base, TransferStatus::Done};
}

QString MacroTransfer::exportTarget(const QString &chosen)
{
    // A name typed without the suffix would be invisible to the import's "*.mc" filter.
    if (chosen.isEmpty() || chosen.endsWith(exchangeSuffix(), Qt::CaseInsensitive))
        return chosen;
    return chosen + exchangeSuffix();
}

SaveResult MacroTransfer::exportMacro(int level, const QString &name, const QString &target) const
{
    const QString source = selection.macroPath(level, name);
    if (source.isEmpty() || target.isEmpty() || !QFileInfo(source).isFile())
        return {exportTarget(target), QStringLiteral("no such macro")};
    return replaceFileWithCopy(source, exportTarget(target));
}

TransferResult MacroTransfer::chooseBatchSource(const QString &chosenFolder,
                                                const QString &desktop) const
{
    batch.sourcePath.clear();
    batch.sourceName.clear();
    if (chosenFolder.isEmpty())
        return {};
    const QString name = QFileInfo(chosenFolder).baseName();
    if (name == QLatin1String("Desktop") || sameFolder(chosenFolder, desktop))
        return {QString(), TransferStatus::Refused};
    if (!isUsableName(name))
        return {QString(), TransferStatus::BadName};
    const QString target = macroRoot() + name;
    if (!QDir().mkdir(target) && !QFileInfo(target).isDir())
        return {QString(), TransferStatus::Failed};
    batch.sourcePath = chosenFolder;
    batch.sourceName = name;
    return {name, TransferStatus::Done};
}

int MacroTransfer::importBatch() const
{
    batch.clearLists();
    if (batch.sourcePath.isEmpty() || batch.sourceName.isEmpty())
        return 0;
    TreeWalk walk(batch, QStringLiteral("*") + exchangeSuffix(), true);
    walk.run(batch.sourcePath, macroRoot() + batch.sourceName, QString(), 1);
    return walk.refused;
}

void MacroTransfer::rescan(const QString &currentName, int currentLevel, int deleteLevel,
                           const MacroCatalogue &catalogue) const
{
    batch.clearLists();
    if (currentLevel < 0 || currentLevel >= kMacroMaxLevel)
        return;
    const QString path = selection.folderPath(currentLevel, currentName);
    if (path.isEmpty())
        return;
    batch.scanTopName = QFileInfo(path).baseName();
    const QString top = selection.joinedNames(currentLevel) + currentName;
    TreeWalk walk(batch, QStringLiteral("*") + macroSuffix(), false);
    walk.run(path, QString(), top, 1);

    // A folder listed at depth j holds items of depth j + 1; deleting an item of level d makes
    // the groups of depth d + 1 and below stale.
    if (deleteLevel == 0)
        catalogue.removeGroup(top);
    for (int j = 1; j <= 3; ++j) {
        if (deleteLevel < 0 || deleteLevel > j)
            continue;
        for (const QString &group : walk.groups[j])
            catalogue.removeGroup(group);
    }
}

bool MacroTransfer::chooseExportFolder(const QString &chosenFolder) const
{
    if (chosenFolder.isEmpty())
        return false;
    const QString target = QDir::cleanPath(chosenFolder + QStringLiteral("/Macro"));
    if (!QDir().mkdir(target) && !QFileInfo(target).isDir()) {
        batch.exportPath.clear();
        return false;
    }
    batch.exportPath = target;
    return true;
}

SaveResult MacroTransfer::exportLevel(int level, const QStringList &names,
                                      const QList<int> &kinds) const
{
    SaveResult first;
    if (batch.exportPath.isEmpty())
        return first;
    const QString part = selection.folderPart(level);
    if (part.isEmpty())
        return first;
    const QString relative = part.mid(macroRoot().size());
    const QString exportFolder = batch.exportPath + QLatin1Char('/') + relative;
    for (int i = 0; i < names.size() && i < kinds.size(); ++i) {
        const QString &name = names.at(i);
        if (kinds.at(i) == 0) {
            if (isUsableName(name, savedFileSuffix(macroSuffix())) &&
                isUsableName(name, savedFileSuffix(exchangeSuffix())))
            {
                const SaveResult copied = replaceFileWithCopy(
                    part + name + macroSuffix(), exportFolder + name + exchangeSuffix());
                if (!copied && first)
                    first = copied;
            }
        } else if (isUsableName(name)) {
            QDir().mkdir(exportFolder + name);
        }
    }
    return first;
}
