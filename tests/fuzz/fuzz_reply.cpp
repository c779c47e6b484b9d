// The reply check and the unscrambling of a feature report: any nine bytes from the mouse, any
// scrambling code from the device table.

#include "device/report.h"
#include "device/scramble.h"
#include "fuzz_common.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // key (6) | command code (1) | reply (9)
    if (size < 6 + 1 + report::kFeatureSize)
        return 0;
    uint8_t key[8] = {};
    std::memcpy(key + 1, data, 6);
    const uint8_t code = data[6];
    uint8_t reply[report::kFeatureSize];
    std::memcpy(reply, data + 7, sizeof reply);

    // Plain replies.
    const bool plain = report::replyChecksOut(reply, code);
    FUZZ_CHECK(!plain ||
               (reply[report::kCodeByte] == code &&
                uint8_t(reply[report::kChecksumByte] +
                        uint8_t(~report::checksum(reply + report::kCodeByte))) == uint8_t(0xFF)));

    // Scrambled replies: unscrambling is undone by scrambling, byte for byte, for every code.
    uint8_t unscrambled[report::kFeatureSize];
    std::memcpy(unscrambled, reply, sizeof reply);
    unscrambleReport(unscrambled + report::kScrambledOffset, key);
    (void)report::replyChecksOut(unscrambled, code);
    uint8_t again[report::kFeatureSize];
    std::memcpy(again, unscrambled, sizeof again);
    scrambleReport(again + report::kScrambledOffset, key);
    FUZZ_CHECK(std::memcmp(again, reply, sizeof reply) == 0);
    FUZZ_CHECK(unscrambled[report::kIdByte] == reply[report::kIdByte]);
    return 0;
}
