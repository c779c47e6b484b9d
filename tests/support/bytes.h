#pragma once

// Bytes as the tests write them: hex text "00 01 fe" and blocks of counting bytes.

#include <QByteArray>
#include <QString>

inline QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

inline QString hex(const uchar *data, int size)
{
    return hex(QByteArray(reinterpret_cast<const char *>(data), size));
}

// "00 01 fe" (spaces optional) -> bytes.
inline QByteArray fromHex(const char *text)
{
    return QByteArray::fromHex(text);
}

// `size` bytes counting from `start` in steps of `step`, modulo 256.
inline QByteArray pattern(int size, int start, int step = 1)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((start + step * i) & 0xFF);
    return bytes;
}
