#include "controller/mouse_options.h"

namespace
{

QString xyKey(const QString &index)
{
    return QStringLiteral("XYSensitive/") + index;
}

QString selectGunKey(const QString &index)
{
    return QStringLiteral("selectGun/") + index;
}

} // namespace

bool MouseOptions::setReportRate(uchar rate)
{
    return c.byFamily(&Hid_Thread::hid553_01H_SetReportRate, &Hid_Thread::hid560_03H_SetReportRate,
                      rate);
}

bool MouseOptions::setKeyboardOption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    // The 553 command on both families.
    return c.link && c.link->hid553_03H_SetKeyboardoption(byte1, byte2, byte3, byte4);
}

QVariantList MouseOptions::keyboardOption()
{
    // A query that fails hands these back unchanged.
    uchar byte1 = 0, byte2 = 0, byte3 = 0, byte4 = 0;
    if (c.link)
        c.link->hid553_83H_GetKeyboardoption(byte1, byte2, byte3, byte4);
    return {int(byte1), int(byte2), int(byte3), int(byte4)};
}

QVariant MouseOptions::xySensitivity(const QString &index) const
{
    const QVariant value = c.settings.data(xyKey(index), false);
    return value.isValid() ? value : QVariant(kDefaultXySensitivity);
}

void MouseOptions::setXySensitivity(const QString &index, const QVariant &value)
{
    c.settings.setData(xyKey(index), value);
}

QVariant MouseOptions::selectedGun(const QString &index) const
{
    const QVariant value = c.settings.data(selectGunKey(index), false);
    return value.isValid() ? value : QVariant(QString());
}

void MouseOptions::setSelectedGun(const QString &index, const QVariant &value)
{
    c.settings.setData(selectGunKey(index), value);
}
