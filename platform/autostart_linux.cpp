// The XDG autostart entry: a desktop entry in $XDG_CONFIG_HOME/autostart, started by GNOME, KDE
// and the other desktops at log-in.

#include "platform/autostart.h"

#include "base/runtime_files.h"
#include "platform/config_home.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace
{

const QString kEntryName = QStringLiteral("tk700.desktop");

// An argument of Exec: quoted, with the characters the desktop entry format reserves inside
// quotes escaped, then the backslashes doubled once more for the string value itself.
QString execArgument(const QString &argument)
{
    QString quoted;
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// A value of a desktop entry, as the desktops read it: case matters, "true" only in lower case.
QString entryValue(const QByteArray &content, const QByteArray &key)
{
    bool inEntry = false;
    for (const QByteArray &raw : content.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('['))
            inEntry = line == "[Desktop Entry]";
        else if (inEntry && line.startsWith(key + '='))
            return QString::fromUtf8(line.mid(key.size() + 1)).trimmed();
    }
    return {};
}

} // namespace

Autostart::Autostart(QString configHome, QString program)
    : configHome(std::move(configHome)), program(std::move(program))
{
}

Autostart Autostart::forCurrentUser()
{
    return {userConfigHome(), QCoreApplication::applicationFilePath()};
}

QString Autostart::entryPath() const
{
    return configHome + QLatin1String("/autostart/") + kEntryName;
}

QByteArray Autostart::entry() const
{
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=Talvemark TK700\n"
                                  "Comment=Configuration utility for the TK700 mouse, in the tray\n"
                                  "Icon=tk700\n");
    text += QLatin1String("Exec=") + execArgument(program) + QLatin1Char(' ') +
            QLatin1String(kHiddenOption) + QLatin1Char('\n');
    text += QStringLiteral("Terminal=false\n"
                           "X-GNOME-Autostart-enabled=true\n");
    return text.toUtf8();
}

bool Autostart::isEnabled() const
{
    QByteArray content;
    if (readRegularFile(entryPath(), kRuntimeFileMaxBytes, content) != ReadResult::Done)
        return false;
    return entryValue(content, "Hidden") != QLatin1String("true") &&
           entryValue(content, "X-GNOME-Autostart-enabled") != QLatin1String("false") &&
           !entryValue(content, "Exec").isEmpty();
}

bool Autostart::setEnabled(bool enabled)
{
    const QString path = entryPath();
    if (!enabled) {
        // A link is removed, never followed.
        const QFileInfo info(path);
        if (info.exists() || info.isSymLink())
            QFile::remove(path);
        return !isEnabled() && !QFileInfo(path).isSymLink() && !QFileInfo::exists(path);
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    // The save would follow a link and write its target.
    if (QFileInfo(path).isSymLink() && !QFile::remove(path))
        return false;
    return replaceFileWith(entry(), path) && isEnabled();
}
