#include "controller/language_strings.h"

#include "device/hid_thread.h"

#include <QFile>
#include <QSettings>

namespace
{
constexpr int kNotificationTexts = 8;
}

QStringList languageStrings(const QString &group, const QString &langCode)
{
    const QString fileName = QStringLiteral("./modules/i18n/") + langCode + QStringLiteral(".ini");
    if (!QFile::exists(fileName))
        return {};
    // Qt 6 reads INI files as UTF-8.
    QSettings file(fileName, QSettings::IniFormat);
    const int total = file.value(group + QStringLiteral("/total"), 0).toInt();
    QStringList texts;
    for (int i = 0; i < total; ++i)
        texts << file.value(group + QLatin1Char('/') + QString::number(i)).toString();

    // Fewer than eight texts leave the remaining notifications as they were.
    if (group == QLatin1String("other")) {
        for (int i = 0; i < kNotificationTexts && i < texts.size(); ++i)
            notificationTexts[i] = texts.at(i);
    }
    return texts;
}
