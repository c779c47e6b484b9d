#include "base/data_folder.h"

#include "base/settings_file.h"

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{

const QString kModules = QStringLiteral("/modules/");

// Files the user changes through the program: kept, only completed with new keys.
bool isUserSettings(const QString &relative)
{
    const QString top = relative.section(QLatin1Char('/'), 0, 0);
    const QString suffix = QFileInfo(relative).suffix();
    return (top == QLatin1String("setting") || top == QLatin1String("gun")) &&
           (suffix == QLatin1String("bin") || suffix == QLatin1String("ini"));
}

// Files of the installed version that the program never writes.
bool isFactoryOwned(const QString &relative)
{
    const QString top = relative.section(QLatin1Char('/'), 0, 0);
    return top == QLatin1String("i18n") || top == QLatin1String("img");
}

// The device table of apConfig.bin: "[0]" ... "[n]" and their count.
bool isDeviceTableKey(const QString &key)
{
    bool numbered = false;
    key.section(QLatin1Char('/'), 0, 0).toInt(&numbered);
    return (numbered && key.contains(QLatin1Char('/'))) ||
           key == QLatin1String("common/deviceCount");
}

enum class Merge { Unchanged, Merged, Kept };

Merge mergeKeys(const QString &factory, const QString &user, bool withDeviceTable)
{
    QByteArray content;
    if (readRegularFile(user, kRuntimeFileMaxBytes, content) != ReadResult::Done)
        return Merge::Kept; // the start-up check names it
    if (runtimeFileState(factory) != FileState::Usable)
        return Merge::Kept;
    // Worked on a copy: the user's file is replaced whole, or not at all.
    QTemporaryDir work;
    const QString copy = work.filePath(QStringLiteral("merge.ini"));
    if (!work.isValid() || !replaceFileWith(content, copy))
        return Merge::Kept;
    QSettings mine(copy, settingsFormat());
    const QSettings installed(factory, settingsFormat());

    int changes = 0;
    if (withDeviceTable) {
        for (const QString &key : mine.allKeys()) {
            if (isDeviceTableKey(key) && !installed.contains(key)) {
                mine.remove(key);
                ++changes;
            }
        }
    }
    for (const QString &key : installed.allKeys()) {
        const QVariant value = installed.value(key);
        if (!mine.contains(key) ||
            (withDeviceTable && isDeviceTableKey(key) && mine.value(key) != value)) {
            mine.setValue(key, value);
            ++changes;
        }
    }
    if (changes == 0)
        return Merge::Unchanged;
    if (!saveSettings(mine) || !replaceFileWithCopy(copy, user))
        return Merge::Kept;
    return Merge::Merged;
}

bool sameContent(const QString &a, const QString &b)
{
    QByteArray one;
    QByteArray two;
    return readRegularFile(a, kRuntimeFileMaxBytes, one) == ReadResult::Done &&
           readRegularFile(b, kRuntimeFileMaxBytes, two) == ReadResult::Done && one == two;
}

} // namespace

bool isWritableFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isWritable())
        return false;
#ifdef Q_OS_UNIX
    const QFile::Permissions mode = info.permissions();
    if (info.ownerId() == uint(geteuid()))
        return mode.testFlag(QFile::WriteOwner);
    if (info.groupId() == uint(getegid()))
        return mode.testFlag(QFile::WriteGroup);
    gid_t groups[256];
    const int count = getgroups(256, groups);
    for (int i = 0; i < count; ++i) {
        if (info.groupId() == uint(groups[i]))
            return mode.testFlag(QFile::WriteGroup);
    }
    return mode.testFlag(QFile::WriteOther);
#else
    return true;
#endif
}

DataFolderReport fillDataFolder(const QString &factoryFolder, const QString &userFolder)
{
    DataFolderReport report;
    const QString from = factoryFolder + kModules;
    const QString to = userFolder + kModules;
    QDirIterator files(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString relative = source.mid(from.size());
        const QString target = to + relative;
        if (runtimeFileState(target) == FileState::Missing) {
            // A dangling link counts as present (NotRegular): nothing is written through it.
            if (QDir().mkpath(QFileInfo(target).absolutePath()) &&
                replaceFileWithCopy(source, target))
                report.copied << relative;
            else
                report.failed << relative;
        } else if (isUserSettings(relative)) {
            const bool withTable = relative == QLatin1String("setting/apConfig.bin");
            switch (mergeKeys(source, target, withTable)) {
            case Merge::Merged:
                report.merged << relative;
                break;
            case Merge::Kept:
                report.kept << relative;
                break;
            case Merge::Unchanged:
                break;
            }
        } else if (isFactoryOwned(relative) && !sameContent(source, target)) {
            if (replaceFileWithCopy(source, target))
                report.renewed << relative;
            else
                report.kept << relative;
        }
    }
    return report;
}

bool isSystemFolder(const QString &folder)
{
    const QString path = QFileInfo(folder).canonicalFilePath() + QLatin1Char('/');
    return path.startsWith(QLatin1String("/usr/")) &&
           !path.startsWith(QLatin1String("/usr/local/"));
}

namespace
{

bool worksBesideProgram(const QString &programFolder)
{
    const QString settings = programFolder + QStringLiteral("/modules/setting");
    return !isSystemFolder(programFolder) && isWritableFolder(programFolder) &&
           (!QFileInfo(settings).exists() || isWritableFolder(settings));
}

} // namespace

QString prepareDataFolder(const QString &programFolder, const QString &userFolder,
                          DataFolderReport *report)
{
    if (worksBesideProgram(programFolder))
        return programFolder;

    DataFolderReport filled;
    if (!QDir().mkpath(userFolder)) {
        filled.failed << userFolder;
    } else {
        filled = fillDataFolder(programFolder, userFolder);
    }
    for (const QString &file : filled.merged)
        qDebug() << "data folder: new keys of the installed version added to" << file;
    for (const QString &file : filled.kept)
        qDebug() << "data folder: could not bring" << file << "up to date - left as it was";
    for (const QString &file : filled.failed)
        qDebug() << "data folder: could not copy" << file << "into" << userFolder;
    if (report)
        *report = filled;
    return filled.ok() ? userFolder : QString();
}

QString existingDataFolder(const QString &programFolder, const QString &userFolder)
{
    if (worksBesideProgram(programFolder) ||
        !QFileInfo::exists(userFolder + QStringLiteral("/modules/setting")))
        return programFolder;
    return userFolder;
}
