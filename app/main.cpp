// Start-up: one running instance per user, working in the folder of its executable.

#include "app/single_application.h"
#include "app/widget.h"

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

    auto *widget = new Widget;
    QObject::connect(app, &SingleApplication::messageReceived, widget, &Widget::receiveMessage);
    widget->showNormal();
    widget->checkDevice();
    const int code = QApplication::exec();

    delete widget;
    delete folder;
    delete app;
    return code;
}
