// The view's macro download slot.

#include "controller/myqquickview.h"
#include "macro/macro_download.h"

QVariant myQQuickView::mouseSendMacroData(QVariantList macroData, QVariant macroIndex)
{
    DeviceContext device = context();
    sendMacroBlock(device, macroData, macroIndex.toUInt());
    // The mouse's answer is its own business; the UI only learns that the call was made.
    return true;
}
