#pragma once

// A stored macro turned into the mouse's 128-byte block by the program's own encoder and key name
// table.

#include <QString>
#include <QStringList>
#include <QVariantList>


// `stored`: the macro's event records and, last, its repeat count, as MacroFiles::load gives
// them. A key name is looked up in the names of `language` (the program's), the table's own
// names, then every language's names, as the window looks it up (a macro stores the names it was
// recorded with). The block's bytes, not bounded to the block's size.
QVariantList encodeStoredMacro(const QStringList &stored, const QString &language);
