#pragma once

// The user's configuration folder, where the desktops read their settings and autostart entries:
// $XDG_CONFIG_HOME when it is an absolute path (a relative one is to be ignored), else ~/.config.

#include <QDir>
#include <QString>

inline QString userConfigHome()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    return QDir::isAbsolutePath(xdg) ? xdg : QDir::homePath() + QLatin1String("/.config");
}
