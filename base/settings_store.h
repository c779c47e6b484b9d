#pragma once

#include "base/settings_file.h"

#include <QList>
#include <QSettings>
#include <QVariant>

// The settings files of the program: the global file apConfig.bin (which also holds the device
// table), the factory profile pD.bin and the ten profile files p1.bin ... p10.bin. All are INI
// files in ./modules/setting/, relative to the executable's folder.
class SettingsStore
{
public:
    static constexpr int kProfileCount = 10;

    SettingsStore();
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    static QString settingPath(const QString &fileName);
    static QString profileFileName(int profile); // "./modules/setting/p<n+1>.bin"

    QVariant data(const QString &key, bool isRecovery) const;
    QVariantList dataList(const QString &key, bool isRecovery) const;
    void setData(const QString &key, const QVariant &value);
    QVariant globalData(const QString &key) const;
    void setGlobalData(const QString &key, const QVariant &value);

    int currentProfile() const { return current; }
    // Refuses slots outside 0...9 and keeps the current one.
    bool setCurrentProfile(int profile);

    // Writes the changes made to apConfig.bin and the profile files; the first file that could
    // not be written, after all were tried. Changes that were not written stay pending.
    SaveResult save();

    // Replaces apConfig.bin by apConfigD.bin. The old file stays when the copy cannot be made.
    SaveResult resetGlobal();

    QSettings &global() { return *apConfig; }
    QSettings &defaults() { return *profileDefaults; }
    QSettings &profile(int index) { return *profiles.at(index); }
    QSettings &currentProfileSettings() { return *profiles.at(current); }

    // Replaces the file of slot `profile` by a copy of `source`; on failure the old file stays.
    // The slot's settings object is reopened at the same list position.
    SaveResult replaceProfile(int profile, const QString &source);
    // The same with the bytes of a profile file.
    SaveResult replaceProfileWith(int profile, const QByteArray &content);

private:
    // Replaces the file of `settings` by `content` and opens it anew. Its pending changes are
    // written first: left in Qt's shared cache of the file, they would land on the new file.
    SaveResult replaceWith(QSettings *&settings, const QString &fileName, const QByteArray &content);

    QSettings *apConfig = nullptr;
    QSettings *profileDefaults = nullptr;
    QList<QSettings *> profiles;
    int current = 0;
};
