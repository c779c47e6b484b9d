// The view's button-assignment slots: argument conversion only; the work is in KeyMatrix.

#include "controller/key_matrix.h"
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
    DeviceContext ctx = context();
    return KeyMatrix(ctx).storedEntry(plainValue(mouseMode), plainValue(index).toInt(), isRecovery);
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
