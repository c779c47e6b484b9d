#pragma once

// The remaining per-mouse settings: report rate, the four keyboard-option bytes, and the
// per-profile XY sensitivity and selected-gun entries.

#include "base/device_context.h"

#include <QVariant>
#include <QVariantList>

class MouseOptions
{
public:
    static constexpr int kDefaultXySensitivity = 4;

    explicit MouseOptions(DeviceContext &context) : c(context) {}

    // True when the value reached the mouse.
    bool setReportRate(uchar rate);
    bool setKeyboardOption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    // The four bytes as the mouse has them; zeros when it does not answer.
    QVariantList keyboardOption();

    QVariant xySensitivity(const QString &index) const;
    void setXySensitivity(const QString &index, const QVariant &value);
    QVariant selectedGun(const QString &index) const;
    void setSelectedGun(const QString &index, const QVariant &value);

private:
    DeviceContext &c;
};
