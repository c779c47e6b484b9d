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

bool SettingsStore::resetGlobal()
{
    const QString fileName = settingPath(QStringLiteral("apConfig.bin"));
    // Pending writes of the old object must not land on the new file later.
    apConfig->sync();
    if (!replaceFileWithCopy(settingPath(QStringLiteral("apConfigD.bin")), fileName))
        return false;
    delete apConfig;
    apConfig = openIni(settingPath(QStringLiteral("apConfig.bin")));
    return true;
}

bool SettingsStore::replaceProfile(int profile, const QString &source)
{
    QByteArray content;
    if (readRegularFile(source, kRuntimeFileMaxBytes, content) != ReadResult::Done)
        return false;
    return replaceProfileWith(profile, content);
}

bool SettingsStore::replaceProfileWith(int profile, const QByteArray &content)
{
    if (profile < 0 || profile >= kProfileCount)
        return false;
    QSettings *old = profiles.at(profile);
    // The slot's own file, also when the object works on a stand-in for an unreadable entry.
    const QString fileName = profileFileName(profile);
    // Pending writes of the old object must not land on the new file later.
    old->sync();
    if (!replaceFileWith(content, fileName))
        return false;
    delete old;
    profiles[profile] = openIni(fileName);
    return true;
}
