#pragma once

// The profile files p1.bin ... p10.bin: export to and import from ".pf" files (plain byte copies
// of a profile file), reset from pD.bin and copy of one slot over another.

#include "base/device_context.h"
#include "base/profile_block.h"

#include <QString>

class Profiles
{
public:
    explicit Profiles(DeviceContext &context) : ctx(context) {}

    static bool isSlot(int slot) { return slot >= 0 && slot < SettingsStore::kProfileCount; }
    // isSlot, with a debug line naming `operation` when the slot does not exist.
    static bool checkSlot(const char *operation, int slot);

    // Replaces slot `slot` by a copy of `file`. False (and the old file kept) when the slot does
    // not exist, the file is no profile (see isProfile) or the copy cannot be made; `refusal` then
    // says why, for the user.
    bool importFile(int slot, const QString &file, QString *refusal = nullptr);
    // A regular file of at most kProfileFileMaxBytes that reads as INI with the groups every
    // profile has.
    static bool isProfile(const QByteArray &content);
    // Writes a copy of slot `slot`, its changes saved first, to `file`, replacing a file of that
    // name.
    SaveResult exportFile(int slot, const QString &file);
    // Replaces slot `slot` by a copy of the factory profile.
    SaveResult reset(int slot);
    // Replaces slot `dest` by a copy of slot `src`, its changes saved first; copying a slot onto
    // itself leaves it as it is.
    SaveResult copy(int dest, int src);

private:
    DeviceContext &ctx;
};
