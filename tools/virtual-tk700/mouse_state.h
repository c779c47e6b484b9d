// What the virtual mouse keeps across commands (its "flash"), and the JSON dump of it.
#pragma once

#include <QJsonObject>

#include <array>
#include <cstdint>
#include <vector>

namespace tk700sim
{

enum class Family { F553, F560 };

using Bytes = std::vector<std::uint8_t>;

struct GunSlot {
    std::uint8_t count = 0;
    std::uint8_t x = 0;
    std::uint8_t y = 0;
};

struct MouseState {
    static constexpr int kModes = 4;
    static constexpr int kKeyMatrices = 4;
    static constexpr int kMacros = 12;
    static constexpr int kProfiles = 5;
    static constexpr int kGunSlots = 3;
    static constexpr std::size_t kBlockSize = 128;
    static constexpr std::size_t kStageColourBytes = 24;
    static constexpr std::size_t kSlaveBytes = 64;
    static constexpr std::size_t kDpiTableBytes = 8;
    // Where a 560 profile block keeps its DPI stage table (two axes) and enabled-stage mask.
    static constexpr std::size_t kProfileDpiOffset = 84;
    static constexpr std::size_t kProfileDpiMaskOffset = 100;

    explicit MouseState(Family family);

    Family family;

    std::uint8_t reportRate = 1;                       // 553
    std::array<std::uint8_t, kModes> modeReportRate{}; // 560, per mode 1..4
    std::uint8_t currentKeyMatrix = 0;                 // 553
    std::uint8_t currentProfile = 1;                   // 560
    Bytes keyboardOptions;                             // 4 bytes on 553, 2 on 560
    std::array<GunSlot, kGunSlots> gun{};              // 553, by slot index 0..2

    std::uint8_t dpiStage = 2;                       // 553 current stage (1-based)
    std::array<std::uint8_t, kModes> modeDpiStage{}; // 560, per mode 1..4
    std::uint8_t dpiCount = 8;                       // 553: byte 2 of the table command
    Bytes dpiTable;                                  // 553: one code per stage

    Bytes liftOffParams; // bytes 2..7 of the last lift-off request
    std::uint8_t liftOffStage = 0;
    bool liftOffEnabled = false;

    std::array<std::uint8_t, 3> fixedColour{};
    std::array<std::uint8_t, 3> effect{};
    std::uint8_t stageColourType = 0;
    Bytes stageColours; // the last block as sent: 4 or 24 bytes
    Bytes slaveAttributes;
    std::array<Bytes, kKeyMatrices> keyMatrices; // 64 bytes on 553, 128 on 560
    std::array<Bytes, kMacros> macros;
    std::array<Bytes, kProfiles> profiles;
    std::array<std::uint8_t, 3> logoLed{}; // reply bytes 3..5 of 87H; option1 0 = works

    // The 560 mode that the DPI button and the plain "current" values refer to: the current
    // profile when it names a mode, mode 1 otherwise.
    int activeMode() const;
    void setCurrentStage(std::uint8_t stage);
    std::uint8_t currentStage() const;

    QJsonObject toJson() const;
};

QString hexBytes(const std::uint8_t *data, std::size_t size);
inline QString hexBytes(const Bytes &bytes)
{
    return hexBytes(bytes.data(), bytes.size());
}

} // namespace tk700sim
