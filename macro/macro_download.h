#pragma once

#include "controller/device_context.h"

#include <QVariantList>

// The mouse keeps one 128-byte macro block per button; a button's index is its macro slot.
namespace macroblock
{
constexpr int kSize = 128;
constexpr uint kSlots = 12;
} // namespace macroblock

// Sends `bytes` (the block from offset 0, zero-padded, values taken as their low byte, anything
// past the block left out) to macro slot `index` with the command of the mouse's family. True only
// when the block reached the mouse.
bool sendMacroBlock(DeviceContext &context, const QVariantList &bytes, uint index);
