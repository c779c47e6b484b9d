#pragma once

// The text of the program's settings files: INI exactly as Qt's own INI format writes and reads
// it, so files of every earlier version, the factory files and files edited by hand read as
// before, and what the program writes reads back in any QSettings. It exists because the program
// writes its files itself (see settings_file.h): Qt's writer, on a full disk, replaces a good file
// with an empty one and reports success.

#include <QByteArray>
#include <QSettings>
#include <QStringList>

namespace ini
{

// Reads every entry of `data` into `map` (keys as "section/key", entries of [General] without a
// section). False when a line is neither
// an entry, a section nor a comment, or a section is not closed; the other entries are read all
// the same, as QSettings does.
bool parse(const QByteArray &data, QSettings::SettingsMap &map);

// The text of `map`: sections and their keys sorted by name. A value reads back as the same string, string list
// or special value (byte array, geometry, other types through QDataStream).
QByteArray serialize(const QSettings::SettingsMap &map);

} // namespace ini
