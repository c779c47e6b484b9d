// Linux: which window is in front, as the running desktop can tell it.

#include "platform/active_window_linux.h"

#include "platform/window_input_observer.h"

#include <QDebug>

std::unique_ptr<ActiveWindowWatcher> createActiveWindowWatcher(bool busReports)
{
    std::unique_ptr<ActiveWindowWatcher> watcher;
    if (!isWaylandSession()) {
        if (!qEnvironmentVariableIsEmpty("DISPLAY"))
            watcher = active_window::openX11();
    } else if (busReports && qEnvironmentVariable("XDG_CURRENT_DESKTOP")
                                 .split(QLatin1Char(':'))
                                 .contains(QLatin1String("KDE"), Qt::CaseInsensitive)) {
        watcher = active_window::openKwin();
    }
    // Under Wayland the X server sees only X programs: its active window would mislead.
    if (!watcher)
        qDebug() << "active window: this desktop does not say which application is in front;"
                    " profiles do not follow applications";
    return watcher;
}
