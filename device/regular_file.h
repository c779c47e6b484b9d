#pragma once

// Reading a file a user can replace (the device table, the settings files): only a regular file
// within a bound is read, checked on what was opened, not on the name. A FIFO there would block
// the read for good, a link to a device would never end.

#include <QByteArray>
#include <QString>

enum class OpenedRead {
    Done,
    Unopenable, // missing, or not to be opened by this user
    NotRegular, // what was opened is a FIFO, a device, a socket or a folder
    TooLarge,   // more than the bound, also when it grew while it was read
    Unreadable,
};

// Opens `path` without blocking and reads it whole when what was opened is a regular file of at
// most `maxBytes`; `content` is left empty unless the result is Done.
OpenedRead readOpenedRegularFile(const QString &path, qint64 maxBytes, QByteArray &content);
