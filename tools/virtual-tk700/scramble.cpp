#include "scramble.h"

namespace tk700sim
{

namespace
{

// "WuMeqIst" with the nibbles of every letter swapped: the additive mask of the last step.
constexpr std::array<std::uint8_t, 8> kNibbleSwappedTable = {0x75, 0x57, 0xD4, 0x56,
                                                             0x17, 0x94, 0x37, 0x47};

// Bytes 1..8 of a report read as one big-endian 64-bit word (byte 1 most significant).
std::uint64_t toWord(const FeatureReport &report)
{
    std::uint64_t word = 0;
    for (int i = 1; i <= 8; ++i)
        word = (word << 8) | report[i];
    return word;
}

void fromWord(std::uint64_t word, FeatureReport &report)
{
    for (int i = 8; i >= 1; --i) {
        report[i] = static_cast<std::uint8_t>(word & 0xFF);
        word >>= 8;
    }
}

// The same four pairs are swapped on the way in and out; P0 is report byte 1.
void swapPairs(FeatureReport &report)
{
    static constexpr int kPairs[4][2] = {{0, 5}, {1, 4}, {2, 7}, {3, 6}};
    for (const auto &pair : kPairs)
        std::swap(report[1 + pair[0]], report[1 + pair[1]]);
}

} // namespace

std::uint8_t featureChecksum(const FeatureReport &report)
{
    unsigned sum = 0;
    for (int i = 1; i <= 7; ++i)
        sum += report[i];
    return static_cast<std::uint8_t>(~sum & 0xFF);
}

bool checksumValid(const FeatureReport &report)
{
    return report[8] == featureChecksum(report);
}

void setChecksum(FeatureReport &report)
{
    report[8] = featureChecksum(report);
}

ScrambleKey::ScrambleKey(const std::string &code)
{
    if (code.size() != key_.size())
        return;
    for (std::size_t i = 0; i < key_.size(); ++i)
        key_[i] = static_cast<std::uint8_t>(code[i]);
}

void ScrambleKey::scramble(FeatureReport &report) const
{
    swapPairs(report);
    for (int i = 0; i < 6; ++i)
        report[2 + i] ^= key_[i];
    const std::uint64_t word = toWord(report);
    fromWord((word << 3) | (word >> 61), report);
    for (int j = 0; j < 8; ++j)
        report[1 + j] = static_cast<std::uint8_t>(report[1 + j] + kNibbleSwappedTable[j]);
}

void ScrambleKey::unscramble(FeatureReport &report) const
{
    for (int j = 0; j < 8; ++j)
        report[1 + j] = static_cast<std::uint8_t>(report[1 + j] - kNibbleSwappedTable[j]);
    const std::uint64_t word = toWord(report);
    fromWord((word >> 3) | (word << 61), report);
    for (int i = 0; i < 6; ++i)
        report[2 + i] ^= key_[i];
    swapPairs(report);
}

} // namespace tk700sim
