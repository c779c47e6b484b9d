#pragma once

// Sending a stored profile to the mouse: what a profile change and a reset do in the window, and
// what tk700ctl's apply and profile switch do, in one place.

#include "base/device_context.h"

#include <QList>
#include <QString>
#include <QVariantMap>

#include <utility>

class StoredSettings;

// Each part sent, in order, with whether it reached the mouse.
struct ProfileSendResult {
    QList<std::pair<QString, bool>> parts;

    bool ok() const;
    bool part(const QString &name) const; // false for a part not sent
    QVariantMap toMap() const;
};

// Sends the current profile as stored: the button table of `mode` (0 office, 1 game) with the
// periods of the guns the three gun slots use, the report rate, the DPI stages and their
// colours, the lift-off distance and the lighting preset in use; with `resetGunTables`, the gun
// tables go back to the firmware's afterwards and table 1 is made the active one. Parts:
// "buttons", "reportRate", "dpiStages", "dpiColours", "liftOff", "lighting", "gunTables".
ProfileSendResult sendStoredProfile(DeviceContext &ctx, int mode, bool resetGunTables);

// The period of the gun each of the three slots uses: its record in the gun file, or the built-in
// 10 when the file has no usable record for the row.
QVariantList storedGunPeriods(DeviceContext &ctx, const StoredSettings &settings);
