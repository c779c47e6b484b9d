#include "controller/dpi_settings.h"

#include "controller/profiles.h"

#include <QDebug>

#include <climits>

namespace
{

// code = dpi / divisor + offset, OR flags, for dpi <= upTo; the low byte is sent.
struct Linear {
    int upTo, divisor, offset;
    uchar flags;
};
// The code of the first threshold >= dpi among first, first + step, ... (count thresholds);
// values above the last one give 0.
struct Steps {
    int first, step, count;
    uchar firstCode;
};
struct SensorRule {
    const char *name;
    Linear low, high; // high applies above low.upTo
    Steps steps;      // count > 0: a step table instead of the linear rule
    int highRangeAbove;
};

constexpr int kNone = INT_MAX;

// The first row also converts sensor names not listed.
// clang-format off
constexpr SensorRule kSensors[] = {
    // name   dpi <= upTo: dpi/d + o | f  above it                steps                  high range
    {"4090", {5000, 100, -1, 0},          {kNone, 200, 0, 0x40},  {},                    kNone},
    {"3360", {kNone, 100, -1, 0},         {},                     {},                    kNone},
    {"3389", {kNone, 50, 0, 0},           {},                     {},                    12799},
    {"3050", {},                          {},                     {250, 250, 8, 1},      kNone},
    {"3305", {},                          {},                     {400, 400, 8, 1},      kNone},
    {"5050", {},                          {},                     {125, 125, 11, 1},     kNone},
    {"3320", {},                          {},                     {500, 500, 14, 0x21},  kNone},
};
// clang-format on

// Lift-off slider rate -> code; any other rate gets kLodOtherCode.
struct LodRule {
    int rate;
    uchar code;
};
constexpr LodRule kLodCodes[] = {{125, 64}, {108, 52}};
constexpr uchar kLodOtherCode = 30;

const SensorRule &ruleOf(const QString &sensor)
{
    for (const SensorRule &rule : kSensors)
        if (sensor == QLatin1String(rule.name))
            return rule;
    return kSensors[0];
}

uchar stepCode(const Steps &steps, int dpi)
{
    for (int i = 0; i < steps.count; ++i)
        if (steps.first + i * steps.step >= dpi)
            return uchar(steps.firstCode + i);
    return 0;
}

} // namespace

uchar DpiSettings::code(const QString &sensor, int dpi, bool *highRange)
{
    const SensorRule &rule = ruleOf(sensor);
    if (highRange)
        *highRange = dpi > rule.highRangeAbove;
    if (rule.steps.count > 0)
        return stepCode(rule.steps, dpi);
    const Linear &l = dpi <= rule.low.upTo ? rule.low : rule.high;
    return uchar((dpi / l.divisor + l.offset) | l.flags);
}

StageCodes DpiSettings::convert(const QString &sensor, const QVariantList &values)
{
    StageCodes out;
    for (int i = 0; i < dpi::kStages && i < values.size(); ++i) {
        bool high = false;
        out.codes[i] = code(sensor, values.at(i).toInt(), &high);
        if (high)
            out.highRange |= uchar(1u << i);
    }
    return out;
}

uchar DpiSettings::stageMask(int count)
{
    if (count <= 0)
        return 0;
    if (count >= dpi::kStages)
        return 0xFF;
    return uchar((1u << count) - 1);
}

uchar DpiSettings::lodCode(uchar rate)
{
    for (const LodRule &rule : kLodCodes)
        if (rule.rate == rate)
            return rule.code;
    return kLodOtherCode;
}

bool DpiSettings::setStages(int count, const QString &sensor, const QVariantList &values,
                            const QVariantList &enabled)
{
    StageCodes stages = convert(sensor, values);
    if (!ctx.model.family560()) {
        for (int i = 0; i < dpi::kStages && i < enabled.size(); ++i)
            if (enabled.at(i).toInt() == 0)
                stages.codes[i] = dpi::kDisabledStage;
        return ctx.link && ctx.link->hid553_11H_SetDPISet(dpi::kStages, stages.codes.data());
    }

    using namespace profile_block;
    // Every stage block of the image takes the table; blocks 2..4 belong to the gun slots, which
    // only gun-capable mice have, so only those mice are sent them.
    const int lastSent = ctx.model.isGun ? kLastStageBlock : kFirstStageBlock;
    const bool highRangeSensor = ruleOf(sensor).highRangeAbove != kNone;
    const uchar mask = stageMask(count);
    return change(ctx, kFirstStageBlock, kLastStageBlock, lastSent,
                  [stages, highRangeSensor, mask](int, uchar *block) {
                      std::copy(stages.codes.begin(), stages.codes.end(), block + kStageCodesX);
                      std::copy(stages.codes.begin(), stages.codes.end(), block + kStageCodesY);
                      block[kStageMask] = mask;
                      if (highRangeSensor) {
                          block[kHighRangeMaskX] = stages.highRange;
                          block[kHighRangeMaskY] = stages.highRange;
                      }
                  });
}

bool DpiSettings::setCurrentStage(uchar stage)
{
    return ctx.byFamily(&Hid_Thread::hid553_0BH_SetCurrentDPI,
                        &Hid_Thread::hid560_04H_SetCurrentDPI, stage);
}

int DpiSettings::currentStage()
{
    // The 560 family is asked for the stage of mode 1. A query that fails hands these back.
    uchar mode = 1, stage = 0;
    if (!ctx.byFamily([&](Hid_Thread &link) { return link.hid553_8BH_GetCurrentDPI(stage); },
                      [&](Hid_Thread &link) { return link.hid560_84H_GetCurrentDPI(mode, stage); }))
        return 0;
    if (!dpi::isStage(stage)) {
        qDebug() << "current DPI stage: the mouse answered" << int(stage)
                 << "- no stage of it, ignored";
        return dpi::kNoSuchStage;
    }
    return stage;
}

bool DpiSettings::setLod(uchar rate, uchar en)
{
    using namespace profile_block;
    const uchar lod = lodCode(rate);
    // Both families take the lift-off distance in the 560 family's profile block.
    const bool ok = change(ctx, kLodBlock, kLodBlock, kLodBlock, [lod, en](int, uchar *block) {
        if (en == 1)
            block[kFlags] |= kLodEnableBit;
        else
            block[kFlags] &= uchar(~kLodEnableBit);
        block[kLodCode] = lod;
    });
    qDebug() << "test" << int(lod) << int(en);
    return ok;
}
