// The bench's baseline: a bare QQuickWidget window with one rectangle, the size of the program's
// window, built with the same Qt in the same tree.

#include <QApplication>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QQuickWidget view;
    view.setResizeMode(QQuickWidget::SizeRootObjectToView);
    view.setWindowTitle(QStringLiteral("TK700 bench baseline"));
    view.setSource(QUrl(QStringLiteral("qrc:/bench/bare.qml")));
    view.resize(1280, 720);
    view.show();
    return app.exec();
}
