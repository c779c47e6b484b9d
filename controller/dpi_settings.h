#pragma once

// DPI stages and lift-off distance. The mouse takes no DPI values, only a one-byte code per
// stage whose rule depends on the optical sensor of the model.

#include "base/device_context.h"

#include <QString>
#include <QVariant>

#include <array>

namespace dpi
{
constexpr int kStages = 8;
// The stages are counted from 1; whatever else the mouse names (0, 0xFF from a confused
// firmware) is no stage of it.
constexpr bool isStage(int stage)
{
    return stage >= 1 && stage <= kStages;
}
// currentStage()'s answer when the mouse named no stage it has.
constexpr int kNoSuchStage = -1;
// 553 family: the code of a stage that is switched off.
constexpr uchar kDisabledStage = 0x80;
} // namespace dpi

using StageTable = std::array<uchar, dpi::kStages>;

struct StageCodes {
    StageTable codes = {};
    uchar highRange = 0; // "3389": bit i set when stage i's code overflowed a byte
};

class DpiSettings
{
public:
    explicit DpiSettings(DeviceContext &context) : ctx(context) {}

    // The code of `dpi` for `sensor`; unknown sensors convert as "4090". `highRange` (may be null)
    // tells whether the value needs the sensor's high-range bit.
    static uchar code(const QString &sensor, int dpi, bool *highRange = nullptr);
    // The first eight values converted; missing stages stay 0.
    static StageCodes convert(const QString &sensor, const QVariantList &values);
    // Bits 0 .. count - 1.
    static uchar stageMask(int count);
    // The lift-off code of the slider's rate.
    static uchar lodCode(uchar rate);

    // Converts and sends the stage table. 553 family: stages whose flag is 0 are switched off
    // (missing flags count as on). 560 family: profile blocks 1..4 get the table and the mask of
    // the first `count` stages; block 1 is sent, blocks 2..4 too on gun-capable mice.
    // The setters return whether everything reached the mouse.
    bool setStages(int count, const QString &sensor, const QVariantList &values,
                   const QVariantList &enabled);
    // Makes `stage` (1-based) the active stage.
    bool setCurrentStage(uchar stage);
    // The mouse's active stage, 1-based; 0 when it could not be asked; dpi::kNoSuchStage when its
    // answer is no stage it has (the answer is logged).
    int currentStage();
    // Writes the lift-off code and its enable bit to profile block 1 and sends the block.
    bool setLod(uchar rate, uchar en);

private:
    DeviceContext &ctx;
};
