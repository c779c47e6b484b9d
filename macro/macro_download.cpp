#include "macro/macro_download.h"

#include "base/byte_values.h"

#include <QDebug>

#include <algorithm>
#include <iterator>

bool fillMacroBlock(const QVariantList &bytes, uchar (&block)[macroblock::kSize])
{
    if (!fitsMacroBlock(bytes))
        return false;
    std::fill(std::begin(block), std::end(block), uchar(0));
    for (int i = 0; i < bytes.size(); ++i)
        block[i] = lowByte(bytes.at(i));
    return true;
}

bool sendMacroBlock(DeviceContext &context, const QVariantList &bytes, uint index)
{
    const uint slot = index & 0xFF;
    uchar block[macroblock::kSize] = {};
    if (slot >= macroblock::kSlots || !context.link || !fillMacroBlock(bytes, block))
        return false;
    const auto macroId = uchar(slot + 1);
    return context.byFamily(&Hid_Thread::hid553_13H_SetMacroKey,
                            &Hid_Thread::hid560_0FH_SetMacroKey, macroId, +block);
}
