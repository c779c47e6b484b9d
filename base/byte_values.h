#pragma once

// Numbers from the pages as the bytes the mouse takes: the low byte of a value given as a number or
// as text. Negative values come out as two's complement, so -10 and "-10" both give 0xF6; what is
// no number gives 0.

#include <QVariant>
#include <QVariantList>

#include <array>

inline uchar lowByte(const QVariant &value)
{
    return uchar(value.toLongLong());
}

// The low bytes of the first N values; missing ones stay zero.
template <size_t N> std::array<uchar, N> lowBytes(const QVariantList &values)
{
    std::array<uchar, N> out{};
    const qsizetype n = qMin(values.size(), qsizetype(N));
    for (qsizetype i = 0; i < n; ++i)
        out[size_t(i)] = lowByte(values.at(i));
    return out;
}
