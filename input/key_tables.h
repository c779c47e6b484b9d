#pragma once

#include <QtGlobal>

#include <map>

// The keyboard path: a set-1 scan code and its extended flag give a virtual-key code, which gives
// a USB HID keyboard usage. Lookups without a row give 0, meaning "not captured".
namespace keys
{

using ScanMap = std::map<quint16, quint8>; // (scan << 8) | extended -> virtual key
using UsageMap = std::map<quint8, quint8>; // virtual key -> usage

ScanMap scanToVirtualKey();
// The Backslash key gives usage 0x32 (non-US #) instead of 0x31 when `hashKeyFlag` is set.
UsageMap virtualKeyToUsage(bool hashKeyFlag);

constexpr quint16 scanKey(quint8 scan, bool extended)
{
    return quint16((scan << 8) | (extended ? 1 : 0));
}

// Virtual keys the hook procedure names itself.
constexpr quint8 VK_PAUSE = 0x13;
constexpr quint8 VK_SNAPSHOT = 0x2C;

// A Linux input-event key code as the set-1 scan code and extended flag a PC keyboard sends.
struct ScanCode {
    quint8 scan = 0;
    bool extended = false;
};
ScanCode scanCodeOfLinuxKey(quint16 linuxKeyCode);

} // namespace keys
