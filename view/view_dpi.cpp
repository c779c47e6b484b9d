// The view's DPI and lift-off slots: argument conversion only; the work is in DpiSettings.

#include "controller/dpi_settings.h"
#include "view/myqquickview.h"
#include "view/qml_values.h"

bool myQQuickView::mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray,
                               QVariantList dpiEnableArray)
{
    DeviceContext ctx = context();
    return DpiSettings(ctx).setStages(dpiCount, sensorType, plainList(dpiValueArray),
                                      plainList(dpiEnableArray));
}

bool myQQuickView::mouseSetCurrentDPI(uchar currentDPI)
{
    DeviceContext ctx = context();
    return DpiSettings(ctx).setCurrentStage(currentDPI);
}

QVariant myQQuickView::mouseGetCurrentDPI()
{
    // The 1-based active stage; 0 when the mouse could not be asked; below 0 when its answer was no
    // stage it has.
    DeviceContext ctx = context();
    return DpiSettings(ctx).currentStage();
}

bool myQQuickView::mouseSetLodValue(uchar rate, uchar en)
{
    DeviceContext ctx = context();
    return DpiSettings(ctx).setLod(rate, en);
}
