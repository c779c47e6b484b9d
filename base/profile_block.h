#pragma once

// The 560 family's 128-byte profile blocks: every byte the program writes, in one place, and how a
// block is read and sent. Every other byte keeps what the last read from the mouse left there,
// which is why a block whose read failed is never sent until a read succeeds.

#include "base/device_context.h"

#include <functional>

namespace profile_block
{
// Which blocks.
constexpr int kGunBlock = 0;              // the gun-button mask
constexpr int kColourfulColoursBlock = 0; // the eight colours of colourful models
constexpr int kLodBlock = 1;              // lift-off distance
constexpr int kSingleColoursBlock = 1;    // the eight colours of single-colour models
constexpr int kFirstStageBlock = 1;       // blocks 1..4 carry the DPI stage table
constexpr int kLastStageBlock = 4;
constexpr int kFirstEffectBlock = 1; // blocks 1..4 carry the lighting effect
constexpr int kLastEffectBlock = 4;
// Gun slot s (1..3) has block s + 1.
constexpr int gunSlotBlock(int slot)
{
    return slot + 1;
}
// Blocks 0 and 1 are used by every model; gun models use all of them, 2 ... 4 for the gun slots.
constexpr int kCommonBlocks = 2;
constexpr int blocksInUse(bool gunModel)
{
    return gunModel ? kProfileBlocks : kCommonBlocks;
}

// Which bytes.
constexpr int kGunMask = 2;           // 7, 15 or 31 for gun slot 1, 2 or 3
constexpr int kColourfulColours = 24; // 24..47: eight colours, R G B
constexpr int kFlags = 65;
constexpr uchar kLodEnableBit = 0x01;  // block 1: lift-off distance enabled
constexpr uchar kGunPatternBit = 0x04; // gun blocks: cleared whenever the slot's pattern is sent
constexpr int kEffect = 71;            // 71 mode, 72 brightness/second, 73 speed/extra
constexpr int kGunMarker = 78;
constexpr uchar kGunMarkerValue = 0xF0;
constexpr int kGunCount = 79; // shots, then X and Y per shot
constexpr int kGunX = 80;
constexpr int kGunY = 81;
constexpr int kHighRangeMaskX = 82; // "3389" sensor: stages whose code overflowed a byte
constexpr int kHighRangeMaskY = 83;
constexpr int kStageCodesX = 84;    // 84..91: one code per DPI stage
constexpr int kStageCodesY = 92;    // 92..99: the same codes for the second axis
constexpr int kStageMask = 100;     // bit i set: stage i in use
constexpr int kLodCode = 101;       // lift-off distance code
constexpr int kSingleColours = 104; // 104..127: eight colours, R G B

static_assert(kSingleColours + 24 == kProfileBlockSize, "the colours end the block");
static_assert(kStageCodesY + 8 == kStageMask, "two axes of eight stage codes end at the mask");
static_assert(kColourfulColours + 24 <= kFlags, "the colours stay clear of the flags");
} // namespace profile_block

namespace profile_block
{
// A change of the image: called with the number and the bytes of each block it changes. It may run
// on the link's thread, so it holds its values, not references to the caller's.
using Patch = std::function<void(int b, uchar *block)>;

// Reads block `b` from the mouse into the image, as a step of the link's queue: the answer
// outside a batch; inside one true when queued, and the result goes to the batch. A block that
// does not come whole leaves the image as it was and is marked unread.
bool read(DeviceContext &ctx, int b);
// The same without waiting, in a batch or not (a connect's reads); a failure goes to the link's
// next report (Hid_Thread::postReport).
void readLater(DeviceContext &ctx, int b);
// Changes blocks `first` ... `last` of the image with `patch` (none: nothing changes) and sends
// `first` ... `lastSent`. A block that is sent must be a true copy of the mouse's: when one of
// them is marked unread, or a step still holds one of the blocks, all of it runs as one step on
// the link's thread, which reads the unread blocks again, then changes and sends; when a block
// cannot be read, nothing is changed or sent. The result is the link's: a batch's write returns
// true when queued.
bool change(DeviceContext &ctx, int first, int last, int lastSent, const Patch &patch);
} // namespace profile_block
