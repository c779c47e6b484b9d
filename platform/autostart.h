#pragma once

// Starting the program with the user's desktop session, hidden in the tray. On Linux this is an
// XDG autostart entry, "autostart/tk700.desktop" in the user's configuration folder
// (autostart_<platform>.cpp).

#include <QString>

class Autostart
{
public:
    // The program's option to start without showing its window.
    static constexpr char kHiddenOption[] = "--hidden";

    // `configHome`: the user's configuration folder; `program`: the absolute path of the program
    // the entry starts.
    Autostart(QString configHome, QString program);
    // The current user's folder and this process's program.
    static Autostart forCurrentUser();

    // An entry is there and the desktop would follow it (not hidden, not switched off).
    bool isEnabled() const;
    // Writes the entry (through a temporary file) or removes it; true when the entry is as asked
    // afterwards.
    bool setEnabled(bool enabled);
    QString entryPath() const;
    // The entry's text: what setEnabled(true) writes.
    QByteArray entry() const;

private:
    QString configHome;
    QString program;
};
