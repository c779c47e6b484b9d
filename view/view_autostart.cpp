// The QML API's slots for starting with the desktop: the platform's autostart entry.

#include "platform/autostart.h"
#include "view/myqquickview.h"

#include <QDebug>

bool myQQuickView::isStartWithDesktop()
{
    return Autostart::forCurrentUser().isEnabled();
}

bool myQQuickView::setStartWithDesktop(bool enabled)
{
    Autostart autostart = Autostart::forCurrentUser();
    const bool done = autostart.setEnabled(enabled);
    if (!done)
        qDebug() << "setStartWithDesktop failed:" << autostart.entryPath();
    return done;
}
