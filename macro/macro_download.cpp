#include "macro/macro_download.h"

#include <QDebug>

bool sendMacroBlock(DeviceContext &context, const QVariantList &bytes, uint index)
{
    const uint slot = index & 0xFF;
    if (slot >= macroblock::kSlots || !context.link || !fitsMacroBlock(bytes))
        return false;
    uchar block[macroblock::kSize] = {};
    for (int i = 0; i < bytes.size(); ++i)
        block[i] = uchar(bytes.at(i).toInt() & 0xFF);
    const uchar macroId = uchar(slot + 1);
    if (context.model.family560())
        return context.link->hid560_0FH_SetMacroKey(macroId, block);
    return context.link->hid553_13H_SetMacroKey(macroId, block);
}
