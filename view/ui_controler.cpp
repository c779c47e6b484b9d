#include "view/ui_controler.h"

#include "platform/window_input_observer.h"
#include "view/item_probe.h"
#include "view/myqquickview.h"
#include "view/qml_core.h"
#include "view/svg_elements.h"
#include "view/resource_font.h"
#include "view/svg_picture.h"

#include <QDebug>
#include <QGuiApplication>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlIncubationController>
#include <QQuickItem>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

namespace
{
constexpr int kDesignWidth = 1280;

// A QQuickWidget's engine has no incubation controller, so its asynchronous Loaders would build
// everything at once, inside setSource. This one builds in slices from the event loop, with the
// window's events and frames in between: the window maps with the logo, and the screen behind it
// is built while the logo shows.
class SliceIncubationController : public QObject, public QQmlIncubationController
{
public:
    explicit SliceIncubationController(QObject *parent) : QObject(parent) {}

protected:
    void incubatingObjectCountChanged(int count) override
    {
        if (count > 0 && timerId == 0)
            timerId = startTimer(0);
        else if (count == 0 && timerId != 0) {
            killTimer(timerId);
            timerId = 0;
        }
    }

    void timerEvent(QTimerEvent *) override { incubateFor(kSliceMs); }

private:
    // Short enough for the event queue to be served between slices.
    static constexpr int kSliceMs = 8;
    int timerId = 0;
};
} // namespace

QSize fittedSize(const QSize &screen)
{
    if (screen.width() > kDesignWidth)
        return {int(screen.width() / 1.5), int(screen.height() / 1.5)};
    return screen;
}

Ui_Controler::Ui_Controler(QObject *parent) : QObject(parent) {}

QSize Ui_Controler::screenSize() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(kDesignWidth, 720);
}

void Ui_Controler::setScreenRect(int width, int height, bool isMaxNormal)
{
    if (!mainView || !mainView->rootObject())
        return;
    QMetaObject::invokeMethod(mainView->rootObject(), "setScreenRect", Qt::DirectConnection,
                              Q_ARG(QVariant, width), Q_ARG(QVariant, height),
                              Q_ARG(QVariant, isMaxNormal));
}

void Ui_Controler::setupUi(QWidget *host, Hid_Thread *hidLink)
{
    qDebug() << "=====================Ui_Controler - setupUi================================ ";
    if (host->objectName().isEmpty())
        host->setObjectName(QStringLiteral("Widget"));
    hostWidget = host;
    host->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    host->setWindowOpacity(1.0);
    host->setAttribute(Qt::WA_TranslucentBackground, true);
    // Only the window and the view are see-through: a dialog opened over them keeps the
    // desktop's own look.
    host->setStyleSheet(QStringLiteral("#%1, #ui_View { background: transparent; }")
                            .arg(host->objectName()));

    mainView = new myQQuickView(host);
    mainView->setObjectName(QStringLiteral("ui_View"));
    // The view fills its host whatever size the host is given.
    auto *layout = new QVBoxLayout(host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mainView);
    mainView->setResizeMode(QQuickWidget::SizeRootObjectToView);
    mainView->setClearColor(Qt::transparent);
    // The document's first bindings already see the three objects.
    QQmlContext *context = mainView->rootContext();
    context->setContextProperty(QStringLiteral("ui_View"), mainView);
    context->setContextProperty(QStringLiteral("hid"), hidLink);
    context->setContextProperty(QStringLiteral("ui_Ctl"), this);
    SvgElements::registerQmlType();
    SvgPicture::registerQmlType();
    ResourceFont::registerQmlType();
    MacroCodec::registerQmlTypes();
    mainView->engine()->setIncubationController(new SliceIncubationController(mainView));
    mainView->setSource(QUrl(QStringLiteral("qrc:modules/qml/main.qml")));
    ItemProbe::attachIfRequested(mainView);
    isMaximized = false;

    const QSize screen = screenSize();
    qDebug() << "screen W,H = " << screen.width() << screen.height();
    const QSize fitted = fittedSize(screen);
    host->resize(fitted);
    setScreenRect(fitted.width(), fitted.height(), false);

    host->setWindowTitle(mainView->settings.globalData(QStringLiteral("common/name")).toString());
}

void Ui_Controler::onMinimize()
{
    if (hostWidget)
        hostWidget->showMinimized();
}

void Ui_Controler::onMaxRestore()
{
    if (!hostWidget)
        return;
    if (isMaximized) {
        hostWidget->showNormal();
        isMaximized = false;
        const QSize fitted = fittedSize(screenSize());
        setScreenRect(fitted.width(), fitted.height(), false);
    } else {
        hostWidget->showMaximized();
        isMaximized = true;
        const QSize screen = screenSize();
        setScreenRect(screen.width(), screen.height(), true);
    }
}

void Ui_Controler::onHide()
{
    if (hostWidget)
        hostWidget->setVisible(false);
    // In the tray for hours: nothing left for the image caches to expire meanwhile.
    if (mainView)
        mainView->releaseUnusedImages();
}

void Ui_Controler::onClose()
{
    if (hostWidget)
        hostWidget->close();
}

void Ui_Controler::onQuit()
{
    emit quitChosen();
}

void Ui_Controler::onXChanged(int x)
{
    if (hostWidget)
        hostWidget->move(hostWidget->x() + x, hostWidget->y());
}

void Ui_Controler::onYChanged(int y)
{
    if (hostWidget)
        hostWidget->move(hostWidget->x(), hostWidget->y() + y);
}

bool Ui_Controler::startSystemMove()
{
    if (!hostWidget || !isWaylandSession())
        return false;
    QWindow *window = hostWidget->window()->windowHandle();
    return window && window->startSystemMove();
}

void Ui_Controler::setBusy(int busyTime)
{
    if (mainView)
        mainView->setBusy(busyTime);
}

void Ui_Controler::test(int x, int y)
{
    if (hostWidget && mainView)
        hostWidget->resize(mainView->width() + x, mainView->height() + y);
}
