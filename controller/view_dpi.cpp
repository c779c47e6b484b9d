// The view's DPI and lift-off slots: argument conversion only; the work is in DpiSettings.

#include "controller/dpi_settings.h"
#include "controller/myqquickview.h"
#include "controller/qml_values.h"

void myQQuickView::mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray,
                               QVariantList dpiEnableArray)
{
    DeviceContext ctx = context();
    DpiSettings(ctx).setStages(dpiCount, sensorType, plainList(dpiValueArray),
                               plainList(dpiEnableArray));
}

void myQQuickView::mouseSetCurrentDPI(uchar currentDPI)
{
    DeviceContext ctx = context();
    DpiSettings(ctx).setCurrentStage(currentDPI);
}

void myQQuickView::mouseSetLodValue(uchar rate, uchar en)
{
    DeviceContext ctx = context();
    DpiSettings(ctx).setLod(rate, en);
}
