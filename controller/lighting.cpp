#include "controller/lighting.h"

#include "base/byte_values.h"
#include "base/profile_block.h"

#include "device/commands.h"

#include <QDebug>

#include <cstring>

namespace lighting
{
namespace
{

using Steps = std::array<uchar, 5>; // by option 0..4; any other option gives 0

uchar step(const Steps &steps, uchar option)
{
    return option < steps.size() ? steps[option] : 0;
}

// Colourful models: effect -> (mode, brightness level by option2 or 0, speed by option1).
struct ColourfulRow {
    uchar mode;
    bool hasBrightness;
    Steps speeds;
};
constexpr Steps kBrightnessLevels = {0, 64, 128, 192, 255};
constexpr Steps kNoSpeed = {};
// clang-format off
constexpr ColourfulRow kColourful[] = {
    /* 0 */ {1,  true,  kNoSpeed},
    /* 1 */ {3,  false, {10, 7, 5, 3, 1}},
    /* 2 */ {4,  false, {10, 7, 5, 3, 1}},
    /* 3 */ {0,  false, kNoSpeed},          // not an effect of these models
    /* 4 */ {2,  true,  kNoSpeed},
    /* 5 */ {5,  true,  {10, 7, 5, 3, 1}},
    /* 6 */ {6,  false, kNoSpeed},
    /* 7 */ {7,  true,  kNoSpeed},
    /* 8 */ {8,  true,  {20, 17, 15, 13, 11}},
    /* 9 */ {9,  true,  {15, 13, 10, 7, 5}},
    /* 10 */{10, true,  {30, 27, 24, 22, 20}},
};
// clang-format on

// Single-colour models: effect -> (first, second, extra); the second byte is a step picked by an
// option, or option1 + 1.
enum class Second { ByOption1, ByOption2, Option1PlusOne };
struct SingleColourRow {
    uchar effect;
    uchar first;
    Second second;
    Steps steps;
    uchar extra;
};
// clang-format off
constexpr SingleColourRow kSingleColour[] = {
    {0, 1, Second::ByOption2,      {1, 3, 5, 7, 10},    1},
    {1, 2, Second::Option1PlusOne, {},                  1},
    {2, 3, Second::ByOption1,      {30, 24, 18, 12, 6}, 1},
    {4, 2, Second::Option1PlusOne, {},                  3},
};
// clang-format on

// The third effect byte that single-colour models other than the 55328 take, and the one the
// 560 family's block 1 needs when it is the only block sent.
constexpr uchar kSingleColourExtra = 2;
constexpr uchar kSingleColourSoloExtra = 3;

} // namespace

EffectTriple colourfulEffect(uchar effect, uchar option1, uchar option2)
{
    if (effect >= std::size(kColourful))
        return {0, 0, 0};
    const ColourfulRow &row = kColourful[effect];
    return {row.mode, row.hasBrightness ? step(kBrightnessLevels, option2) : uchar(0),
            step(row.speeds, option1)};
}

EffectTriple singleColourEffect(uchar effect, uchar option1, uchar option2)
{
    for (const SingleColourRow &row : kSingleColour) {
        if (row.effect != effect)
            continue;
        uchar second = 0;
        switch (row.second) {
        case Second::ByOption1:
            second = step(row.steps, option1);
            break;
        case Second::ByOption2:
            second = step(row.steps, option2);
            break;
        case Second::Option1PlusOne:
            second = uchar(option1 + 1);
            break;
        }
        return {row.first, second, row.extra};
    }
    return {0, 0, 0};
}

} // namespace lighting

using namespace lighting;

QString Lighting::stageColourKey(uchar type)
{
    return QStringLiteral("mouse/dpiColorType%1").arg(type);
}

