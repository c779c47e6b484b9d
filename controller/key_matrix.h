#pragma once

// Button assignment: the office and game tables of the current profile, their translation from
// the user interface's encoding into the mouse's, the gun tables, and switching between tables.

#include "base/button_entry.h"
#include "base/device_context.h"

#include <QVariant>

#include <array>

using KeyTable = std::array<uchar, key_table::kTableBytes>;

class KeyMatrix
{
public:
    explicit KeyMatrix(DeviceContext &context) : ctx(context) {}

    // The table in the mouse's encoding, from the user interface's.
    static KeyTable translate(const KeyTable &table, bool family560);

    // The tables one save sends. Table 1 is always sent; tables 2..4 and, on the 560 family, the
    // gun mask of profile block 0 only when a button is a gun button.
    struct Tables {
        std::array<KeyTable, key_table::kTables> table = {};
        bool gun = false;
        int gunMask = -1; // byte for profile block 0; -1: leave the block as it is
    };
    // `periods` holds the gun periods of slots 1..3.
    static Tables build(const KeyTable &uiTable, const KeyTable &firmwareTable,
                        const std::array<uchar, key_table::kGunSlots> &periods, bool family560);

    // Stores both tables (64 numbers each, as given) and the mode in the current profile and,
    // when `send` is set, sends the table of that mode. A table shorter than 64 numbers, or a
    // send that needs gun tables with fewer than three periods, is refused: nothing is stored or
    // sent. False when refused, or when a send did not reach the mouse.
    bool set(const QVariant &mode, const QVariantList &office, const QVariantList &game, bool send,
             const QVariantList &periods);
    // The firmware default table of the current profile; missing numbers read as zeros.
    KeyTable firmwareTable() const;
    // Sends the firmware default table as gun tables 2, 3 and 4.
    bool resetGunTables();
    // Makes table `number` (1..4) the mouse's active one.
    bool switchTo(int number);

private:
    bool sendTable(KeyTable &table, int number);

    DeviceContext &ctx;
};
