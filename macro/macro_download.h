#pragma once

#include "base/device_context.h"

#include <QVariantList>

// The mouse keeps one 128-byte macro block per button; a button's index is its macro slot.
namespace macroblock
{
constexpr int kSize = 128;
constexpr uint kSlots = 12;
} // namespace macroblock

// Sends `bytes` (the block from offset 0, zero-padded, values taken as their low byte) to macro
// slot `index` with the command of the mouse's family. True only when the whole block reached the
// mouse; false when the slot does not exist, there is no device link, the bytes do not fit the
// block (cut short, a block loses its terminator and the mouse may play presses without their
// releases) or the write failed.
bool sendMacroBlock(DeviceContext &context, const QVariantList &bytes, uint index);
inline bool fitsMacroBlock(const QVariantList &bytes)
{
    return bytes.size() <= macroblock::kSize;
}
// The block sendMacroBlock sends for `bytes`; false, and `block` left alone, when they do not fit.
bool fillMacroBlock(const QVariantList &bytes, uchar (&block)[macroblock::kSize]);
