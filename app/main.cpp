// Start-up: one running instance per user, working in the folder of its executable.

#include "app/bus_service.h"
#include "app/input_forwarding.h"
#include "app/single_application.h"
#include "app/start_refusal.h"
#include "app/widget.h"
#include "app/window_owner.h"
#include "base/data_folder.h"
#include "base/runtime_files.h"
#include "controller/app_profiles.h"
#include "input/input_hook.h"
#include "platform/active_window.h"
#include "platform/autostart.h"
#include "platform/input_observer.h"
#include "platform/termination_signals.h"
#include "view/dialogs.h"
#include "view/myqquickview.h"
#include "view/settings_check_box.h"
#include "view/ui_controler.h"

#include <QDBusConnection>
#include <QDir>
#include <QQuickWindow>
#include <QStandardPaths>

namespace
{
// How long a second instance tries to wake the first.
constexpr int kWakeMessageTimeoutMs = 5000;
} // namespace

int main(int argc, char *argv[])
{
    // The UI is plain 2D: the software scene graph starts fast and needs no GPU.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    SingleApplication app(argc, argv);
    if (app.isRunning()) {
        // The running program shows its window; when nothing takes the message, the user is told
        // why this start ends.
        if (!app.sendMessage(QString(), kWakeMessageTimeoutMs))
            tellStartRefused(app.heldByTool() ? StartRefusal::ToolHoldsMouse
                                              : StartRefusal::NoAnswer);
        return 1;
    }

    // Every ./modules/... path resolves in the data folder: beside the executable, or in the
    // user's own folder when the program is installed where the user cannot write.
    const QString dataFolder =
        prepareDataFolder(QCoreApplication::applicationDirPath(),
                          QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    if (dataFolder.isEmpty() || !QDir::setCurrent(dataFolder)) {
        Dialogs::instance().warning(
            nullptr, QStringLiteral("Talvemark TK700"),
            QStringLiteral("The settings folder %1 could not be prepared. Check that it can be "
                           "written and that the disk is not full.")
                .arg(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
        return 1;
    }
    // What a killed earlier run left half-written beside its files goes first; the single
    // instance above makes sure no other run is writing them.
    sweepStaleTemporaries();
    // A broken settings file is named, and its factory copy offered, before anything reads it.
    if (!checkSettingsFiles(Dialogs::instance()))
        return 1;

    // Being told to end is choosing Quit in the tray menu: the same teardown follows.
    TerminationSignals termination;
    Widget widget;
    QObject::connect(&app, &SingleApplication::messageReceived, &widget, &Widget::receiveMessage);
    QObject::connect(&termination, &TerminationSignals::requested, &widget, &Widget::exitSYS);
    // The window is mapped first; the hook, the bus and the watchers below are ready long before
    // the start-up logo gives way to the pages. Started with the desktop: in the tray only, unless
    // there is no tray to reach it from.
    if (!QCoreApplication::arguments().contains(QLatin1String(Autostart::kHiddenOption)))
        widget.showNormal();
    else if (!widget.trayAvailable())
        widget.showMinimized();
    // Without an observer the program runs on; it just cannot capture keys for macros. Declared
    // after the widget, it goes first: its callbacks point at the widget.
    Input_Hook hook;
    hook.start(false, createInputObserver());
    hook.setKeyboardCallback(forwardKeyboard, &widget);
    hook.setMouseCallback(forwardMouse, &widget);
    hook.setMessageFilter(showCopyData, &app, &widget);
    // The mouse's one owner on the session bus, for tk700ctl and other front ends; without a bus
    // the program runs on and they refuse as before.
    WindowOwner owner(&widget);
    BusService service(&owner);
    const bool onBus = service.publish(QDBusConnection::sessionBus());
    // Profiles that follow the application in front, where the desktop tells which one it is.
    myQQuickView *view = widget.controler->mainView;
    const std::unique_ptr<ActiveWindowWatcher> activeWindows = createActiveWindowWatcher(onBus);
    view->activeWindows = activeWindows.get();
    ProfileFollower follower(
        [view](const QString &app) { return app_profiles::profileOf(view->settings, app); },
        {[&owner] { return owner.profile() - 1; }, [&owner] { return owner.busy(); },
         [&owner](int profile) {
             return owner.connected() && owner.followProfile(profile + 1).started;
         }});
    follower.setDelay(app_profiles::switchDelayMs(view->settings));
    if (activeWindows) {
        service.activeWindowReported = [w = activeWindows.get()](const QString &app) {
            w->report(app);
        };
        QObject::connect(activeWindows.get(), &ActiveWindowWatcher::activated, &follower,
                         &ProfileFollower::applicationActivated);
    }
    QObject::connect(&owner, &MouseOwner::profileChanged, &follower,
                     [&follower](int profile) { follower.profileShown(profile - 1); });
    QObject::connect(&owner, &MouseOwner::becameIdle, &follower, &ProfileFollower::windowIdle);
    QObject::connect(&follower, &ProfileFollower::switched, &widget,
                     [&widget, &owner](int profile, const QString &app) {
                         widget.showProfileFollowed(owner.profileName(profile + 1), app);
                     });
    widget.checkDevice();
    const int code = termination.arrived() ? 0 : QApplication::exec();

    hook.stop();
    return code;
}
