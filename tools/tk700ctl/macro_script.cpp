#include "macro_script.h"

#include "controller/language_strings.h"
#include "input/key_names.h"
#include "macro/macro_encoder.h"

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

// The language files in the order of the window's language list, which is also the order in
// which the window looks a key name up in every language.
const char *const kLanguageOrder[] = {
    "English", "ChineseSimplified", "ChineseTraditional", "German", "French", "Italian", "Spanish"};

} // namespace

QVariantList encodeStoredMacro(const QStringList &stored, const QString &language)
{
    // The names shown: the language file's over the built-in ones, as the window merges them (an
    // empty or missing entry keeps the built-in name).
    const QStringList builtIn = keys::builtInKeyNames();
    QStringList shown = builtIn;
    const QStringList loaded = languageStrings(QStringLiteral("keyCode"), language);
    for (qsizetype i = 0; i < shown.size() && i < loaded.size(); ++i) {
        if (!loaded.at(i).isEmpty())
            shown[i] = loaded.at(i);
    }
    QList<QStringList> nameLists{shown, builtIn};
    for (const char *code : kLanguageOrder)
        nameLists << languageStrings(QStringLiteral("keyCode"), QString::fromLatin1(code));
    const auto codeOf = [&nameLists](const QString &name) {
        return keys::codeOfKeyName(name, nameLists);
    };
    QList<macro_encoder::Record> records;
    for (qsizetype r = 0; r + 1 < stored.size(); ++r)
        records << macro_encoder::parseRecord(stored.at(r));
    const int repeat = macro_encoder::blockRepeat(stored.value(stored.size() - 1));
    QVariantList bytes;
    for (const char b : macro_encoder::encode(records, repeat, codeOf, macro_encoder::kUnbounded))
        bytes << int(uchar(b));
    return bytes;
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
