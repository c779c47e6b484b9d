#include "device/scramble.h"

#include <utility>

namespace
{

constexpr uint8_t kScrambleTable[8] = {'W', 'u', 'M', 'e', 'q', 'I', 's', 't'};
// Byte pairs that trade places first.
constexpr int kSwapPairs[4][2] = {{0, 5}, {1, 4}, {2, 7}, {3, 6}};

uint8_t nibbleSwapped(uint8_t b)
{
    return static_cast<uint8_t>((b << 4) | (b >> 4));
}

void swapPairs(uint8_t p[8])
{
    for (const auto &pair : kSwapPairs)
        std::swap(p[pair[0]], p[pair[1]]);
}

void xorKey(uint8_t p[8], const uint8_t key[8])
{
    for (int i = 1; i <= 6; ++i)
        p[i] ^= key[i];
}

} // namespace

void scrambleReport(uint8_t p[8], const uint8_t key[8])
{
    swapPairs(p);
    xorKey(p, key);
    // Rotate the eight bytes, read big-endian, left by three bits.
    const uint8_t first = p[0];
    for (int i = 0; i < 7; ++i)
        p[i] = static_cast<uint8_t>((p[i] << 3) | (p[i + 1] >> 5));
    p[7] = static_cast<uint8_t>((p[7] << 3) | (first >> 5));
    for (int j = 0; j < 8; ++j)
        p[j] = static_cast<uint8_t>(p[j] + nibbleSwapped(kScrambleTable[j]));
}

void unscrambleReport(uint8_t p[8], const uint8_t key[8])
{
    for (int j = 0; j < 8; ++j)
        p[j] = static_cast<uint8_t>(p[j] - nibbleSwapped(kScrambleTable[j]));
    const uint8_t last = p[7];
    for (int i = 7; i > 0; --i)
        p[i] = static_cast<uint8_t>((p[i] >> 3) | (p[i - 1] << 5));
    p[0] = static_cast<uint8_t>((p[0] >> 3) | (last << 5));
    xorKey(p, key);
    swapPairs(p);
}
