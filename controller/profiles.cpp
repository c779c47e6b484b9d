#include "controller/profiles.h"

#include "base/ini_text.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSettings>

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
    // Parsed the way the program will read it; a line that is no entry refuses the file.
    QSettings::SettingsMap entries;
    if (!ini::parse(content, entries))
        return false;
    for (const char *group : kProfileGroups) {
        const QString prefix = QLatin1String(group) + QLatin1Char('/');
        const auto first = entries.lowerBound(prefix);
        if (first == entries.cend() || !first.key().startsWith(prefix))
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
    if (const SaveResult written = ctx.settings.replaceProfileWith(slot, content); !written)
        return refuse(text("The profile could not be written (%1).").arg(written.message()));
    return true;
}

SaveResult Profiles::exportFile(int slot, const QString &file)
{
    if (!checkSlot("saveProfile:", slot))
        return {file, QStringLiteral("no such profile")};
    QSettings &profile = ctx.settings.profile(slot);
    // Changes still held by the settings object belong in the exported copy.
    if (SaveResult saved = saveSettings(profile); !saved)
        return saved;
    return replaceFileWithCopy(profile.fileName(), file);
}

SaveResult Profiles::reset(int slot)
{
    if (!checkSlot("resetProfile:", slot))
        return {SettingsStore::profileFileName(slot), QStringLiteral("no such profile")};
    const QString defaults = SettingsStore::settingPath(QStringLiteral("pD.bin"));
    const SaveResult replaced = ctx.settings.replaceProfile(slot, defaults);
    if (!replaced)
        qDebug() << "resetProfile: could not copy" << defaults << "- profile" << slot << "kept";
    return replaced;
}

SaveResult Profiles::copy(int dest, int src)
{
    if (!checkSlot("copyProfile:", dest) || !checkSlot("copyProfile:", src))
        return {SettingsStore::profileFileName(dest), QStringLiteral("no such profile")};
    if (dest == src)
        return {};
    QSettings &source = ctx.settings.profile(src);
    // Changes still held by the source's settings object belong in the copy.
    if (SaveResult saved = saveSettings(source); !saved)
        return saved;
    const QString sourceFile = source.fileName();
    const SaveResult replaced = ctx.settings.replaceProfile(dest, sourceFile);
    if (!replaced)
        qDebug() << "copyProfile: could not copy" << sourceFile << "- profile" << dest << "kept";
    return replaced;
}
