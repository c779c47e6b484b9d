#pragma once

// The program's INI settings files (settings, profiles, macros, gun data) as QSettings objects
// that never lose a file. Qt's own INI writer, on a full disk, replaces the file with an empty or
// cut one and still reports success; these objects write the same text (ini_text.h), check that
// every byte reached the disk before the new file takes the old one's place, and never write
// through a link in a file's place.

#include "base/runtime_files.h"

#include <QSettings>

#include <memory>

// The format of every settings file the program writes.
QSettings::Format settingsFormat();

// A settings object over `path`. When `path` is not safe to read, the object works on an empty
// stand-in in a private temporary folder instead: the program runs on, nothing is read from the
// entry and nothing is written into it.
std::unique_ptr<QSettings> openSettingsFile(const QString &path);
QSettings *newSettingsFile(const QString &path); // the same, owned by the caller

// Writes what `settings` holds to its file and tells whether the file now holds exactly that;
// when not, the file holds what it held before and the changes stay pending for the next save. A
// link in the file's place is first replaced by a regular file with what it leads to. Call it
// with no group begun.
SaveResult saveSettings(QSettings &settings);

// Whether the text of a settings file reads without a damaged line (see ini::parse).
bool isWellFormedSettings(const QByteArray &content);
