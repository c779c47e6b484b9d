#pragma once

// A macro's event records turned into the mouse's 128-byte macro block: the repeat count
// (big-endian), then per action a delay cell and the key code, then the terminator. A delay cell
// closes the action before it: its release flag (0x80) and 1 ... 126 units of 10 ms, or, for a
// longer delay, the flag, 0x00, a unit code and a 16-bit count.
//
//   00 01 | 05 04 | 81 04 00 00   "1,A" "0,50" "2,A", played once

#include "macro/macro_download.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <limits>

namespace macro_encoder
{

constexpr int kMaxRepeat = 0xFFFF;
constexpr qsizetype kUnbounded = std::numeric_limits<qsizetype>::max();

// Record types: 0 a delay in milliseconds, 1/2 a key down/up, 3/4 a mouse button down/up. A record
// of any other type (a damaged file) counts as a delay.
constexpr int kNoType = -1;

struct Record {
    int type = kNoType;
    QString info; // the delay or the key's stored name
};

// Key and button records, the ones whose name the encoder looks up.
bool isAction(int type);

// "1,A" -> {1, "A"}: the type is the first character, the information starts at the third.
Record parseRecord(const QString &text);

// The repeat count the block holds for a stored count: 1 ... 65535. A missing or unreadable
// count ("0" is how a missing one loads) plays once, like a new macro; a larger one is held at
// the largest.
int blockRepeat(const QString &text);

// The key code of a stored name; 0 when it has none.
using CodeOf = std::function<int(const QString &name)>;

// The block's bytes up to and including the terminator. Actions that would not fit `limit` bytes
// with their terminator are left out, so the block is always well formed; a caller that refuses
// an overlong macro whole passes kUnbounded and checks the length.
QByteArray encode(const QList<Record> &records, int repeat, const CodeOf &codeOf,
                  qsizetype limit = macroblock::kSize);

// The encoded length, terminator included, without the block's bound.
qsizetype encodedLength(const QList<Record> &records);

} // namespace macro_encoder
