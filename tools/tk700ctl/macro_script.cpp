#include "macro_script.h"

#include <QFile>
#include <QJSEngine>
#include <QRegularExpression>

namespace
{

QString resourceText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The array literal of `property` in the key name table's QML: from its "[" to the "]" that
// closes it, outside the strings.
QString arrayLiteral(const QString &qml, const QString &property)
{
    const QRegularExpressionMatch start =
        QRegularExpression(property + QStringLiteral(R"(:\s*\[)")).match(qml);
    if (!start.hasMatch())
        return {};
    bool inString = false;
    for (qsizetype i = start.capturedEnd(); i < qml.size(); ++i) {
        const QChar c = qml.at(i);
        if (inString && c == QLatin1Char('\\'))
            ++i;
        else if (c == QLatin1Char('"'))
            inString = !inString;
        else if (!inString && c == QLatin1Char(']'))
            return qml.mid(start.capturedEnd() - 1, i - start.capturedEnd() + 2);
    }
    return {};
}

} // namespace

QVariantList encodeStoredMacro(const QStringList &stored, const QStringList &names, QString *error)
{
    QString encoder = resourceText(QStringLiteral(":/modules/qml/js/MacroEncoder.js"));
    const QString table = resourceText(QStringLiteral(":/modules/qml/basic/KeyCodeString.qml"));
    const QString codes = arrayLiteral(table, QStringLiteral("keyCode"));
    const QString tableNames = arrayLiteral(table, QStringLiteral("baseNames"));
    if (encoder.isEmpty() || codes.isEmpty() || tableNames.isEmpty()) {
        *error = QStringLiteral("the macro encoder or the key name table is missing");
        return {};
    }
    // A QML library pragma means nothing to a plain engine.
    encoder.remove(QRegularExpression(QStringLiteral("^\\.pragma[^\n]*"),
                                      QRegularExpression::MultilineOption));

    QJSEngine engine;
    QJSValue result = engine.evaluate(encoder, QStringLiteral("MacroEncoder.js"));
    if (result.isError()) {
        *error = QStringLiteral("the macro encoder failed: ") + result.toString();
        return {};
    }
    const QJSValue run = engine.evaluate(
        QStringLiteral("(function(stored, names) {"
                       "  var codes = %1; var own = %2;"
                       "  function codeOf(name) {"
                       "    var i = names.indexOf(name);"
                       "    if (i < 0) i = own.indexOf(name);"
                       "    return i < 0 || i >= codes.length ? 0 : codes[i];"
                       "  }"
                       "  var records = [];"
                       "  for (var r = 0; r < stored.length - 1; ++r)"
                       "    records.push(parseRecord(stored[r]));"
                       "  return encode(records, blockRepeat(stored[stored.length - 1]), codeOf,"
                       "                Number.MAX_SAFE_INTEGER);"
                       "})")
            .arg(codes, tableNames));
    result = run.call({engine.toScriptValue(stored), engine.toScriptValue(names)});
    if (result.isError() || !result.isArray()) {
        *error = QStringLiteral("the macro encoder failed: ") + result.toString();
        return {};
    }
    return result.toVariant().toList();
}
