#include "controller/profiles.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSettings>
#include <QTemporaryFile>

namespace
{

// Groups that every profile file holds, old ones included: the mouse's settings and the buttons.
const char *const kProfileGroups[] = {"mouse", "mouseKeyMatrix"};

QString text(const char *source)
{
    return QCoreApplication::translate("Profiles", source);
}

} // namespace

bool Profiles::checkSlot(const char *operation, int slot)
{
    if (isSlot(slot))
        return true;
    qDebug() << operation << "no profile slot" << slot;
    return false;
}

bool Profiles::isProfile(const QByteArray &content)
{
    if (content.isEmpty() || content.size() > kProfileFileMaxBytes || content.contains('\0'))
        return false;
    // Parsed the way the program will read it.
    QTemporaryFile file;
    if (!file.open() || file.write(content) != content.size() || !file.flush())
        return false;
    const QSettings profile(file.fileName(), QSettings::IniFormat);
    // Parses every section; a line that is no entry sets the status.
    const QStringList groups = profile.childGroups();
    if (profile.status() != QSettings::NoError)
        return false;
    for (const char *group : kProfileGroups) {
        if (!groups.contains(QLatin1String(group)))
            return false;
    }
    return true;
}

bool Profiles::importFile(int slot, const QString &file, QString *refusal)
{
    auto refuse = [&](const QString &why) {
        qDebug() << "loadProfile: refused" << file << "-" << why << "- profile" << slot << "kept";
        if (refusal)
            *refusal = why;
        return false;
    };
    if (!checkSlot("loadProfile:", slot))
        return refuse(text("There is no such profile."));
    QByteArray content;
    switch (readRegularFile(file, kProfileFileMaxBytes, content)) {
    case ReadResult::Done:
        break;
    case ReadResult::NotRegular:
        return refuse(text("This is not a regular file."));
    case ReadResult::TooLarge:
        return refuse(text("The file is too large to be a profile."));
    case ReadResult::Missing:
    case ReadResult::Unreadable:
        return refuse(text("The file cannot be read."));
    }
    if (!isProfile(content))
        return refuse(text("This file is not a profile."));
    if (!ctx.settings.replaceProfileWith(slot, content))
        return refuse(text("The profile could not be written."));
    return true;
}

bool Profiles::exportFile(int slot, const QString &file)
{
    if (!checkSlot("saveProfile:", slot))
        return false;
    QSettings &profile = ctx.settings.profile(slot);
    // Changes still held by the settings object belong in the exported copy.
    profile.sync();
    if (!replaceFileWithCopy(profile.fileName(), file)) {
        qDebug() << "saveProfile: could not write" << file;
        return false;
    }
    return true;
}

bool Profiles::reset(int slot)
{
    if (!checkSlot("resetProfile:", slot))
        return false;
    const QString defaults = SettingsStore::settingPath(QStringLiteral("pD.bin"));
    if (!ctx.settings.replaceProfile(slot, defaults)) {
        qDebug() << "resetProfile: could not copy" << defaults << "- profile" << slot << "kept";
        return false;
    }
    return true;
}

bool Profiles::copy(int dest, int src)
{
    if (!checkSlot("copyProfile:", dest) || !checkSlot("copyProfile:", src))
        return false;
    if (dest == src)
        return true;
    QSettings &source = ctx.settings.profile(src);
    // Changes still held by the source's settings object belong in the copy.
    source.sync();
    const QString sourceFile = source.fileName();
    if (!ctx.settings.replaceProfile(dest, sourceFile)) {
        qDebug() << "copyProfile: could not copy" << sourceFile << "- profile" << dest << "kept";
        return false;
    }
    return true;
}
