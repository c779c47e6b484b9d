#include "controller/app_profiles.h"

namespace app_profiles
{
namespace
{

QString keyOf(int profile)
{
    return QLatin1String(kBindingKey) + QString::number(profile);
}

bool inRange(int profile)
{
    return profile >= 0 && profile < SettingsStore::kProfileCount;
}

// A name as the desktop reports it: no surrounding blanks, no line breaks or other controls
// (nothing a window class holds, and they would break the settings line).
QString cleaned(const QString &name)
{
    const QString trimmed = name.trimmed();
    for (const QChar c : trimmed)
        if (c.category() == QChar::Other_Control)
            return {};
    return trimmed.size() <= kMaxNameLength ? trimmed : QString();
}

} // namespace

QStringList boundApplications(const SettingsStore &settings, int profile)
{
    if (!inRange(profile))
        return {};
    QStringList out;
    for (const QString &stored : settings.globalData(keyOf(profile)).toStringList()) {
        const QString name = cleaned(stored);
        if (!name.isEmpty() && !out.contains(name, Qt::CaseInsensitive))
            out << name;
    }
    return out;
}

int profileOf(const SettingsStore &settings, const QString &application)
{
    const QString name = cleaned(application);
    if (name.isEmpty())
        return -1;
    for (int p = 0; p < SettingsStore::kProfileCount; ++p)
        if (boundApplications(settings, p).contains(name, Qt::CaseInsensitive))
            return p;
    return -1;
}

bool bind(SettingsStore &settings, int profile, const QString &application)
{
    const QString name = cleaned(application);
    if (!inRange(profile) || name.isEmpty())
        return false;
    for (int p = 0; p < SettingsStore::kProfileCount; ++p) {
        QStringList apps = boundApplications(settings, p);
        const qsizetype before = apps.size();
        apps.removeIf([&](const QString &a) { return a.compare(name, Qt::CaseInsensitive) == 0; });
        if (p == profile)
            apps << name;
        if (p == profile || apps.size() != before)
            settings.setGlobalData(keyOf(p), apps);
    }
    return true;
}

void unbindAll(SettingsStore &settings, int profile)
{
    if (inRange(profile) && settings.globalData(keyOf(profile)).isValid())
        settings.setGlobalData(keyOf(profile), QStringList());
}

int switchDelayMs(const SettingsStore &settings)
{
    bool ok = false;
    const int ms = settings.globalData(QLatin1String(kDelayKey)).toInt(&ok);
    return ok ? qBound(kMinDelayMs, ms, kMaxDelayMs) : kDefaultDelayMs;
}

} // namespace app_profiles

ProfileFollower::ProfileFollower(std::function<int(const QString &)> profileOf, Window window,
                                 QObject *parent)
    : QObject(parent), profileOf(std::move(profileOf)), window(std::move(window))
{
    settleTimer.setSingleShot(true);
    settleTimer.setInterval(app_profiles::kDefaultDelayMs);
    connect(&settleTimer, &QTimer::timeout, this, &ProfileFollower::settle);
}

void ProfileFollower::applicationActivated(const QString &application)
{
    // Every activation starts the wait anew: alt-tabbing past an application sends nothing.
    active = application;
    waitsForIdle = false;
    settleTimer.start();
}

void ProfileFollower::profileShown(int profile)
{
    if (profile == ownSwitch) {
        ownSwitch = -1;
        return;
    }
    handChosen = profile;
}

void ProfileFollower::windowIdle()
{
    if (waitsForIdle && !settleTimer.isActive()) {
        waitsForIdle = false;
        settle();
    }
}

void ProfileFollower::settle()
{
    const int current = window.currentProfile();
    if (handChosen < 0)
        handChosen = current;
    const int bound = profileOf(active);
    const int target = bound >= 0 ? bound : handChosen;
    if (target == current)
        return;
    if (window.busy()) {
        waitsForIdle = true;
        return;
    }
    ownSwitch = target;
    if (!window.switchTo(target)) {
        ownSwitch = -1;
        return;
    }
    emit switched(target, bound >= 0 ? active : QString());
}
