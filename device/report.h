#pragma once

#include <cstdint>

// The 9-byte feature report of every command and reply: report ID, command code, six parameters,
// checksum.
namespace report
{
constexpr int kFeatureSize = 9;
constexpr int kIdByte = 0;
constexpr int kCodeByte = 1;
constexpr int kFirstParamByte = 2;
constexpr int kParams = 6;
constexpr int kChecksumByte = 8;
static_assert(kFirstParamByte + kParams == kChecksumByte, "the checksum follows the parameters");

// NOT of the 8-bit sum of the command code and the six parameters, taken on the plain bytes.
inline uint8_t checksum(const uint8_t *codeAndParams)
{
    uint8_t sum = 0;
    for (int i = 0; i < 1 + kParams; ++i)
        sum = static_cast<uint8_t>(sum + codeAndParams[i]);
    return static_cast<uint8_t>(~sum);
}

// Whether a (plain) reply answers the command `code`: byte 1 echoes it and byte 8 is the checksum
// of bytes 1 to 7.
inline bool replyChecksOut(const uint8_t *reply, uint8_t code)
{
    return reply[kCodeByte] == code && reply[kChecksumByte] == checksum(reply + kCodeByte);
}
} // namespace report
