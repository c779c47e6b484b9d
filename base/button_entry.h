#pragma once

// The buttons of the mouse as the profiles store them and the mouse takes them: each button has an
// entry of four bytes, and a table holds the entries of all buttons.

// One button entry is (type, p1, p2, p3); a table is sixteen of them.
namespace key_table
{
constexpr int kButtons = 16;
constexpr int kEntryBytes = 4;
constexpr int kTableBytes = kButtons * kEntryBytes;
constexpr int kType = 0;
constexpr int kP1 = 1;
constexpr int kP2 = 2;
constexpr int kP3 = 3;
// Table 1 is the normal assignment; tables 2, 3 and 4 are used by gun slots 1, 2 and 3.
constexpr int kTables = 4;
constexpr int kGunSlots = 3;
static_assert(kTableBytes == 64, "a key table is one 64-byte block");
// The type of an entry, as the pages store it, that plays a macro: p2 is its slot, from 0.
constexpr int kMacroType = 4;
} // namespace key_table
