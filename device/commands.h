#pragma once

// The firmware commands of both families, one line each: code, exchange, data block, settle
// waits, the 8 ms pause after it, and the line written when the transfer token cannot be taken.
// The request parameters (bytes 2..7) are filled by the command slots in hid_commands_*.cpp.

#include <QtGlobal>

namespace command
{

enum class Exchange { Set, Query };

struct Definition {
    uchar code;
    Exchange exchange;
    int block;           // data bytes that follow the request; -1: chosen by the slot
    bool settle;         // 128 ms waits around the block
    bool pauseAfter;     // kPauseAfterMs sleep after the exchange
    const char *failure; // nullptr: nothing is written
};

constexpr Exchange Set = Exchange::Set;
constexpr Exchange Query = Exchange::Query;

// clang-format off
namespace f553 {
//                                  code  exchange block settle pause  failure line
constexpr Definition SetReportRate         {0x01, Set,   0,    true,  false, "cmd Failed 01"};
constexpr Definition SetCurrentKeyMatrix   {0x02, Set,   0,    true,  false, "cmd Failed 02"};
constexpr Definition SetKeyboardoption     {0x03, Set,   0,    false, true,  "cmd Failed 03"};
constexpr Definition SetGunData            {0x04, Set,   0,    false, true,  "cmd Failed 04"};
constexpr Definition Lod                   {0x07, Set,   0,    true,  false, "hid553_07H_Lod"};
constexpr Definition SetCurrentDPI         {0x0B, Set,   0,    true,  false, "cmd Failed 0B"};
constexpr Definition SetFixLEDColor        {0x0C, Set,   0,    true,  false, "cmd Failed 0C"};
constexpr Definition SetRGBLedEffect       {0x0D, Set,   0,    true,  false, "cmd Failed 0D"};
constexpr Definition SetLED8StageColor     {0x10, Set,   -1,   true,  false, "cmd Failed 10"};
constexpr Definition SetDPISet             {0x11, Set,   8,    true,  false, "cmd Failed 11"};
constexpr Definition SetKeyMatrix          {0x12, Set,   64,   true,  false, "cmd Failed 12"};
constexpr Definition SetMacroKey           {0x13, Set,   128,  true,  false, "cmd Failed 13"};
constexpr Definition SetSlaveAttritube     {0x16, Set,   64,   true,  false, nullptr};
constexpr Definition GetKeyboardoption     {0x83, Query, 0,    false, false, "cmd Failed 83"};
constexpr Definition GetCurrentDPI         {0x8B, Query, 0,    false, false, "cmd Failed 8BH"};
} // namespace f553
// clang-format on

// clang-format off
namespace f560 {
//                                  code  exchange block settle pause  failure line
constexpr Definition SetKeyboardoption     {0x01, Set,   0,    false, true,  "cmd Failed 01"};
constexpr Definition SetCurrentProfile     {0x02, Set,   0,    false, true,  "cmd Failed 02"};
constexpr Definition SetReportRate         {0x03, Set,   0,    true,  false, "cmd Failed 03"};
constexpr Definition SetCurrentDPI         {0x04, Set,   0,    true,  false, "cmd Failed 04"};
constexpr Definition Lod                   {0x09, Set,   0,    true,  false, "hid560_09H_Lod"};
constexpr Definition SetProfile            {0x0C, Set,   128,  true,  false, "cmd Failed 0C"};
constexpr Definition SetKeyMatrix          {0x0D, Set,   128,  true,  false, "cmd Failed 0D"};
constexpr Definition SetMacroKey           {0x0F, Set,   128,  true,  false, "cmd Failed 0F"};
constexpr Definition GetKeyboardoption     {0x81, Query, 0,    false, false, "cmd Failed 81"};
constexpr Definition GetCurrentProfile     {0x82, Query, 0,    false, false, "cmd Failed 82"};
constexpr Definition GetCurrentDPI         {0x84, Query, 0,    false, false, "cmd Failed 84"};
constexpr Definition ReadProfile           {0x8C, Query, 128,  false, false, "cmd Failed 8c"};
} // namespace f560
// clang-format on

// Shared by both families.
// clang-format off
constexpr Definition GetLEDInstructFunction{0x87, Query, 0,    false, false, "cmd Failed"};
// clang-format on

// Block lengths announced in the requests.
constexpr uchar kLen8 = 0x08;
constexpr uchar kLen64 = 0x40;
constexpr uchar kLen128 = 0x80;
// Constant bytes of the key-matrix and lift-off requests.
constexpr uchar kKeyMatrixConst = 0x08;
constexpr uchar kLodConst = 0x7D;
// The eight-stage colours: four nibble-packed bytes for type 2, 24 bytes otherwise.
constexpr uchar kPackedColourType = 2;
constexpr int kPackedColourBytes = 4;
constexpr int kColourBytes = 24;
// The pause after the exchanges whose definition asks for it.
constexpr int kPauseAfterMs = 8;
// The reply of 87H echoes the type in its first parameter byte; the three options follow.
constexpr int kLedOptionsReplyByte = 3;
// Modes addressed one after the other by the 560 family's rate and stage commands.
constexpr uchar kFirstMode = 1;
constexpr uchar kLastMode = 4;

} // namespace command
