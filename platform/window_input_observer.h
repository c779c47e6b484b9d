#pragma once

// The key and button events of the program's own windows, for sessions where the desktop's input
// cannot be observed: native Wayland, and XWayland, where X RECORD sees only X programs. Keys a
// desktop repeats while one is held arrive as extra presses and releases marked as repeats; they
// are dropped, so a held key is one press and one release, as the X RECORD observer reports it.

#include "input/input_hook.h"

#include <QObject>
#include <QString>

class WindowInputObserver : public QObject, public InputObserver
{
public:
    bool start() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Whether a session must use the program's own windows: a Wayland session (the Qt platform, or
// the session's type, or a Wayland display), where an X server, if any, serves X programs only.
bool isWaylandSession(const QString &qtPlatform, const QString &sessionType,
                      const QString &waylandDisplay);
bool isWaylandSession(); // of this process
