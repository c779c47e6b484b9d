#pragma once

// The profile files p1.bin ... p10.bin: export to and import from ".pf" files (plain byte copies
// of a profile file), reset from pD.bin and copy of one slot over another. Also the layout of the
// 560 family's 128-byte profile blocks, which several features patch.

#include "controller/device_context.h"

#include <QString>

// Offsets into one 128-byte profile block of the 560 family. Only the bytes the program writes are
// named; every other byte keeps what the last read from the mouse left there.
namespace profile_block
{
constexpr int kGunMask = 2;   // block 0: 7, 15 or 31 for gun slot 1, 2 or 3
constexpr int kLodFlags = 65; // block 1, bit 0: lift-off distance enabled
constexpr uchar kLodEnableBit = 0x01;
constexpr int kHighRangeMaskX = 82; // "3389" sensor: stages whose code overflowed a byte
constexpr int kHighRangeMaskY = 83;
constexpr int kStageCodesX = 84;    // 84..91: one code per DPI stage
constexpr int kStageCodesY = 92;    // 92..99: the same codes for the second axis
constexpr int kStageMask = 100;     // bit i set: stage i in use
constexpr int kLodCode = 101;       // block 1: lift-off distance code
constexpr int kFirstStageBlock = 1; // blocks 1..4 carry the DPI stage table
constexpr int kLastStageBlock = 4;
constexpr int kLodBlock = 1;
constexpr int kGunBlock = 0;

static_assert(kLodCode < kProfileBlockSize, "profile block offsets must fit the block");
static_assert(kStageCodesY + 8 == kStageMask, "two axes of eight stage codes end at the mask");
} // namespace profile_block

class Profiles
{
public:
    explicit Profiles(DeviceContext &context) : ctx(context) {}

    static bool isSlot(int slot) { return slot >= 0 && slot < SettingsStore::kProfileCount; }
    // isSlot, with a debug line naming `operation` when the slot does not exist.
    static bool checkSlot(const char *operation, int slot);

    // Replaces slot `slot` by a copy of `file`. False (and the old file kept) when the slot does
    // not exist or the copy cannot be made.
    bool importFile(int slot, const QString &file);
    // Writes a copy of slot `slot` to `file`, replacing a file of that name.
    bool exportFile(int slot, const QString &file);
    // Replaces slot `slot` by a copy of the factory profile.
    bool reset(int slot);
    // Replaces slot `dest` by a copy of slot `src`; copying a slot onto itself leaves it as it is.
    bool copy(int dest, int src);

private:
    DeviceContext &ctx;
};
