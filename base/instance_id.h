#pragma once

// Where the running program is known: its single-instance lock and socket, named for the user in
// the user's runtime folder. Other tools of the program (tk700ctl) look there too.

#include <QString>

// "tk700-<uid>": one instance per user, wherever the program was started from.
QString instanceId();
// The user's runtime folder, or the temporary folder where there is none.
QString instanceFolder();
// The lock file the running program holds: "<folder>/<id>.lock", by default the user's.
QString instanceLockPath(const QString &folder = instanceFolder(),
                         const QString &id = instanceId());
// tk700ctl holds the instance lock too while it works on the mouse, and with it this one,
// "<folder>/<id>-tk700ctl.lock": a program started meanwhile can tell its user why it ends.
QString toolLockPath(const QString &folder = instanceFolder(), const QString &id = instanceId());
