#include "base/settings_store.h"

namespace
{

// FIFOs, devices and huge files in place of a settings file are worked around, not read.
QSettings *openIni(const QString &fileName)
{
    return newSettingsFile(fileName);
}

} // namespace

SettingsStore::SettingsStore()
    : apConfig(openIni(settingPath(QStringLiteral("apConfig.bin")))),
      profileDefaults(openIni(settingPath(QStringLiteral("pD.bin"))))
{
    for (int i = 0; i < kProfileCount; ++i)
        profiles.append(openIni(profileFileName(i)));
}

SettingsStore::~SettingsStore()
{
    qDeleteAll(profiles);
    delete profileDefaults;
    delete apConfig;
}

QString SettingsStore::settingPath(const QString &fileName)
{
    return QStringLiteral("./modules/setting/") + fileName;
}

QString SettingsStore::profileFileName(int profile)
{
    return settingPath(QStringLiteral("p%1.bin").arg(profile + 1));
}

QVariant SettingsStore::data(const QString &key, bool isRecovery) const
{
    const QSettings *source = isRecovery ? profileDefaults : profiles.at(current);
    return source->value(key);
}

QVariantList SettingsStore::dataList(const QString &key, bool isRecovery) const
{
    return storedList(data(key, isRecovery));
}

void SettingsStore::setData(const QString &key, const QVariant &value)
{
    profiles.at(current)->setValue(key, value);
}

QVariant SettingsStore::globalData(const QString &key) const
{
    return apConfig->value(key);
}

void SettingsStore::setGlobalData(const QString &key, const QVariant &value)
{
    apConfig->setValue(key, value);
}

bool SettingsStore::setCurrentProfile(int profile)
{
    if (profile < 0 || profile >= kProfileCount)
        return false;
    current = profile;
    return true;
}

SaveResult SettingsStore::save()
{
    SaveResult first = saveSettings(*apConfig);
    for (QSettings *profile : std::as_const(profiles)) {
        const SaveResult saved = saveSettings(*profile);
        if (first && !saved)
            first = saved;
    }
    return first;
}

SaveResult SettingsStore::replaceWith(QSettings *&settings, const QString &fileName,
                                      const QByteArray &content)
{
    if (SaveResult saved = saveSettings(*settings); !saved)
        return saved;
    if (SaveResult replaced = replaceFileWith(content, fileName); !replaced)
        return replaced;
    delete settings;
    settings = openIni(fileName);
    return {};
}

SaveResult SettingsStore::resetGlobal()
{
    const QString fileName = settingPath(QStringLiteral("apConfig.bin"));
    QByteArray content;
    if (SaveResult read = readForCopy(settingPath(QStringLiteral("apConfigD.bin")), fileName,
                                      content);
        !read)
        return read;
    return replaceWith(apConfig, fileName, content);
}

SaveResult SettingsStore::replaceProfile(int profile, const QString &source)
{
    QByteArray content;
    if (SaveResult read = readForCopy(source, profileFileName(profile), content); !read)
        return read;
    return replaceProfileWith(profile, content);
}

SaveResult SettingsStore::replaceProfileWith(int profile, const QByteArray &content)
{
    if (profile < 0 || profile >= kProfileCount)
        return {profileFileName(profile), QStringLiteral("no such profile")};
    // The slot's own file, also when the object works on a stand-in for an unreadable entry.
    return replaceWith(profiles[profile], profileFileName(profile), content);
}
