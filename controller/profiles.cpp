#include "controller/profiles.h"

#include <QDebug>
#include <QSettings>

bool Profiles::checkSlot(const char *operation, int slot)
{
    if (isSlot(slot))
        return true;
    qDebug() << operation << "no profile slot" << slot;
    return false;
}

bool Profiles::importFile(int slot, const QString &file)
{
    if (!checkSlot("loadProfile:", slot))
        return false;
    if (!ctx.settings.replaceProfile(slot, file)) {
        qDebug() << "loadProfile: could not copy" << file << "- profile" << slot << "kept";
        return false;
    }
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
