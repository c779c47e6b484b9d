#include "base/runtime_files.h"

#include "device/regular_file.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

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

QString SaveResult::message() const
{
    return file + QStringLiteral(": ") + reason;
}

SaveResult replaceFileWith(const QByteArray &content, const QString &target)
{
    const QFileInfo before(target);
    if (before.isDir() && !before.isSymLink())
        return {target, QCoreApplication::translate("RuntimeFiles", "it is a folder")};
    // A regular file of its own; what a link leads to is not ours to keep.
    const bool existed = before.isFile() && !before.isSymLink();
    const qint64 oldSize = before.size();
    const QDateTime oldTime = before.lastModified();

    // Named so that the start-up sweep finds it if the program dies before the rename.
    QTemporaryFile out(target + QStringLiteral(".XXXXXX"));
    const auto failed = [&](const QString &reason) {
        qDebug() << "could not write" << target << "-" << reason;
        return SaveResult{target, reason};
    };
    if (!out.open())
        return failed(out.errorString());
    // QFileDevice buffers small writes, and a failing flush on a full disk does not show in the
    // count that write() returns: the flush and the sync are checked one by one.
    if (out.write(content) != content.size() || !out.flush())
        return failed(out.errorString());
#ifdef Q_OS_UNIX
    if (::fsync(out.handle()) != 0)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    // The old file's permissions, or those of a new settings file.
    const QFile::Permissions permissions =
        existed ? before.permissions()
                : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    out.setPermissions(permissions);
    out.close();
    // rename(2) replaces the entry itself: a link there is not followed.
    if (::rename(QFile::encodeName(out.fileName()).constData(),
                 QFile::encodeName(target).constData()) != 0)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    out.setAutoRemove(false);
#else
    out.close();
    if (!QFile::remove(target) && QFileInfo::exists(target))
        return failed(QStringLiteral("the old file cannot be replaced"));
    if (!out.rename(target))
        return failed(out.errorString());
    out.setAutoRemove(false);
#endif
    if (existed)
        makeReplacementVisible(target, oldSize, oldTime);
    return {};
}

SaveResult readForCopy(const QString &source, const QString &target, QByteArray &content)
{
    if (readRegularFile(source, kRuntimeFileMaxBytes, content) == ReadResult::Done)
        return {};
    qDebug() << "could not copy" << source << "to" << target << "- it cannot be read";
    return {target, QCoreApplication::translate("RuntimeFiles", "%1 cannot be read")
                        .arg(QFileInfo(source).fileName())};
}

SaveResult replaceFileWithCopy(const QString &source, const QString &target)
{
    QByteArray content;
    if (SaveResult read = readForCopy(source, target, content); !read)
        return read;
    return replaceFileWith(content, target);
}

namespace {

bool isAsciiLetterOrDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
}

// QSaveFile's and QSettings' names for a file "<name>.bin": "<name>.bin.XXXXXX" (six letters or
// digits, where the file system cannot make unnamed files), "<name>.bin.lock" and what removing a
// stale lock adds ("<name>.bin.lock.rmlock", and again for that one). Matched by hand: a regular
// expression here would map its whole engine at every start for one folder walk.
bool isStaleTemporaryName(QStringView name)
{
    const qsizetype bin = name.lastIndexOf(QLatin1String(".bin."));
    if (bin < 0)
        return false;
    QStringView rest = name.mid(bin + 5);
    if (rest.size() == 6 && std::all_of(rest.begin(), rest.end(), isAsciiLetterOrDigit))
        return true;
    if (!rest.startsWith(QLatin1String("lock")))
        return false;
    rest = rest.mid(4);
    while (rest.startsWith(QLatin1String(".rmlock")))
        rest = rest.mid(7);
    return rest.isEmpty();
}

} // namespace

bool sweepStaleTemporaries()
{
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
            if (!isStaleTemporaryName(it.fileName()))
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
