#pragma once

// Which application is in front on the desktop, for the profiles that follow it
// (controller/app_profiles.h). One implementation per desktop (active_window_<way>_linux.cpp):
// the window manager's _NET_ACTIVE_WINDOW on X11, a KWin script on Plasma under Wayland. The
// program's own windows are left out: opening its window to bind a profile is no switch.

#include <QObject>
#include <QStringList>

#include <memory>

class ActiveWindowWatcher : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Whether it can tell now: a desktop's script may still be loading, or have been refused.
    virtual bool working() const { return true; }
    // The applications whose windows the desktop shows, or those seen in front where it does not
    // list its windows, sorted; for the binding dialog to offer.
    virtual QStringList applications() const = 0;

public slots:
    // An activation reported on the program's D-Bus service (a KWin script); ignored by watchers
    // that see the desktop themselves.
    virtual void report(const QString &application) { Q_UNUSED(application) }

signals:
    // The application now in front; empty when none is, or it has no name.
    void activated(const QString &application);
};

// The watcher of this session; none where the desktop does not say which window is in front
// (GNOME and most Wayland desktops), or says it cannot. `busReports`: the program's D-Bus service
// is on the bus, so that a KWin script can reach it.
std::unique_ptr<ActiveWindowWatcher> createActiveWindowWatcher(bool busReports);
