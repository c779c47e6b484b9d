#include "base/runtime_files.h"

#include "device/regular_file.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>

#include <limits>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace
{

QString standInPath(const QString &path)
{
    static QTemporaryDir folder;
    static QSet<QString> reported;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!reported.contains(absolute)) {
        reported.insert(absolute);
        qDebug() << "settings file cannot be read:" << path << "- working on an empty stand-in";
    }
    QString name = absolute;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return folder.filePath(name);
}

// QSettings keeps parsed files in a process-wide cache and reads a file again only when its size
// or its modification time (in milliseconds) changed. A replacement of the same size written
// within the same tick would be missed, and the next write through the cache would bring the old
// content back: move the new file's time stamp on until the change shows, also on file systems
// with coarse time stamps.
void makeReplacementVisible(const QString &target, qint64 oldSize, const QDateTime &oldTime)
{
    for (const qint64 step : {1, 1000, 2000}) {
        const QFileInfo now(target);
        if (now.size() != oldSize || now.lastModified() != oldTime)
            return;
        QFile file(target);
        if (!file.open(QIODevice::ReadOnly) ||
            !file.setFileTime(oldTime.addMSecs(step), QFileDevice::FileModificationTime)) {
            qDebug() << "could not mark" << target << "as replaced";
            return;
        }
    }
}

} // namespace

FileState runtimeFileState(const QString &path, qint64 maxBytes)
{
    const QFileInfo info(path); // follows links: a link to /dev/zero is a device
    if (!info.exists())
        return info.isSymLink() ? FileState::NotRegular : FileState::Missing;
    if (!info.isFile())
        return FileState::NotRegular;
#ifdef Q_OS_UNIX
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return FileState::NotRegular;
#endif
    return info.size() > maxBytes ? FileState::TooLarge : FileState::Usable;
}

ReadResult readRegularFile(const QString &path, qint64 maxBytes, QByteArray &content)
{
    content.clear();
    const FileState state = runtimeFileState(path, maxBytes);
    if (state == FileState::Missing)
        return ReadResult::Missing;
    if (state == FileState::NotRegular)
        return ReadResult::NotRegular;
    if (state == FileState::TooLarge)
        return ReadResult::TooLarge;
    // The entry may have been swapped since the check: what was opened is looked at again.
    switch (readOpenedRegularFile(path, maxBytes, content)) {
    case OpenedRead::Done:
        return ReadResult::Done;
    case OpenedRead::NotRegular:
        return ReadResult::NotRegular;
    case OpenedRead::TooLarge:
        return ReadResult::TooLarge;
    case OpenedRead::Unopenable:
    case OpenedRead::Unreadable:
        break;
    }
    return ReadResult::Unreadable;
}

QSettings *newSettingsFile(const QString &path)
{
    if (isSafeToRead(runtimeFileState(path)))
        return new QSettings(path, QSettings::IniFormat);
    return new QSettings(standInPath(path), QSettings::IniFormat);
}

std::unique_ptr<QSettings> openSettingsFile(const QString &path)
{
    return std::unique_ptr<QSettings>(newSettingsFile(path));
}

bool replaceFileWith(const QByteArray &content, const QString &target)
{
    // A FIFO, device or link to one in the file's place is no content to keep; the save would go
    // through the link or fail on the device.
    if (runtimeFileState(target, std::numeric_limits<qint64>::max()) == FileState::NotRegular &&
        !QFileInfo(target).isDir() && !QFile::remove(target))
        return false;
    const QFileInfo before(target);
    const bool existed = before.exists();
    const qint64 oldSize = before.size();
    const QDateTime oldTime = before.lastModified();

    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(content) != content.size()) {
        out.cancelWriting();
        return false;
    }
    if (!out.commit())
        return false;
    if (existed)
        makeReplacementVisible(target, oldSize, oldTime);
    return true;
}

bool replaceFileWithCopy(const QString &source, const QString &target)
{
    QByteArray content;
    if (readRegularFile(source, kRuntimeFileMaxBytes, content) != ReadResult::Done)
        return false;
    return replaceFileWith(content, target);
}

bool sweepStaleTemporaries()
{
    // QSaveFile's and QSettings' names for a file "<name>.bin": "<name>.bin.XXXXXX" (six letters
    // or digits, where the file system cannot make unnamed files), "<name>.bin.lock" and what
    // removing a stale lock adds ("<name>.bin.lock.rmlock", and again for that one).
    static const QRegularExpression temporary(
        QStringLiteral("\\.bin\\.([A-Za-z0-9]{6}|lock(\\.rmlock)*)$"));
    bool removedAll = true;
    const struct {
        const char *folder;
        bool subfolders;
    } places[] = {
        {"./modules/setting", false}, {"./modules/gun", false}, {"./modules/macro", true}};
    for (const auto &place : places) {
        QDirIterator it(
            QString::fromLatin1(place.folder), QDir::Files | QDir::Hidden | QDir::System,
            place.subfolders ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!temporary.match(it.fileName()).hasMatch())
                continue;
            if (QFile::remove(path)) {
                qDebug() << "removed a temporary file left by an interrupted write:" << path;
            } else {
                qDebug() << "could not remove a temporary file left by an interrupted write:"
                         << path;
                removedAll = false;
            }
        }
    }
    return removedAll;
}

QVariantList storedList(const QVariant &value)
{
    if (!value.isValid())
        return {};
    const int type = value.typeId();
    if (type == QMetaType::QVariantList || type == QMetaType::QStringList)
        return value.toList();
    return {value};
}
