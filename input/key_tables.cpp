#include "input/key_tables.h"

#include <initializer_list>

namespace keys
{
namespace
{

struct Row {
    quint8 scan;
    bool extended;
    quint8 virtualKey;
    quint8 usage;
};

constexpr quint8 VK_OEM_5 = 0xDC;
constexpr quint8 kBackslashUsage = 0x31;
constexpr quint8 kHashUsage = 0x32;

// One row per captured key: set-1 scan code, E0 prefix, virtual key, USB usage.
// clang-format off
constexpr Row kSingleRows[] = {
    {0x1C, false, 0x0D, 0x28}, // Enter
    {0x01, false, 0x1B, 0x29}, // Escape
    {0x0E, false, 0x08, 0x2A}, // Backspace
    {0x0F, false, 0x09, 0x2B}, // Tab
    {0x39, false, 0x20, 0x2C}, // Space
    {0x0C, false, 0xBD, 0x2D}, // Minus
    {0x0D, false, 0xBB, 0x2E}, // Equals
    {0x1A, false, 0xDB, 0x2F}, // Left bracket
    {0x1B, false, 0xDD, 0x30}, // Right bracket
    {0x2B, false, VK_OEM_5, kBackslashUsage}, // Backslash
    {0x27, false, 0xBA, 0x33}, // Semicolon
    {0x28, false, 0xDE, 0x34}, // Apostrophe
    {0x29, false, 0xC0, 0x35}, // Grave accent
    {0x33, false, 0xBC, 0x36}, // Comma
    {0x34, false, 0xBE, 0x37}, // Period
    {0x35, false, 0xBF, 0x38}, // Slash
    {0x3A, false, 0x14, 0x39}, // Caps Lock
    {0x37, true,  0x2C, 0x46}, // Print Screen
    {0x46, false, 0x91, 0x47}, // Scroll Lock
    {0x45, false, 0x13, 0x48}, // Pause
    {0x52, true,  0x2D, 0x49}, // Insert
    {0x47, true,  0x24, 0x4A}, // Home
    {0x49, true,  0x21, 0x4B}, // Page Up
    {0x53, true,  0x2E, 0x4C}, // Delete
    {0x4F, true,  0x23, 0x4D}, // End
    {0x51, true,  0x22, 0x4E}, // Page Down
    {0x4D, true,  0x27, 0x4F}, // Right arrow
    {0x4B, true,  0x25, 0x50}, // Left arrow
    {0x50, true,  0x28, 0x51}, // Down arrow
    {0x48, true,  0x26, 0x52}, // Up arrow
    {0x45, true,  0x90, 0x53}, // Num Lock
    {0x35, true,  0x6F, 0x54}, // Keypad /
    {0x37, false, 0x6A, 0x55}, // Keypad *
    {0x4A, false, 0x6D, 0x56}, // Keypad -
    {0x4E, false, 0x6B, 0x57}, // Keypad +
    {0x1C, true,  0x0E, 0x58}, // Keypad Enter (a virtual key of this table only)
    {0x4F, false, 0x61, 0x59}, // Keypad 1
    {0x50, false, 0x62, 0x5A}, // Keypad 2
    {0x51, false, 0x63, 0x5B}, // Keypad 3
    {0x4B, false, 0x64, 0x5C}, // Keypad 4
    {0x4C, false, 0x65, 0x5D}, // Keypad 5
    {0x4D, false, 0x66, 0x5E}, // Keypad 6
    {0x47, false, 0x67, 0x5F}, // Keypad 7
    {0x48, false, 0x68, 0x60}, // Keypad 8
    {0x49, false, 0x69, 0x61}, // Keypad 9
    {0x52, false, 0x60, 0x62}, // Keypad 0
    {0x53, false, 0x6E, 0x63}, // Keypad .
    {0x56, false, 0xE2, 0x64}, // Non-US backslash
    {0x5D, true,  0x5D, 0x65}, // Application (menu)
    {0x6E, false, 0x86, 0x72}, // F23
    {0x1D, false, 0xA2, 0xE0}, // Left Ctrl
    {0x2A, false, 0xA0, 0xE1}, // Left Shift
    {0x38, false, 0xA4, 0xE2}, // Left Alt
    {0x5B, true,  0x5B, 0xE3}, // Left Windows
    {0x1D, true,  0xA3, 0xE4}, // Right Ctrl
    {0x36, true,  0xA1, 0xE5}, // Right Shift
    {0x38, true,  0xA5, 0xE6}, // Right Alt
};

// Letters A ... Z in alphabetical order.
constexpr quint8 kLetterScans[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                     0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                     0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
// clang-format on

template <typename F> void forEachRow(F &&f)
{
    for (int i = 0; i < 26; ++i)
        f(Row{kLetterScans[i], false, quint8(0x41 + i), quint8(0x04 + i)});
    // 1 ... 9, 0
    for (int i = 0; i < 10; ++i)
        f(Row{quint8(0x02 + i), false, quint8(i < 9 ? 0x31 + i : 0x30), quint8(0x1E + i)});
    // F1 ... F10, then F11 and F12
    for (int i = 0; i < 10; ++i)
        f(Row{quint8(0x3B + i), false, quint8(0x70 + i), quint8(0x3A + i)});
    f(Row{0x57, false, 0x7A, 0x44});
    f(Row{0x58, false, 0x7B, 0x45});
    for (const Row &row : kSingleRows)
        f(row);
}

// Linux input-event codes that are not their own set-1 scan code.
struct LinuxKey {
    quint16 code;
    quint8 scan;
    bool extended;
};
// clang-format off
constexpr LinuxKey kLinuxKeys[] = {
    {54,  0x36, true},  // Right Shift: reported with the extended flag
    {69,  0x45, true},  // Num Lock: reported with the extended flag
    {96,  0x1C, true},  // Keypad Enter
    {97,  0x1D, true},  // Right Ctrl
    {98,  0x35, true},  // Keypad /
    {99,  0x37, true},  // Print Screen / SysRq
    {100, 0x38, true},  // Right Alt
    {102, 0x47, true},  // Home
    {103, 0x48, true},  // Up
    {104, 0x49, true},  // Page Up
    {105, 0x4B, true},  // Left
    {106, 0x4D, true},  // Right
    {107, 0x4F, true},  // End
    {108, 0x50, true},  // Down
    {109, 0x51, true},  // Page Down
    {110, 0x52, true},  // Insert
    {111, 0x53, true},  // Delete
    {119, 0x45, false}, // Pause
    {125, 0x5B, true},  // Left Windows
    {126, 0x5C, true},  // Right Windows
    {127, 0x5D, true},  // Menu
    {183, 0x64, false}, // F13 ... F22
    {184, 0x65, false}, {185, 0x66, false}, {186, 0x67, false}, {187, 0x68, false},
    {188, 0x69, false}, {189, 0x6A, false}, {190, 0x6B, false}, {191, 0x6C, false},
    {192, 0x6D, false},
    {193, 0x6E, false}, // F23
    {194, 0x76, false}, // F24
};
// clang-format on

// Codes 1 ... 88 are the set-1 scan codes of the same keys.
constexpr quint16 kLastIdentityCode = 88;

} // namespace

ScanMap scanToVirtualKey()
{
    ScanMap map;
    forEachRow([&map](const Row &r) { map[scanKey(r.scan, r.extended)] = r.virtualKey; });
    return map;
}

UsageMap virtualKeyToUsage(bool hashKeyFlag)
{
    UsageMap map;
    forEachRow([&map, hashKeyFlag](const Row &r) {
        map[r.virtualKey] = (r.virtualKey == VK_OEM_5 && hashKeyFlag) ? kHashUsage : r.usage;
    });
    return map;
}

ScanCode scanCodeOfLinuxKey(quint16 linuxKeyCode)
{
    for (const LinuxKey &k : kLinuxKeys) {
        if (k.code == linuxKeyCode)
            return {k.scan, k.extended};
    }
    if (linuxKeyCode >= 1 && linuxKeyCode <= kLastIdentityCode)
        return {quint8(linuxKeyCode), false};
    return {};
}

} // namespace keys
