// The view's macro download slot.

#include "controller/myqquickview.h"
#include "macro/macro_download.h"

QVariant myQQuickView::mouseSendMacroData(QVariantList macroData, QVariant macroIndex)
{
    DeviceContext device = context();
    // True only when the whole block reached the mouse.
    return sendMacroBlock(device, macroData, macroIndex.toUInt());
}
