#include "app/start_refusal.h"

#include "base/data_folder.h"
#include "base/settings_file.h"
#include "controller/language_strings.h"
#include "platform/desktop_notification.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <cstdio>

namespace
{

// A notification service that takes longer than this is not waited for: the start is over.
constexpr int kNotificationTimeoutMs = 3000;

// The texts of English.ini, for a data folder that has none.
const char *const kBuiltInTexts[] = {
    "The TK700 utility cannot start while tk700ctl is using the mouse. Start it again when "
    "tk700ctl has finished.",
    "The TK700 utility is already running but does not answer.",
};

} // namespace

QString startRefusalText(StartRefusal why)
{
    const int index = int(why);
    // The running program's folder, read only: this process leaves it as it is.
    const QString folder =
        existingDataFolder(QCoreApplication::applicationDirPath(),
                           QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QString text;
    if (QDir::setCurrent(folder)) {
        const auto global = openSettingsFile(QStringLiteral("./modules/setting/apConfig.bin"));
        const QString language = global->value(QStringLiteral("common/language")).toString();
        text = languageStrings(QStringLiteral("start"),
                               isLanguageCode(language) ? language : QStringLiteral("English"))
                   .value(index);
    }
    return text.isEmpty() ? QString::fromUtf8(kBuiltInTexts[index]) : text;
}

void tellStartRefused(StartRefusal why)
{
    const QString text = startRefusalText(why);
    std::fprintf(stderr, "tk700: %s\n", text.toUtf8().constData());
    std::fflush(stderr);
    showDesktopNotification(QStringLiteral("Talvemark TK700"), text, kNotificationTimeoutMs);
}
