// The view's macro download slot.

#include "macro/macro_download.h"
#include "view/dialogs.h"
#include "view/myqquickview.h"
#include "view/qml_values.h"

QVariant myQQuickView::mouseSendMacroData(QVariantList macroData, QVariant macroIndex,
                                          QVariant macroName)
{
    const QVariantList bytes = plainList(macroData);
    if (!fitsMacroBlock(bytes)) {
        const QString name = plainValue(macroName).toString();
        Dialogs::instance().warning(
            window(), tr("Send macro"),
            tr("The macro %1 takes %2 bytes, more than the %3 the mouse holds. It was not sent; "
               "shorten it in the macro editor.")
                .arg(name.isEmpty() ? tr("(unnamed)") : name)
                .arg(bytes.size())
                .arg(macroblock::kSize));
        return false;
    }
    DeviceContext device = context();
    // True only when the whole block reached the mouse.
    return sendMacroBlock(device, bytes, plainValue(macroIndex).toUInt());
}
