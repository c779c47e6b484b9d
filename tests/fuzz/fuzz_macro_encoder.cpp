// The macro encoder of the pages (modules/qml/js/MacroEncoder.js, run by Qt's JS engine as the
// QML document runs it) on any records and repeat count, and the C++ side that turns its bytes
// into the block the mouse gets.

#include "fuzz_common.h"
#include "macro/macro_download.h"

#include <QJSEngine>
#include <QJsonValue>

namespace
{

QJSEngine &engine()
{
    static QJSEngine *js = [] {
        fuzz::workFolder();
        auto *e = new QJSEngine;
        QFile file(QStringLiteral(TK700_MACRO_ENCODER_JS));
        if (!file.open(QIODevice::ReadOnly))
            std::abort();
        // A library script of the QML document: its functions become globals here.
        QString source = QString::fromUtf8(file.readAll());
        source.replace(QStringLiteral(".pragma library"), QString());
        const QJSValue result = e->evaluate(source, file.fileName());
        if (result.isError()) {
            std::fprintf(stderr, "%s\n", qPrintable(result.toString()));
            std::abort();
        }
        return e;
    }();
    return *js;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    QJSEngine &js = engine();
    const QJSValue global = js.globalObject();
    const bool unbounded = data[0] & 1;
    const QString repeatText =
        QString::number(int(data[1]) << 8 | data[2]) + QString::fromLatin1(data[0] & 2 ? "x" : "");
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 3), qsizetype(size - 3));

    // Records as the editor stores them, parsed by the script's own parser.
    const QStringList lines = text.split(QLatin1Char('\n'));
    QJSValue records = js.newArray(uint(lines.size()));
    for (int i = 0; i < lines.size(); ++i)
        records.setProperty(
            uint(i), global.property(QStringLiteral("parseRecord")).call({QJSValue(lines.at(i))}));
    const QJSValue repeat =
        global.property(QStringLiteral("blockRepeat")).call({QJSValue(repeatText)});
    FUZZ_CHECK(repeat.isNumber() && repeat.toInt() >= 1 && repeat.toInt() <= 0xFFFF);

    const QJSValue codeOf =
        js.evaluate(QStringLiteral("(function (name) { return name.length & 0xFF })"));
    QJSValueList args{records, repeat, codeOf};
    if (unbounded)
        args << js.evaluate(QStringLiteral("Number.MAX_SAFE_INTEGER"));
    const QJSValue out = global.property(QStringLiteral("encode")).call(args);
    FUZZ_CHECK(!out.isError() && out.isArray());

    const QVariantList bytes = out.toVariant().toList();
    FUZZ_CHECK(bytes.size() >= 2);
    for (const QVariant &b : bytes) {
        bool ok = false;
        const double value = b.toDouble(&ok);
        if (!(ok && value >= 0 && value <= 255 && value == double(int(value))))
            std::fprintf(
                stderr, "not a byte: %s in %s\n", qPrintable(b.toString()),
                qPrintable(QJsonValue::fromVariant(bytes).toVariant().toStringList().join(',')));
        FUZZ_CHECK(ok && value >= 0 && value <= 255 && value == double(int(value)));
    }
    // The repeat count leads, big-endian.
    FUZZ_CHECK(bytes.at(0).toInt() == (repeat.toInt() >> 8) &&
               bytes.at(1).toInt() == (repeat.toInt() & 0xFF));
    // Within the block's bound the block is always well formed: it ends with a terminator.
    if (!unbounded) {
        FUZZ_CHECK(bytes.size() <= macroblock::kSize);
        if (bytes.size() > 2)
            FUZZ_CHECK(bytes.at(bytes.size() - 1).toInt() == 0 &&
                       bytes.at(bytes.size() - 2).toInt() == 0);
    }

    uchar block[macroblock::kSize];
    const bool fits = fillMacroBlock(bytes, block);
    FUZZ_CHECK(fits == (bytes.size() <= macroblock::kSize));
    if (fits) {
        for (int i = 0; i < macroblock::kSize; ++i)
            FUZZ_CHECK(block[i] == (i < bytes.size() ? bytes.at(i).toInt() : 0));
    }
    js.collectGarbage();
    return 0;
}
