#pragma once

// The program's top-level window and its place in the tray: it holds the device link, the window
// controller and the device timer that turns device changes into a scan.

#include "device/hid_thread.h"

#include <QStringList>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <functional>

// Whether a mouse is connected now: a restore command from the tray or another instance is acted
// on only then.
extern bool deviceConnected;

// The texts of the DPI-button notifications: one per stage 1 ... 7, then one for stage 8.
constexpr int kStageNotifications = 7;
constexpr int kNotificationTexts = kStageNotifications + 1;
extern QString notificationTexts[kNotificationTexts];
// The notes of a profile that followed the application in front: "%1" the profile, "%2" the
// application; the second for the return to the profile chosen by hand.
constexpr int kFollowNotifications = 2;
extern QString followNotificationTexts[kFollowNotifications];
// The notifications follow the language group "other" as the pages read it: its first texts
// replace them (the DPI notes, then the profile notes); fewer texts leave the rest as they were.
// Other groups change nothing.
void takeNotificationTexts(const QString &group, const QStringList &texts);
// The notification of a stage report.
const QString &notificationText(int stage);

class Ui_Controler;
class DeviceChangeNotifier;

class Widget : public QWidget
{
    Q_OBJECT

public:
    explicit Widget(QWidget *parent = nullptr);
    ~Widget() override;

    static constexpr int kDeviceTimerMs = 2048;
    static constexpr int kBalloonMs = 10000;

    QTimer deviceTimer;
    Ui_Controler *controler = nullptr;
    Hid_Thread hidLink;
    QSystemTrayIcon *trayIcon = nullptr;

    // Starts the UI after a connect: initUI queued, then run through a posted UserEvent.
    void launchUi();
    // A device change, as the system's device-change message: restarts the device timer unless a
    // device is being watched.
    void deviceChangeMessage();
    // The restore command the widget sends to itself; it arrives through the event queue. It shows
    // the window un-minimised and raised.
    void postRestore();
    // Where no tray exists a hidden window could not be brought back: it is minimised instead.
    std::function<bool()> trayAvailable = &QSystemTrayIcon::isSystemTrayAvailable;
    void setVisible(bool visible) override;

    // The stage event of the mouse's DPI button, on this thread; a stage the mouse does not have is
    // logged and ignored.
    void showDpiStage(int stage);
    // A profile became current because `application` came to the front, or (empty) because none
    // that is bound is.
    void showProfileFollowed(const QString &profileName, const QString &application);

signals:
    // A usable mouse was connected (true), or went or could not be used (false).
    void mouseConnected(bool connected);

public slots:
    void trayIconActivated(QSystemTrayIcon::ActivationReason reason);
    void checkDevice();
    void exitSYS();
    // Quit from the tray menu: with pages not applied, the window asks first (Apply, Discard or
    // Cancel) and the answer decides; otherwise the program ends at once.
    void quitAsked();
    void receiveMessage(QString message);

protected:
    void customEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void buildTrayIcon();
    void showBalloon(const QString &title, const QString &text);
    // The watch saw the device go: the view takes no input until the next connect.
    void deviceGone();
    // The device timer ran out: scan, unless a device is watched or a scan or exchange is under
    // way further up the stack.
    void deviceTimerFired();
    void restore();
    // No usable mouse: the view takes no input and the window goes to the tray.
    void noDevice();

    DeviceChangeNotifier *deviceChanges = nullptr;
    bool scanning = false;
};
