// The macro block encoder (macro_encoder: parseRecord, blockRepeat, encode) on any records and
// repeat count, and the C++ side that turns its bytes into the block the mouse gets.

#include "fuzz_common.h"
#include "macro/macro_download.h"
#include "macro/macro_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    fuzz::workFolder();
    const bool unbounded = data[0] & 1;
    const QString repeatText =
        QString::number(int(data[1]) << 8 | data[2]) + QString::fromLatin1(data[0] & 2 ? "x" : "");
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 3), qsizetype(size - 3));

    // Records as the editor stores them.
    QList<macro_encoder::Record> records;
    for (const QString &line : text.split(QLatin1Char('\n')))
        records << macro_encoder::parseRecord(line);
    const int repeat = macro_encoder::blockRepeat(repeatText);
    FUZZ_CHECK(repeat >= 1 && repeat <= macro_encoder::kMaxRepeat);

    const auto codeOf = [](const QString &name) { return int(name.size() & 0xFF); };
    const QByteArray whole =
        macro_encoder::encode(records, repeat, codeOf, macro_encoder::kUnbounded);
    const QByteArray bounded = macro_encoder::encode(records, repeat, codeOf);
    const QByteArray &out = unbounded ? whole : bounded;
    FUZZ_CHECK(out.size() >= 2);
    // The repeat count leads, big-endian.
    FUZZ_CHECK(uchar(out.at(0)) == (repeat >> 8) && uchar(out.at(1)) == (repeat & 0xFF));
    FUZZ_CHECK(whole.size() == macro_encoder::encodedLength(records));
    // Within the block's bound the block is always well formed: it ends with a terminator, and a
    // macro that fits is not changed by the bound.
    FUZZ_CHECK(bounded.size() <= macroblock::kSize);
    if (bounded.size() > 2)
        FUZZ_CHECK(bounded.endsWith(QByteArray(2, '\0')));
    if (whole.size() <= macroblock::kSize)
        FUZZ_CHECK(bounded == whole);
    else
        FUZZ_CHECK(whole.startsWith(bounded.left(bounded.size() - 4)));

    QVariantList bytes;
    for (const char b : out)
        bytes << int(uchar(b));
    uchar block[macroblock::kSize];
    const bool fits = fillMacroBlock(bytes, block);
    FUZZ_CHECK(fits == (bytes.size() <= macroblock::kSize));
    if (fits) {
        for (int i = 0; i < macroblock::kSize; ++i)
            FUZZ_CHECK(block[i] == (i < out.size() ? uchar(out.at(i)) : 0));
    }
    return 0;
}
