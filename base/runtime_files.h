#pragma once

// The files the program reads at run time (settings, language files, gun data) are plain files a
// user can replace. Whatever stands in their place must not hang the program (a FIFO blocks the
// first read, a link to /dev/zero never ends) or exhaust its memory (a huge file).

#include <QByteArray>
#include <QString>

#include <memory>

class QSettings;

// Far beyond any file the program writes (a profile is about 2 KB, a large macro catalogue some
// hundred KB); a bigger one is no file of ours.
constexpr qint64 kRuntimeFileMaxBytes = 4 << 20;
// An imported profile: a copy of a 2 KB profile file.
constexpr qint64 kProfileFileMaxBytes = 1 << 20;

enum class FileState {
    Missing,
    Usable,     // a regular file within the size bound
    NotRegular, // a FIFO, a device, a socket or a folder
    TooLarge,
};

FileState runtimeFileState(const QString &path, qint64 maxBytes = kRuntimeFileMaxBytes);
// Missing files read as empty; both are safe to hand to QSettings.
inline bool isSafeToRead(FileState state)
{
    return state == FileState::Missing || state == FileState::Usable;
}

enum class ReadResult { Done, Missing, NotRegular, TooLarge, Unreadable };
// Reads a regular file of at most `maxBytes`, never blocking on what is not a regular file.
ReadResult readRegularFile(const QString &path, qint64 maxBytes, QByteArray &content);

// An INI settings object over `path`. When `path` is not safe to read, the object works on an
// empty stand-in in a private temporary folder instead: the program runs on, nothing is read from
// the entry and nothing is written into it.
std::unique_ptr<QSettings> openSettingsFile(const QString &path);
QSettings *newSettingsFile(const QString &path); // the same, owned by the caller

// Writes `content` over `target` through a temporary file in the target's folder, so that a failed
// or interrupted write never leaves the target missing or half-written. The replacement is made
// visible to QSettings' cache of parsed files even when it has the old size and time stamp.
bool replaceFileWith(const QByteArray &content, const QString &target);
// The same with the content of `source`, which must be a regular file within the runtime bound.
bool replaceFileWithCopy(const QString &source, const QString &target);

// A write killed before its end leaves its QSettings lock ("<file>.lock", "<file>.lock.rmlock")
// and, where the file system cannot make unnamed files, its temporary file ("<file>.XXXXXX") in
// the data folders. Removes them from ./modules/setting,
// ./modules/gun and the macro library; only at start-up, when no other instance can be writing.
// False when one of them could not be removed.
bool sweepStaleTemporaries();

// A stored value as a list: a list as it is, a single value as a list of one (QSettings writes a
// list of one as a plain value), nothing as an empty list.
QVariantList storedList(const QVariant &value);
