// The .mc import check and the macro record parser: any file offered as a macro, and every record
// in it as text.

#include "fuzz_common.h"
#include "macro/macro_files.h"

#include <QSettings>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::workFolder() + QStringLiteral("/offered.mc");
    if (!fuzz::writeFile(path, data, size))
        return 0;
    const bool accepted = isMacroFile(path);

    // Each line as a record on its own.
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (!isMacroRecord(line))
            continue;
        FUZZ_CHECK(line.size() >= 3 && line.at(1) == QLatin1Char(','));
        FUZZ_CHECK(line.at(0) >= QLatin1Char('0') && line.at(0) <= QLatin1Char('4'));
    }

    if (accepted) {
        // What the check took reads back as the library will read it.
        const QSettings file(path, QSettings::IniFormat);
        const int total = file.value(QStringLiteral("config/total")).toInt();
        const int repeat = file.value(QStringLiteral("config/repeat")).toInt();
        FUZZ_CHECK(total >= 0 && repeat >= 1 && repeat <= 0xFFFF);
        for (int i = 0; i < total; ++i)
            FUZZ_CHECK(isMacroRecord(file.value(QStringLiteral("macro/%1").arg(i)).toString()));
    }
    return 0;
}