bool Lighting::setLedType(uchar effect, uchar brightness, uchar speed, uchar direction,
                          const QVariantList &rgbArray)
{
    {
        QDebug line = qDebug(); // written when it goes out of scope, before the block is sent
        line << "effect =" << effect << "brightness =" << brightness << "speed =" << speed
             << "direction =" << direction << "rgbArray =";
        for (const QVariant &v : rgbArray)
            line << v.toLongLong();
    }

    SlaveAttributes block{};
    block.marker = kAttributeMarker;
    block.brightness = brightness;
    block.speed = speed;
    block.direction = direction;
    if (effect != kEffectWithoutColours) {
        block.effect = effect;
        const auto colours = lowBytes<sizeof block.colours>(rgbArray);
        std::memcpy(block.colours, colours.data(), colours.size());
    }
    return c.link && c.link->hid553_16H_SetSlaveAttritube(reinterpret_cast<uchar *>(&block));
}

bool Lighting::setEffect(uchar effect, uchar option1, uchar option2)
{
    const MouseModel &m = c.model;
    EffectTriple t;
    if (m.isColorful) {
        t = colourfulEffect(effect, option1, option2);
    } else {
        t = singleColourEffect(effect, option1, option2);
        if (m.family560() || !m.is55328)
            t[2] = kSingleColourExtra;
    }

    if (!m.family560())
        return c.link && c.link->hid553_0DH_SetRGBLedEffect(t[0], t[1], t[2]);

    // Every effect block of the image takes the effect; only gun-capable mice are sent 2..4.
    using namespace profile_block;
    const int lastSent = m.isGun ? kLastEffectBlock : kFirstEffectBlock;
    const bool solo = !m.isColorful && !m.isGun;
    return change(c, kFirstEffectBlock, kLastEffectBlock, lastSent, [t, solo](int b, uchar *block) {
        std::memcpy(block + kEffect, t.data(), t.size());
        if (solo && b == kFirstEffectBlock)
            block[kEffect + 2] = kSingleColourSoloExtra;
    });
}

bool Lighting::setColours(uchar type, const QVariantList &src24)
{
    ColourTable table = lowBytes<kColourTableSize>(src24);

    if (c.model.family560()) {
        // The 560 family keeps the colours in a profile block; `type` means nothing there.
        const int b = c.model.isColorful ? profile_block::kColourfulColoursBlock
                                         : profile_block::kSingleColoursBlock;
        const int at =
            c.model.isColorful ? profile_block::kColourfulColours : profile_block::kSingleColours;
        return profile_block::change(c, b, b, b, [table, at](int, uchar *block) {
            std::memcpy(block + at, table.data(), table.size());
        });
    }

    if (!c.link)
        return false;
    if (!c.model.is55328) {
        // These models take the table twice in a row.
        const bool first = c.link->hid553_10H_SetLED8StageColor(type, table.data());
        return c.link->hid553_10H_SetLED8StageColor(type, table.data()) && first;
    }
    const bool eighthLit =
        table[kEighthColour] || table[kEighthColour + 1] || table[kEighthColour + 2];
    // A black eighth colour tells the 55328 to show one fixed colour, the first of the table.
    if (eighthLit)
        return c.link->hid553_10H_SetLED8StageColor(0, table.data());
    return c.link->hid553_0CH_SetFixLEDColor(table.data());
}

bool Lighting::setStageColours(uchar type, const QVariantList &src24)
{
    c.settings.setData(stageColourKey(type), src24);

    ColourTable table = lowBytes<kColourTableSize>(src24);
    if (type == command::kPackedColourType) {
        // Two colour indices per byte, the first in the low nibble.
        for (std::size_t k = 0; k < std::size_t(command::kPackedColourBytes); ++k)
            table[k] = uchar((table[2 * k] & 0x0F) | (table[2 * k + 1] << 4));
    }
    // The 553 command on both families: the 560 firmware takes it too.
    return c.link && c.link->hid553_10H_SetLED8StageColor(type, table.data());
}

QVariantList Lighting::storedStageColours(uchar type) const
{
    QVariantList out;
    for (const QVariant &v : c.settings.dataList(stageColourKey(type), false))
        out << v.toUInt();
    return out;
}

bool Lighting::logoLedWorks()
{
    if (!c.link)
        return false;
    uchar option1 = 0xFF, option2 = 0, option3 = 0;
    return c.link->hid_87H_GetLEDInstructFunction(0, option1, option2, option3) && option1 == 0;
}
