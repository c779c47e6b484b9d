#include "mouse_state.h"

#include <QJsonArray>

namespace tk700sim
{

namespace
{

// Factory stage codes (400, 800, 1600, 2400, 3200, 4800, 6400 and 8000 DPI on the common
// sensor), so that a host which reads the table back gets something other than zeros.
constexpr std::array<std::uint8_t, MouseState::kDpiTableBytes> kFactoryDpiCodes = {
    0x03, 0x07, 0x0F, 0x17, 0x1F, 0x2F, 0x60, 0x68};

QJsonArray hexArray(const Bytes *blocks, std::size_t count)
{
    QJsonArray array;
    for (std::size_t i = 0; i < count; ++i)
        array.append(hexBytes(blocks[i]));
    return array;
}

QJsonArray intArray(const std::uint8_t *values, std::size_t count)
{
    QJsonArray array;
    for (std::size_t i = 0; i < count; ++i)
        array.append(values[i]);
    return array;
}

} // namespace

QString hexBytes(const std::uint8_t *data, std::size_t size)
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)).toHex(' '));
}

MouseState::MouseState(Family f)
    : family(f), keyboardOptions(f == Family::F553 ? 4 : 2, 0),
      dpiTable(kFactoryDpiCodes.begin(), kFactoryDpiCodes.end()), liftOffParams(6, 0),
      stageColours(kStageColourBytes, 0), slaveAttributes(kSlaveBytes, 0)
{
    modeReportRate.fill(reportRate);
    modeDpiStage.fill(dpiStage);
    const std::size_t matrixSize = f == Family::F553 ? 64 : kBlockSize;
    for (auto &matrix : keyMatrices)
        matrix.assign(matrixSize, 0);
    for (auto &macro : macros)
        macro.assign(kBlockSize, 0);
    for (int i = 0; i < kProfiles; ++i) {
        Bytes &block = profiles[i];
        block.assign(kBlockSize, 0);
        if (i == 0)
            continue; // block 0 holds no stage table
        for (std::size_t axis = 0; axis < 2; ++axis)
            std::copy(kFactoryDpiCodes.begin(), kFactoryDpiCodes.end(),
                      block.data() + kProfileDpiOffset + axis * kDpiTableBytes);
        block[kProfileDpiMaskOffset] = 0xFF;
    }
}

int MouseState::activeMode() const
{
    return currentProfile >= 1 && currentProfile <= kModes ? currentProfile : 1;
}

void MouseState::setCurrentStage(std::uint8_t stage)
{
    if (family == Family::F553)
        dpiStage = stage;
    else
        modeDpiStage[activeMode() - 1] = stage;
}

std::uint8_t MouseState::currentStage() const
{
    return family == Family::F553 ? dpiStage : modeDpiStage[activeMode() - 1];
}

QJsonObject MouseState::toJson() const
{
    QJsonArray gunSlots;
    for (const GunSlot &slot : gun)
        gunSlots.append(QJsonObject{{"count", slot.count}, {"x", slot.x}, {"y", slot.y}});

    const bool f553 = family == Family::F553;
    return QJsonObject{
        {"family", f553 ? "553" : "560"},
        {"reportRate", f553 ? reportRate : modeReportRate[activeMode() - 1]},
        {"reportRates", intArray(modeReportRate.data(), modeReportRate.size())},
        {"currentKeyMatrix", currentKeyMatrix},
        {"currentProfile", currentProfile},
        {"keyboardOptions", hexBytes(keyboardOptions)},
        {"gun", gunSlots},
        {"dpiStage", currentStage()},
        {"dpiStages", intArray(modeDpiStage.data(), modeDpiStage.size())},
        {"dpiCount", dpiCount},
        {"dpiTable", hexBytes(dpiTable)},
        {"liftOff", QJsonObject{{"stage", liftOffStage},
                                {"enabled", liftOffEnabled},
                                {"params", hexBytes(liftOffParams)}}},
        {"fixedColour", hexBytes(fixedColour.data(), fixedColour.size())},
        {"effect", hexBytes(effect.data(), effect.size())},
        {"stageColourType", stageColourType},
        {"stageColours", hexBytes(stageColours)},
        {"slaveAttributes", hexBytes(slaveAttributes)},
        {"keyMatrices", hexArray(keyMatrices.data(), keyMatrices.size())},
        {"macros", hexArray(macros.data(), macros.size())},
        {"profiles", hexArray(profiles.data(), profiles.size())},
        {"logoLed", hexBytes(logoLed.data(), logoLed.size())},
    };
}

} // namespace tk700sim
