#pragma once

// The mouse's light: the slave attribute block, the effect choice with its model-dependent code
// tables, the colour tables and the DPI-stage colours kept in the profile.

#include "base/device_context.h"

#include <QVariantList>

#include <array>

namespace lighting
{

// The 64-byte block of the 16H command: 0x32 <effect> <brightness> <speed> <direction>
// <15 colours as R G B>, then 14 bytes that are always sent as zero.
struct SlaveAttributes {
    uchar marker;
    uchar effect;
    uchar brightness;
    uchar speed;
    uchar direction;
    uchar colours[45];
    uchar unused[14];
};
static_assert(sizeof(SlaveAttributes) == 64, "the 16H block is 64 bytes");

constexpr uchar kAttributeMarker = 0x32;
// With this effect the block carries effect 0 and no colours.
constexpr uchar kEffectWithoutColours = 6;

// Eight colours as R G B, the table of the 10H command and of the 560 profile blocks.
constexpr int kColourTableSize = 24;
using ColourTable = std::array<uchar, kColourTableSize>;
// The eighth colour; on is55328 mice a black one means "one fixed colour".
constexpr int kEighthColour = 21;

// What 0DH gets: (mode, brightness, speed) on colourful models, (first, second, extra) on
// single-colour ones.
using EffectTriple = std::array<uchar, 3>;

EffectTriple colourfulEffect(uchar effect, uchar option1, uchar option2);
// The third byte is the table's own; most single-colour models get a constant instead.
EffectTriple singleColourEffect(uchar effect, uchar option1, uchar option2);

} // namespace lighting

class Lighting
{
public:
    explicit Lighting(DeviceContext &context) : c(context) {}

    // The setters return whether everything reached the mouse.
    bool setLedType(uchar effect, uchar brightness, uchar speed, uchar direction,
                    const QVariantList &rgbArray);
    bool setEffect(uchar effect, uchar option1, uchar option2);
    bool setColours(uchar type, const QVariantList &src24);
    // Stores the stage colours under "mouse/dpiColorType<type>" and sends them.
    bool setStageColours(uchar type, const QVariantList &src24);
    QVariantList storedStageColours(uchar type) const;
    bool logoLedWorks();

    static QString stageColourKey(uchar type);

private:
    DeviceContext &c;
};
