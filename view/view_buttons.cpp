// The view's button-assignment slots: argument conversion only; the work is in KeyMatrix.

#include "controller/key_matrix.h"
#include "controller/stored_settings.h"
#include "view/myqquickview.h"
#include "view/qml_values.h"

bool myQQuickView::mouseSetKeyMatrix(QVariant mouseMode, QVariantList src64, QVariantList src64_2,
                                     bool isSendData, QVariantList otherParam)
{
    DeviceContext ctx = context();
    return KeyMatrix(ctx).set(plainValue(mouseMode), plainList(src64), plainList(src64_2),
                              isSendData, plainList(otherParam));
}

QVariantList myQQuickView::mouseGetKeydefine(QVariant mouseMode, QVariant index, bool isRecovery)
{
    // An entry that is not four numbers reads as missing: the page then shows the button's
    // built-in function, which is what a profile change sends for it.
    const int mode = plainValue(mouseMode).toUInt() == 0 ? 0 : 1;
    const auto entry =
        StoredSettings(settings, isRecovery).storedEntry(mode, plainValue(index).toInt());
    return entry ? QVariantList{(*entry)[0], (*entry)[1], (*entry)[2], (*entry)[3]} : QVariantList();
}

QVariantList myQQuickView::buttonDefaults(int mouseMode)
{
    QVariantList table;
    for (const auto &entry : builtInEntries(mouseMode))
        table << QVariant(QVariantList{entry[0], entry[1], entry[2], entry[3]});
    return table;
}

bool myQQuickView::mouseResetKeyMatrix()
{
    DeviceContext ctx = context();
    return KeyMatrix(ctx).resetGunTables();
}

bool myQQuickView::mouseSwitchKeyMatrix(int indexNo)
{
    DeviceContext ctx = context();
    return KeyMatrix(ctx).switchTo(indexNo);
}
