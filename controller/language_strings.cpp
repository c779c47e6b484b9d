#include "controller/language_strings.h"

#include "base/settings_file.h"

#include <QSettings>

namespace
{
// The largest group has 133 texts; a larger total comes from a damaged file and must not make us
// build millions of strings.
constexpr int kMaxTexts = 1024;

// The code is part of a path: only the shipped languages are taken, so that "../x" reads nothing.
// In the order of the window's language list.
const char *const kLanguageCodes[] = {
    "English", "ChineseSimplified", "ChineseTraditional", "German", "French", "Italian", "Spanish"};
} // namespace

bool isLanguageCode(const QString &langCode)
{
    for (const char *code : kLanguageCodes) {
        if (langCode == QLatin1String(code))
            return true;
    }
    return false;
}

QStringList languageCodes()
{
    QStringList codes;
    for (const char *code : kLanguageCodes)
        codes << QString::fromLatin1(code);
    return codes;
}

QStringList languageStrings(const QString &group, const QString &langCode)
{
    if (!isLanguageCode(langCode))
        return {};
    const QString fileName = QStringLiteral("./modules/i18n/") + langCode + QStringLiteral(".ini");
    if (runtimeFileState(fileName) != FileState::Usable)
        return {};
    // Qt 6 reads INI files as UTF-8.
    QSettings file(fileName, settingsFormat());
    const int total = qBound(0, file.value(group + QStringLiteral("/total"), 0).toInt(), kMaxTexts);
    QStringList texts;
    for (int i = 0; i < total; ++i)
        texts << file.value(group + QLatin1Char('/') + QString::number(i)).toString();
    return texts;
}
