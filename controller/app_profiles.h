#pragma once

// Profiles that follow the application in front: which applications each profile is bound to
// (apConfig's "appProfiles" group), and the follower that turns the desktop's activations into
// profile switches. An application is named as the desktop names it: the class of an X11 window
// (the second part of WM_CLASS), the app id of a Wayland one; names compare without case.

#include "base/settings_store.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace app_profiles
{

// "appProfiles/profile<N>": the applications of profile N (0-based), a list.
inline constexpr char kBindingKey[] = "appProfiles/profile";
// How long an application must stay in front before its profile is sent, in ms.
inline constexpr char kDelayKey[] = "appProfiles/delayMs";
inline constexpr int kDefaultDelayMs = 500;
inline constexpr int kMinDelayMs = 100;
inline constexpr int kMaxDelayMs = 10000;
inline constexpr int kMaxNameLength = 255;

// The applications bound to `profile`, as stored, without blanks and repeats.
QStringList boundApplications(const SettingsStore &settings, int profile);
// The profile `application` is bound to; -1 when none (or no application).
int profileOf(const SettingsStore &settings, const QString &application);
// Binds `application` to `profile`, taking it from the profile it was bound to: an application
// has one profile. False for a profile out of range or a name that names no application.
bool bind(SettingsStore &settings, int profile, const QString &application);
// Drops every binding of `profile`.
void unbindAll(SettingsStore &settings, int profile);
// The stored delay, held in range; the default when none is stored.
int switchDelayMs(const SettingsStore &settings);

} // namespace app_profiles

// Follows the application in front: once one has stayed in front for the delay, its bound
// profile is made current, or, for an application bound to none, the profile last chosen by
// hand (any change the follower did not make: the profile list, tk700ctl). Nothing is sent for
// a profile that is already current, and a switch waits while the window works. Profile
// numbers are 0-based.
class ProfileFollower : public QObject
{
    Q_OBJECT

public:
    // What the follower needs of the window.
    struct Window {
        std::function<int()> currentProfile;
        std::function<bool()> busy;
        // Starts the switch; false when none was started.
        std::function<bool(int profile)> switchTo;
    };

    ProfileFollower(std::function<int(const QString &)> profileOf, Window window,
                    QObject *parent = nullptr);

    void setDelay(int ms) { settleTimer.setInterval(ms); }
    int delay() const { return settleTimer.interval(); }

public slots:
    // The desktop's application in front; empty for none (or one without a name).
    void applicationActivated(const QString &application);
    // The window's current profile changed.
    void profileShown(int profile);
    // The window finished its device work.
    void windowIdle();

signals:
    // A switch was started: to the profile of `application`, or, when it is empty, back to the
    // profile chosen by hand.
    void switched(int profile, const QString &application);

private:
    void settle();

    std::function<int(const QString &)> profileOf;
    Window window;
    QTimer settleTimer;
    QString active;
    int handChosen = -1;
    int ownSwitch = -1; // the switch under way, until the window shows it
    bool waitsForIdle = false;
};
