#include "macro/macro_download.h"

#include "base/byte_values.h"

#include <QDebug>

bool sendMacroBlock(DeviceContext &context, const QVariantList &bytes, uint index)
{
    const uint slot = index & 0xFF;
    if (slot >= macroblock::kSlots || !context.link || !fitsMacroBlock(bytes))
        return false;
    uchar block[macroblock::kSize] = {};
    for (int i = 0; i < bytes.size(); ++i)
        block[i] = lowByte(bytes.at(i));
    const auto macroId = uchar(slot + 1);
    return context.byFamily(&Hid_Thread::hid553_13H_SetMacroKey,
                            &Hid_Thread::hid560_0FH_SetMacroKey, macroId, +block);
}
