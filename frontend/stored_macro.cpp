#include "frontend/stored_macro.h"

#include "controller/language_strings.h"
#include "input/key_names.h"
#include "macro/macro_download.h"
#include "macro/macro_encoder.h"
#include "macro/macro_files.h"

#include <QDir>
#include <QDirIterator>

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

MacroNames macroNames()
{
    MacroNames names;
    const QString root = QDir(macroRoot()).absolutePath();
    QDirIterator it(root, {QStringLiteral("*") + macroSuffix()}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString path = QDir(root).relativeFilePath(file);
        (isMacroFile(file) ? names.macros : names.refused)
            << path.left(path.size() - macroSuffix().size());
    }
    names.macros.sort();
    names.refused.sort();
    return names;
}

NamedMacro namedMacro(const QString &name, const QString &language)
{
    NamedMacro m;
    auto refuse = [&m](NamedMacro::Problem problem, const QString &message) {
        m.problem = problem;
        m.message = message;
        m.bytes.clear();
        return m;
    };
    const MacroNames names = macroNames();
    if (!names.macros.contains(name) && !names.refused.contains(name))
        return refuse(NamedMacro::Problem::Unknown,
                      QStringLiteral("macro: no macro named %1 (see macro list)").arg(name));
    QStringList folders = name.split(QLatin1Char('/'));
    const QString file = folders.takeLast();
    MacroSelection selection;
    selection.setNames(folders);
    const int level = int(folders.size());
    // The window's words for a file it does not take as a macro.
    if (!isMacroFile(selection.macroPath(level, file)))
        return refuse(
            NamedMacro::Problem::NotMacro,
            QStringLiteral("macro %1: this file is not a macro file; nothing was sent").arg(name));
    const QStringList stored = MacroFiles(selection).load(level, file);
    if (stored.isEmpty())
        return refuse(NamedMacro::Problem::Unreadable,
                      QStringLiteral("macro %1 cannot be read").arg(name));
    m.bytes = encodeStoredMacro(stored, language);
    if (!fitsMacroBlock(m.bytes))
        return refuse(NamedMacro::Problem::TooLong,
                      QStringLiteral("macro %1 needs %2 bytes, more than the %3 the mouse keeps: "
                                     "nothing was sent")
                          .arg(name)
                          .arg(m.bytes.size())
                          .arg(macroblock::kSize));
    return m;
}
