// Start-up: one running instance per user, working in the folder of its executable.

#include "app/input_forwarding.h"
#include "app/single_application.h"
#include "app/termination_signals.h"
#include "app/widget.h"
#include "controller/dialogs.h"
#include "controller/settings_check.h"
#include "input/input_hook.h"

#include <QDir>
#include <QQuickWindow>

int main(int argc, char *argv[])
{
    // The UI is plain 2D: the software scene graph starts fast and needs no GPU.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    auto *app = new SingleApplication(argc, argv);
    if (app->isRunning()) {
        app->sendMessage(QString(), 5000);
        delete app;
        return 1;
    }

    // Every ./modules/... path resolves beside the executable.
    auto *folder = new QString(QCoreApplication::applicationFilePath());
    folder->truncate(folder->lastIndexOf(QLatin1Char('/')));
    QDir::setCurrent(*folder);
    // A broken settings file is named, and its factory copy offered, before anything reads it.
    if (!checkSettingsFiles(Dialogs::instance())) {
        delete folder;
        delete app;
        return 1;
    }

    // Being told to end is choosing Quit in the tray menu: the same teardown follows.
    auto *termination = new TerminationSignals;
    auto *widget = new Widget;
    QObject::connect(app, &SingleApplication::messageReceived, widget, &Widget::receiveMessage);
    QObject::connect(termination, &TerminationSignals::requested, widget, &Widget::exitSYS);
    // Without an observer the program runs on; it just cannot capture keys for macros.
    auto *hook = new Input_Hook;
    hook->start(false);
    hook->setKeyboardCallback(forwardKeyboard, widget);
    hook->setMouseCallback(forwardMouse, widget);
    hook->setMessageFilter(showCopyData, app, widget);
    widget->showNormal();
    widget->checkDevice();
    const int code = termination->arrived() ? 0 : QApplication::exec();

    hook->stop();
    delete hook; // its callbacks point at the widget
    delete widget;
    delete folder;
    delete termination;
    delete app;
    return code;
}
