#pragma once

// A stored macro, named as `tk700ctl macro list` names it ("folder/.../name"), turned into the
// mouse's 128-byte block by the program's own encoder and key name table. tk700ctl and the
// program's D-Bus service look macros up the same way, so both refuse the same files.

#include <QString>
#include <QStringList>
#include <QVariantList>

// `stored`: the macro's event records and, last, its repeat count, as MacroFiles::load gives
// them. A key name is looked up in the names of `language` (the program's), the table's own
// names, then every language's names, as the window looks it up (a macro stores the names it was
// recorded with). The block's bytes, not bounded to the block's size.
QVariantList encodeStoredMacro(const QStringList &stored, const QString &language);

// Every macro file of the library, as "folder/.../name" without the suffix, in two sorted lists:
// the files the program takes as macros, and those it refuses (the window's import check).
struct MacroNames {
    QStringList macros;
    QStringList refused;
};
MacroNames macroNames();

// The block of the macro `name`, or why it cannot be sent.
struct NamedMacro {
    enum class Problem {
        None,
        Unknown,    // no file of that name in the library
        NotMacro,   // a file the window would not take as a macro
        Unreadable, // it could not be read
        TooLong,    // more bytes than the mouse's block holds
    };
    Problem problem = Problem::None;
    QVariantList bytes;
    QString message; // what to tell the user when there is a problem
};
NamedMacro namedMacro(const QString &name, const QString &language);
