#pragma once

#include <cstdint>

// Scrambling covers the eight bytes of a feature report after the report ID.
namespace report
{
constexpr int kScrambledOffset = 1;
constexpr int kScrambledSize = 8;
} // namespace report

// The per-device scrambling of a feature report's eight bytes after the report ID. Bytes 1..6 of
// the key are used; the table is the fixed text "WuMeqIst".
void scrambleReport(uint8_t bytes[8], const uint8_t key[8]);
void unscrambleReport(uint8_t bytes[8], const uint8_t key[8]);
