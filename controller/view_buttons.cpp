// The view's button-assignment slots: argument conversion only; the work is in KeyMatrix.

#include "controller/key_matrix.h"
#include "controller/myqquickview.h"

void myQQuickView::mouseSetKeyMatrix(QVariant mouseMode, QVariantList src64, QVariantList src64_2,
                                     bool isSendData, QVariantList otherParam)
{
    DeviceContext ctx = context();
    KeyMatrix(ctx).set(mouseMode, src64, src64_2, isSendData, otherParam);
}

QVariantList myQQuickView::mouseGetKeydefine(QVariant mouseMode, QVariant index, bool isRecovery)
{
    DeviceContext ctx = context();
    return KeyMatrix(ctx).storedEntry(mouseMode, index.toInt(), isRecovery);
}

void myQQuickView::mouseResetKeyMatrix()
{
    DeviceContext ctx = context();
    KeyMatrix(ctx).resetGunTables();
}

void myQQuickView::mouseSwitchKeyMatrix(int indexNo)
{
    DeviceContext ctx = context();
    KeyMatrix(ctx).switchTo(indexNo);
}
