// The QML API's slots for starting with the desktop: the platform's autostart entry.

#include "controller/language_strings.h"
#include "platform/autostart.h"
#include "view/dialogs.h"
#include "view/myqquickview.h"

#include <QDebug>

namespace
{
// The check box's own text in the system panel's language list.
constexpr int kAutostartText = 9;
} // namespace

bool myQQuickView::isStartWithDesktop()
{
    return Autostart::forCurrentUser().isEnabled();
}

bool myQQuickView::setStartWithDesktop(bool enabled)
{
    Autostart autostart = Autostart::forCurrentUser();
    if (autostart.setEnabled(enabled))
        return true;
    qDebug() << "setStartWithDesktop failed:" << autostart.entryPath();
    const QString language = settings.globalData(QStringLiteral("common/language")).toString();
    const QString title = languageStrings(QStringLiteral("systemSetting"), language)
                              .value(kAutostartText, QStringLiteral("Start with the desktop"));
    Dialogs::instance().warning(window(), title,
                                (enabled ? tr("The autostart entry %1 could not be written.")
                                         : tr("The autostart entry %1 could not be removed."))
                                    .arg(autostart.entryPath()));
    return false;
}
