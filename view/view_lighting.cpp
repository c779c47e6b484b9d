// The lighting slots of the QML API; the work is done by Lighting.

#include "controller/lighting.h"
#include "view/myqquickview.h"
#include "view/qml_values.h"

bool myQQuickView::mouseSetRGBEffect(uchar effect, uchar option1, uchar option2)
{
    DeviceContext c = context();
    return Lighting(c).setEffect(effect, option1, option2);
}

bool myQQuickView::mouseSetRGBColor(uchar type, QVariantList src24)
{
    DeviceContext c = context();
    return Lighting(c).setColours(type, plainList(src24));
}

bool myQQuickView::mouseSetLedType(uchar effect, uchar brightness, uchar speed, uchar direction,
                                   QVariantList rgbArray)
{
    DeviceContext c = context();
    return Lighting(c).setLedType(effect, brightness, speed, direction, plainList(rgbArray));
}

bool myQQuickView::ui_10H_SetLED8StageColor(uchar type, QVariantList src24)
{
    DeviceContext c = context();
    return Lighting(c).setStageColours(type, plainList(src24));
}

QVariantList myQQuickView::ui_90H_GetLED8StageColor(uchar type)
{
    DeviceContext c = context();
    return Lighting(c).storedStageColours(type);
}

bool myQQuickView::chkIsLogoLedWork()
{
    DeviceContext c = context();
    return Lighting(c).logoLedWorks();
}
