#include "macro_script.h"

#include "controller/language_strings.h"

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

// A QML library pragma means nothing to a plain engine.
void removePragma(QString &script)
{
    static const QRegularExpression pragma(QStringLiteral("^\\.pragma[^\n]*"),
                                           QRegularExpression::MultilineOption);
    script.remove(pragma);
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

QVariantList encodeStoredMacro(const QStringList &stored, const QString &language, QString *error)
{
    QString encoder = resourceText(QStringLiteral(":/modules/qml/js/MacroEncoder.js"));
    QString languages = resourceText(QStringLiteral(":/modules/qml/js/Language.js"));
    const QString table = resourceText(QStringLiteral(":/modules/qml/basic/KeyCodeString.qml"));
    const QString codes = arrayLiteral(table, QStringLiteral("keyCode"));
    const QString tableNames = arrayLiteral(table, QStringLiteral("baseNames"));
    if (encoder.isEmpty() || languages.isEmpty() || codes.isEmpty() || tableNames.isEmpty()) {
        *error = QStringLiteral("the macro encoder or the key name table is missing");
        return {};
    }
    removePragma(encoder);
    removePragma(languages);

    QJSEngine engine;
    QJSValue result = engine.evaluate(encoder, QStringLiteral("MacroEncoder.js"));
    // The language codes in the window's order, from its own list, kept out of the encoder's
    // globals.
    const QJSValue codeList =
        engine.evaluate(QStringLiteral("(function() {\n%1\nreturn allCodes(); })()").arg(languages),
                        QStringLiteral("Language.js"));
    if (result.isError() || codeList.isError()) {
        *error = QStringLiteral("the macro encoder failed: ") +
                 (result.isError() ? result : codeList).toString();
        return {};
    }
    // A name is looked up as the window does: in the names of the language shown, in the
    // table's own names, then in every language's names (a macro keeps the names it was
    // recorded with).
    QVariantList everyLanguage;
    for (const QVariant &code : codeList.toVariant().toList())
        everyLanguage << QVariant(languageStrings(QStringLiteral("keyCode"), code.toString()));
    const QJSValue run = engine.evaluate(
        QStringLiteral("(function(stored, names, tables) {"
                       "  var codes = %1; var own = %2;"
                       "  function codeIn(list, name) {"
                       "    var i = list.indexOf(name);"
                       "    return i >= 0 && i < codes.length ? codes[i] : 0;"
                       "  }"
                       "  function codeOf(name) {"
                       "    var code = codeIn(names, name) || codeIn(own, name);"
                       "    for (var t = 0; !code && t < tables.length; ++t)"
                       "      code = codeIn(tables[t], name);"
                       "    return code;"
                       "  }"
                       "  var records = [];"
                       "  for (var r = 0; r < stored.length - 1; ++r)"
                       "    records.push(parseRecord(stored[r]));"
                       "  return encode(records, blockRepeat(stored[stored.length - 1]), codeOf,"
                       "                Number.MAX_SAFE_INTEGER);"
                       "})")
            .arg(codes, tableNames));
    result = run.call({engine.toScriptValue(stored),
                       engine.toScriptValue(languageStrings(QStringLiteral("keyCode"), language)),
                       engine.toScriptValue(everyLanguage)});
    if (result.isError() || !result.isArray()) {
        *error = QStringLiteral("the macro encoder failed: ") + result.toString();
        return {};
    }
    return result.toVariant().toList();
}

std::optional<int> storedValueCode(const QString &function, const QVariant &stored)
{
    QString script = resourceText(QStringLiteral(":/modules/qml/js/StoredValues.js"));
    removePragma(script);
    QJSEngine engine;
    if (script.isEmpty() || engine.evaluate(script, QStringLiteral("StoredValues.js")).isError())
        return std::nullopt;
    const QJSValue result =
        engine.globalObject().property(function).call({engine.toScriptValue(stored)});
    if (result.isError() || !result.isNumber())
        return std::nullopt;
    return result.toInt();
}
