// The translation of a button table from the pages' encoding into the mouse's, and the tables one
// save sends, for any table, firmware table, gun periods and family.

#include "controller/key_matrix.h"
#include "fuzz_common.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    constexpr size_t kNeeded = 2 * key_table::kTableBytes + key_table::kGunSlots + 1;
    if (size < kNeeded)
        return 0;
    KeyTable ui;
    KeyTable firmware;
    std::array<uchar, key_table::kGunSlots> periods;
    std::memcpy(ui.data(), data, ui.size());
    std::memcpy(firmware.data(), data + ui.size(), firmware.size());
    std::memcpy(periods.data(), data + 2 * ui.size(), periods.size());
    const bool family560 = data[kNeeded - 1] & 1;

    const KeyTable translated = KeyMatrix::translate(ui, family560);
    // The translation is a function of the table alone.
    FUZZ_CHECK(translated == KeyMatrix::translate(ui, family560));
    const KeyMatrix::Tables tables = KeyMatrix::build(ui, firmware, periods, family560);
    FUZZ_CHECK(tables.gunMask >= -1 && tables.gunMask <= 0xFF);
    // Without a gun button only table 1 goes out, and it is the translated table unchanged.
    if (!tables.gun) {
        FUZZ_CHECK(tables.gunMask == -1);
        FUZZ_CHECK(tables.table[0] == translated);
        for (int t = 1; t < key_table::kTables; ++t)
            FUZZ_CHECK(tables.table[size_t(t)] == KeyTable{});
    } else {
        // Each gun table starts with its period entry.
        for (int k = 0; k < key_table::kGunSlots; ++k) {
            FUZZ_CHECK(tables.table[size_t(k + 1)][key_table::kP1] == k);
            FUZZ_CHECK(tables.table[size_t(k + 1)][key_table::kP2] == periods[size_t(k)]);
        }
    }
    return 0;
}
