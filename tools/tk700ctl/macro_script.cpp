#include "macro_script.h"

#include "controller/language_strings.h"
#include "input/key_names.h"
#include "macro/macro_encoder.h"

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
    // Every language in the order of the window's list, which is the order the window looks in.
    for (const QString &code : languageCodes())
        nameLists << languageStrings(QStringLiteral("keyCode"), code);
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
