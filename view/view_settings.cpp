// The QML API's slots for gun data, XY sensitivity, selected gun, report rate and keyboard option;
// the work is done by GunData and MouseOptions.

#include "controller/gun_data.h"
#include "controller/mouse_options.h"
#include "view/myqquickview.h"
#include "view/qml_values.h"

bool myQQuickView::mouseSaveGundata(QVariant index, QVariantList src6)
{
    DeviceContext c = context();
    return noteSave(GunData(c).save(plainValue(index).toString(), plainList(src6)));
}

bool myQQuickView::mouseSaveGundataRows(QVariantList records)
{
    QList<std::pair<QString, QVariantList>> rows;
    for (const QVariant &record : plainList(records)) {
        const QVariantList fields = plainList(record.toList());
        if (fields.isEmpty())
            return false;
        rows.append({fields.first().toString(), fields.mid(1)});
    }
    DeviceContext c = context();
    return noteSave(GunData(c).save(rows));
}

bool myQQuickView::mouseSendGundata(int slot, QVariantList data)
{
    DeviceContext c = context();
    return GunData(c).send(slot, plainList(data));
}

bool myQQuickView::modifyGundata(QVariant modifyType, QVariantList src6)
{
    DeviceContext c = context();
    return noteSave(GunData(c).modify(plainValue(modifyType).toInt(), plainList(src6)));
}

QVariantList myQQuickView::getGunData(QVariant name)
{
    DeviceContext c = context();
    return GunData(c).record(plainValue(name).toString());
}

QStringList myQQuickView::getGunDataKey()
{
    DeviceContext c = context();
    return GunData(c).keys();
}

QVariant myQQuickView::getXYSensitive(QVariant index)
{
    DeviceContext c = context();
    return MouseOptions(c).xySensitivity(plainValue(index).toString());
}

QVariant myQQuickView::getselectGun(QVariant index)
{
    DeviceContext c = context();
    return MouseOptions(c).selectedGun(plainValue(index).toString());
}

void myQQuickView::setXYSensitive(QVariant index, QVariant xyData)
{
    DeviceContext c = context();
    MouseOptions(c).setXySensitivity(plainValue(index).toString(), plainValue(xyData));
}

void myQQuickView::setSelectGun(QVariant index, QVariant xyData)
{
    DeviceContext c = context();
    MouseOptions(c).setSelectedGun(plainValue(index).toString(), plainValue(xyData));
}

bool myQQuickView::mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    DeviceContext c = context();
    return MouseOptions(c).setKeyboardOption(byte1, byte2, byte3, byte4);
}

bool myQQuickView::mouseSetReportRate(uchar rate)
{
    DeviceContext c = context();
    return MouseOptions(c).setReportRate(rate);
}

QVariantList myQQuickView::GetKeyboardoption()
{
    DeviceContext c = context();
    return MouseOptions(c).keyboardOption();
}
