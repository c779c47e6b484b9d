#pragma once

#include <cstdint>

// The 9-byte feature report: report ID, command code, six parameters, checksum.
namespace report
{
constexpr int kFeatureSize = 9;
constexpr int kIdByte = 0;
constexpr int kCodeByte = 1;
constexpr int kFirstParamByte = 2;
constexpr int kChecksumByte = 8;
// Scrambling covers the eight bytes after the report ID.
constexpr int kScrambledOffset = 1;
constexpr int kScrambledSize = 8;
} // namespace report

// NOT of the 8-bit sum of the command code and the six parameters, taken on the plain bytes.
uint8_t reportChecksum(const uint8_t *codeAndParams);

// The per-device scrambling of a feature report's eight bytes after the report ID. Bytes 1..6 of
// the key are used; the table is the fixed text "WuMeqIst".
void scrambleReport(uint8_t bytes[8], const uint8_t key[8]);
void unscrambleReport(uint8_t bytes[8], const uint8_t key[8]);
