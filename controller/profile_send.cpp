#include "controller/profile_send.h"

#include "controller/dpi_settings.h"
#include "controller/gun_data.h"
#include "controller/key_matrix.h"
#include "controller/lighting.h"
#include "controller/mouse_options.h"
#include "controller/stored_settings.h"

#include <algorithm>

namespace
{

bool sendLighting(DeviceContext &ctx, const StoredLight &light)
{
    constexpr int kBrightnessPerStep = 5;
    // Every block takes the selected block's colour.
    QVariantList colours;
    const auto &rgb = light.colours[size_t(light.colourIndex)];
    for (int b = 0; b < stored::kLightBlocks; ++b)
        colours << uint(rgb[0]) << uint(rgb[1]) << uint(rgb[2]);
    return Lighting(ctx).setLedType(uchar(light.effect), uchar(light.brightness * kBrightnessPerStep),
                                    uchar(light.speed), uchar(light.direction), colours);
}

} // namespace

QVariantList storedGunPeriods(DeviceContext &ctx, const StoredSettings &settings)
{
    constexpr int kBuiltInPeriod = 10;
    constexpr int kPeriodField = 2;
    QVariantList periods;
    for (int row : settings.gunSlotRows()) {
        const QVariantList record = GunData(ctx).record(QString::number(row));
        periods << (record.size() >= gun::kSavedValues
                        ? stored::leadingInt(record.at(kPeriodField)).value_or(0)
                        : kBuiltInPeriod);
    }
    return periods;
}

bool ProfileSendResult::ok() const
{
    return std::all_of(parts.begin(), parts.end(), [](const auto &p) { return p.second; });
}

bool ProfileSendResult::part(const QString &name) const
{
    return std::any_of(parts.begin(), parts.end(),
                       [&](const auto &p) { return p.first == name && p.second; });
}

QVariantMap ProfileSendResult::toMap() const
{
    QVariantMap map;
    for (const auto &[name, sent] : parts)
        map.insert(name, sent);
    return map;
}

ProfileSendResult sendStoredProfile(DeviceContext &ctx, int mode, bool resetGunTables)
{
    const StoredSettings stored(ctx.settings, false);
    ProfileSendResult r;
    KeyMatrix keys(ctx);
    r.parts.append({QStringLiteral("buttons"),
                    keys.set(mode, stored.table(0), stored.table(1), true, storedGunPeriods(ctx, stored))});
    r.parts.append({QStringLiteral("reportRate"),
                    MouseOptions(ctx).setReportRate(
                        stored::reportRateCode(stored.reportRatePosition()))});
    const StoredDpi dpi = stored.dpi();
    QVariantList values, enables;
    for (int s = 0; s < stored::kDpiStages; ++s) {
        values << dpi.values[size_t(s)];
        enables << dpi.enables[size_t(s)];
    }
    // A stage count beyond the panel's stages cannot be shown or sent.
    const bool fits = dpi.count <= stored::kDpiStages;
    if (!fits)
        qDebug() << "dpiSetting: dpiCount" << dpi.count << "is more than the panel has";
    r.parts.append({QStringLiteral("dpiStages"),
                    fits && DpiSettings(ctx).setStages(dpi.current, dpi.sensor, values, enables)});
    r.parts.append({QStringLiteral("dpiColours"),
                    fits && Lighting(ctx).setColours(1, dpi.colourTable())});
    const StoredSystem system = stored.system();
    r.parts.append({QStringLiteral("liftOff"),
                    DpiSettings(ctx).setLod(uchar(stored::lodRate(system.lodOffset)),
                                            uchar(system.lodEnabled))});
    r.parts.append({QStringLiteral("lighting"), sendLighting(ctx, stored.light())});
    if (resetGunTables) {
        const bool switched = keys.switchTo(1);
        r.parts.append({QStringLiteral("gunTables"), keys.resetGunTables() && switched});
    }
    return r;
}
