#include "macro/macro_encoder.h"

#include <QStringView>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace macro_encoder
{
namespace
{

constexpr int kReleaseBit = 0x80;
constexpr int kMaxShortDelay = 126; // units of 10 ms that fit in an action cell
constexpr int kMaxCount = 0xFFFF;
constexpr int kTerminatorSize = 2;
constexpr int kActionSize = 2;

// Long delays: the unit code and how many 10 ms units one count stands for, by upper bound.
struct LongUnit {
    double below;
    int code;
    int per;
};
constexpr LongUnit kLongUnits[] = {
    {100000, 1, 2},  // 20 ms
    {300000, 2, 5},  // 50 ms
    {600000, 3, 10}, // 100 ms
};

bool isRelease(int type)
{
    return type == 2 || type == 4;
}

bool isLeadingSpace(QChar c)
{
    // What the script engine skips before a number: QChar's spaces (not the byte order mark).
    return c.isSpace();
}

int digitValue(QChar c, int radix)
{
    const char16_t u = c.unicode();
    int d = radix;
    if (u >= '0' && u <= '9')
        d = u - '0';
    else if (u >= 'a' && u <= 'z')
        d = u - 'a' + 10;
    else if (u >= 'A' && u <= 'Z')
        d = u - 'A' + 10;
    return d < radix ? d : -1;
}

// A stored number read as the macro files have always been read (JavaScript's parseInt): leading
// spaces and a sign, "0x" for hexadecimal, then the digits up to the first other character. NaN
// when there are none. Past 2^53 the value is approximate, which no count in the block can tell.
double storedNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isLeadingSpace(text.at(i)))
        ++i;
    double sign = 1;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        sign = text.at(i) == QLatin1Char('-') ? -1 : 1;
        ++i;
    }
    int radix = 10;
    if (i + 1 < text.size() && text.at(i) == QLatin1Char('0') &&
        (text.at(i + 1) == QLatin1Char('x') || text.at(i + 1) == QLatin1Char('X'))) {
        radix = 16;
        i += 2;
    }
    double value = 0;
    bool any = false;
    for (; i < text.size(); ++i) {
        const int d = digitValue(text.at(i), radix);
        if (d < 0)
            break;
        value = value * radix + d;
        any = true;
    }
    return any ? sign * value : std::nan("");
}

// The cells that close an action followed by `units` of 10 ms.
QByteArray delayCells(double units, int previousType)
{
    const char flag = char(isRelease(previousType) ? kReleaseBit : 0);
    const double whole = std::floor(units);
    if (whole <= kMaxShortDelay)
        return QByteArray(1, char((whole == 0 ? 1 : int(whole)) | flag));
    const LongUnit *unit = &kLongUnits[std::size(kLongUnits) - 1];
    for (const LongUnit &u : kLongUnits) {
        if (whole < u.below) {
            unit = &u;
            break;
        }
    }
    // Beyond the largest unit the delay is held at the longest that can be written.
    const int count = int(std::min(std::floor(whole / unit->per), double(kMaxCount)));
    const char cells[] = {flag, 0x00, char(unit->code), char(count >> 8), char(count & 0xFF)};
    return QByteArray(cells, sizeof cells);
}

} // namespace

bool isAction(int type)
{
    return type >= 1 && type <= 4;
}

Record parseRecord(const QString &text)
{
    Record record;
    if (!text.isEmpty() && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9'))
        record.type = text.at(0).unicode() - '0';
    record.info = text.mid(2);
    return record;
}

int blockRepeat(const QString &text)
{
    const double count = storedNumber(text);
    if (!(count >= 1))
        return 1;
    return int(std::min(count, double(kMaxRepeat)));
}

QByteArray encode(const QList<Record> &records, int repeat, const CodeOf &codeOf, qsizetype limit)
{
    QByteArray out;
    out.append(char((repeat >> 8) & 0xFF));
    out.append(char(repeat & 0xFF));
    qsizetype i = 0;
    while (i < records.size() && !isAction(records.at(i).type))
        ++i;
    if (i == records.size())
        return out;
    int previousType = records.at(i).type;
    int code = codeOf(records.at(i).info);
    double units = 0;
    for (++i; i < records.size(); ++i) {
        const Record &record = records.at(i);
        if (!isAction(record.type)) {
            // A negative delay (a hand-edited file) is no delay: it would write a byte outside
            // 0 ... 255, which the block takes as another delay with another release flag.
            const double delay = storedNumber(record.info) / 10;
            units += delay > 0 ? delay : 0;
            continue;
        }
        const QByteArray cells = delayCells(units, previousType);
        // This cell, the new action's cell and the terminator must fit.
        if (out.size() + cells.size() + 1 + kActionSize + kTerminatorSize > limit)
            break;
        out.append(cells.at(0));
        out.append(char(code));
        out.append(cells.mid(1));
        previousType = record.type;
        code = codeOf(record.info);
        units = 0;
    }
    out.append(char(1 | (isRelease(previousType) ? kReleaseBit : 0)));
    out.append(char(code));
    out.append(kTerminatorSize, '\0');
    return out;
}

qsizetype encodedLength(const QList<Record> &records)
{
    return encode(
               records, 1, [](const QString &) { return 0; }, kUnbounded)
        .size();
}

} // namespace macro_encoder
