// The language file reader, on any language file.

#include "controller/language_strings.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::workFolder() + QStringLiteral("/modules/i18n/German.ini");
    if (!fuzz::writeFile(path, data, size))
        return 0;
    for (const char *group : {"profile", "macro", "main", "General"}) {
        const QStringList texts =
            languageStrings(QString::fromLatin1(group), QStringLiteral("German"));
        FUZZ_CHECK(texts.size() <= 1024);
    }
    return 0;
}
