// The firmware's side of the feature-report checksum and of the per-device scrambling.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tk700sim
{

// A feature report as it crosses the wire: report ID, command, six parameters, checksum.
using FeatureReport = std::array<std::uint8_t, 9>;

// NOT of the 8-bit sum of bytes 1..7 (command and parameters), taken on the plain bytes.
std::uint8_t featureChecksum(const FeatureReport &report);
bool checksumValid(const FeatureReport &report);
void setChecksum(FeatureReport &report);

// The six characters of a device's code, as bytes. Scrambling touches bytes 1..8 of a report.
class ScrambleKey
{
public:
    // Codes of any other length leave the key as all zero bytes, as the host does.
    explicit ScrambleKey(const std::string &code);

    void scramble(FeatureReport &report) const;
    void unscramble(FeatureReport &report) const;

private:
    std::array<std::uint8_t, 6> key_{};
};

} // namespace tk700sim
