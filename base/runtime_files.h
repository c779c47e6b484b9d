#pragma once

// The files the program reads at run time (settings, language files, gun data) are plain files a
// user can replace. Whatever stands in their place must not hang the program (a FIFO blocks the
// first read, a link to /dev/zero never ends) or exhaust its memory (a huge file).

#include <QByteArray>
#include <QString>
#include <QVariant>


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

// What became of a write. A file that was not written holds what it held before, byte for byte.
struct SaveResult {
    QString file;   // the file that could not be written; empty when the write was done
    QString reason; // why, in the system's words ("No space left on device")

    bool ok() const { return file.isEmpty() && reason.isEmpty(); }
    explicit operator bool() const { return ok(); }
    // "<file>: <reason>", for the debug output and the user.
    QString message() const;
};

// Writes `content` over `target` through a temporary file in the target's folder, written whole
// and synced before it takes the target's name, so that a failed or interrupted write (a full
// disk included) never leaves the target missing, empty or half-written. A link in the target's
// place is replaced, never followed: the write stays in the folder it was meant for. The
// replacement is made visible to QSettings' cache of parsed files even when it has the old size
// and time stamp.
SaveResult replaceFileWith(const QByteArray &content, const QString &target);
// The same with the content of `source`, which must be a regular file within the runtime bound.
SaveResult replaceFileWithCopy(const QString &source, const QString &target);
// Reads `source` for a copy to `target`; when it cannot, the copy's failure.
SaveResult readForCopy(const QString &source, const QString &target, QByteArray &content);

// A write killed before its end leaves its QSettings lock ("<file>.lock", "<file>.lock.rmlock")
// and, where the file system cannot make unnamed files, its temporary file ("<file>.XXXXXX") in
// the data folders. Removes them from ./modules/setting,
// ./modules/gun and the macro library; only at start-up, when no other instance can be writing.
// False when one of them could not be removed.
bool sweepStaleTemporaries();

// A stored value as a list: a list as it is, a single value as a list of one (QSettings writes a
// list of one as a plain value), nothing as an empty list.
QVariantList storedList(const QVariant &value);
