#include "app/widget.h"

#include "app/device_change.h"
#include "app/user_event.h"
#include "base/profile_block.h"
#include "controller/dpi_settings.h"
#include "view/myqquickview.h"
#include "view/ui_controler.h"

#include <QAction>
#include <QCoreApplication>
#include <QDebug>
#include <QIcon>
#include <QImageReader>
#include <QMenu>
#include <QQuickItem>

namespace
{

const char kMenuStyle[] =
    "QMenu { border: 1px solid rgb(100, 100, 100); background: rgb(68, 69, 73); } "
    "QMenu::item { height: 22px; padding: 0px 25px 0px 20px; } "
    "QMenu::item:enabled { color: rgb(225, 225, 225); } "
    "QMenu::item:!enabled { color: rgb(155, 155, 155); } "
    "QMenu::item:enabled:selected { color: rgb(230, 230, 230); background: rgba(255, 255, 255, "
    "40); } "
    "QMenu::separator { height: 1px; background: rgb(100, 100, 100); } "
    "QMenu::indicator { width: 13px; height: 13px; } "
    "QMenu::icon { padding-left: 2px; padding-right: 2px; } ";

// The restore command that the widget posts to itself.
const QEvent::Type kRestoreEvent = QEvent::Type(QEvent::registerEventType());

// Trays draw the icon at 16 to 64 pixels, twice that on a dense screen; the file's 256-pixel
// picture would only be held.
constexpr int kLargestTrayIcon = 128;

QIcon trayPictures(const QString &file)
{
    QIcon icon;
    QImageReader reader(file);
    do {
        const QImage image = reader.read();
        if (!image.isNull() && image.width() <= kLargestTrayIcon)
            icon.addPixmap(QPixmap::fromImage(image));
    } while (reader.jumpToNextImage());
    return icon.isNull() ? QIcon(file) : icon;
}

} // namespace

bool deviceConnected = false;

QString notificationTexts[kNotificationTexts] = {
    QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to"),
    QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to"),
    QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to"),
    QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to"),
};

QString followNotificationTexts[kFollowNotifications] = {
    QStringLiteral("Profile %1: %2 is in front"),
    QStringLiteral("Profile %1: back to the profile chosen by hand"),
};

void takeNotificationTexts(const QString &group, const QStringList &texts)
{
    if (group != QLatin1String("other"))
        return;
    for (int i = 0; i < kNotificationTexts && i < texts.size(); ++i)
        notificationTexts[i] = texts.at(i);
    for (int i = 0; i < kFollowNotifications && kNotificationTexts + i < texts.size(); ++i)
        followNotificationTexts[i] = texts.at(kNotificationTexts + i);
}

const QString &notificationText(int stage)
{
    if (stage >= 1 && stage <= kStageNotifications)
        return notificationTexts[stage - 1];
    return notificationTexts[kStageNotifications];
}

Widget::Widget(QWidget *parent) : QWidget(parent)
{
    controler = new Ui_Controler;
    controler->setupUi(this, &hidLink);
    controler->mainView->deviceLink = &hidLink;
    hidLink.traits = controler->mainView;
    connect(controler->mainView, &myQQuickView::languageGroupRead, this, &takeNotificationTexts);
    connect(controler, &Ui_Controler::quitChosen, this, &Widget::exitSYS);
    deviceTimer.setInterval(kDeviceTimerMs);
    deviceTimer.setSingleShot(true);
    connect(&deviceTimer, &QTimer::timeout, this, &Widget::deviceTimerFired);
    buildTrayIcon();

    // The event loop's effects reach the view and the tray on this thread.
    connect(&hidLink, &Hid_Thread::dpiStageReported, this, &Widget::showDpiStage,
            Qt::QueuedConnection);
    deviceChanges = new DeviceChangeNotifier([this] { return bool(hidLink.listening); }, this);
    connect(&hidLink, &Hid_Thread::deviceRemoved, this, &Widget::deviceGone, Qt::QueuedConnection);
    connect(&hidLink, &Hid_Thread::watchEnded, deviceChanges, &DeviceChangeNotifier::resume,
            Qt::QueuedConnection);
    connect(deviceChanges, &DeviceChangeNotifier::deviceChanged, this,
            &Widget::deviceChangeMessage);
}

Widget::~Widget()
{
    hidLink.listening = false;
    controler->deleteLater();
    // The link must outlive its event loop on the pool thread.
    hidLink.listener.waitForFinished();
}

void Widget::buildTrayIcon()
{
    trayIcon = new QSystemTrayIcon(this);
    auto *quitAction = new QAction(tr("Quit (&Q)"), this);
    connect(quitAction, &QAction::triggered, this, &Widget::quitAsked);
    auto *menu = new QMenu(this);
    menu->addAction(quitAction);
    menu->setStyleSheet(QString::fromLatin1(kMenuStyle));
    trayIcon->setContextMenu(menu);
    trayIcon->setToolTip(QStringLiteral("Talvemark TK700 V1 TK"));
    connect(trayIcon, &QSystemTrayIcon::activated, this, &Widget::trayIconActivated);
    // Its pictures read and the tray reached (a round trip to the session bus) once the window
    // is up, not on the way to it.
    QTimer::singleShot(0, trayIcon, [this] {
        trayIcon->setIcon(trayPictures(QStringLiteral("./modules/img/logo.ico")));
        trayIcon->show();
    });
}

void Widget::deviceGone()
{
    controler->mainView->setEnabled(false);
    emit mouseConnected(false);
    const int index = hidLink.currentDevice;
    if (index >= 0 && index < int(hidLink.devices.size())) {
        const DeviceEntry &device = *hidLink.devices[size_t(index)];
        deviceChanges->rebase(device.vid, device.pid);
    }
}

void Widget::launchUi()
{
    controler->mainView->initUI();
    QCoreApplication::postEvent(this, new UserEvent(UserEvent::kRunUi));
}

void Widget::deviceChangeMessage()
{
    if (!hidLink.listening)
        deviceTimer.start();
}

void Widget::postRestore()
{
    QCoreApplication::postEvent(this, new QEvent(kRestoreEvent));
}

bool Widget::event(QEvent *e)
{
    if (e->type() == kRestoreEvent) {
        restore();
        return true;
    }
    return QWidget::event(e);
}

void Widget::restore()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    setVisible(true);
    raise();
    activateWindow();
}

void Widget::setVisible(bool visible)
{
    if (!visible && trayAvailable && !trayAvailable()) {
        if (!isMinimized())
            showMinimized();
        return;
    }
    QWidget::setVisible(visible);
}

void Widget::customEvent(QEvent *e)
{
    if (e->type() == UserEvent::kType && static_cast<UserEvent *>(e)->code == UserEvent::kRunUi)
        controler->mainView->runUI();
}

void Widget::trayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    // Trays that speak StatusNotifierItem report single clicks only.
    if (reason != QSystemTrayIcon::DoubleClick && reason != QSystemTrayIcon::Trigger)
        return;
    if (deviceConnected)
        postRestore();
    restore();
}

void Widget::receiveMessage(QString message)
{
    Q_UNUSED(message)
    qDebug() << "------------------------- receiveMessage---------------------";
    if (deviceConnected)
        postRestore();
}

void Widget::exitSYS()
{
    hidLink.listening = false;
    QCoreApplication::exit(0);
}

void Widget::quitAsked()
{
    // Without a mouse the edits could not be applied, and the window takes no input to answer.
    QObject *root = controler->mainView->rootObject();
    if (!deviceConnected || !root || !root->property("isUnsaved").toBool()) {
        exitSYS();
        return;
    }
    restore();
    QMetaObject::invokeMethod(root, "askQuit");
}

void Widget::deviceTimerFired()
{
    // The change that started the timer was seen before the watch began: that scan found it.
    if (hidLink.listening)
        return;
    if (scanning || hidLink.isBusy()) {
        deviceTimer.start();
        return;
    }
    checkDevice();
}

void Widget::noDevice()
{
    deviceConnected = false;
    controler->mainView->setEnabled(false);
    emit mouseConnected(false);
    setVisible(false);
}

void Widget::checkDevice()
{
    if (scanning)
        return;
    scanning = true;
    const struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{scanning};

    myQQuickView *view = controler->mainView;
    const int index = hidLink.scanDevices();
    if (index < 0) {
        qDebug() << "Device DisConnect";
        noDevice();
        return;
    }
    hidLink.selectDevice(index);
    // Listed but not ours to open (missing hidraw permissions look like this): say so, and try
    // again only when a device really changes.
    const QString refused = hidLink.unopenableInterface(index);
    if (!refused.isEmpty()) {
        qDebug().noquote() << "Device found but cannot be opened:" << refused
                           << "- allow access with the udev rule 70-tk700.rules (the package "
                              "installs it; from a build: sudo install -m 0644 "
                              "build/udev/70-tk700.rules /etc/udev/rules.d/, which scripts/run.sh "
                              "does), then plug the mouse in again";
        showBalloon(QStringLiteral("Info"),
                    QStringLiteral("The TK700 was found but cannot be opened (%1). Install the "
                                   "udev rule 70-tk700.rules, then plug the mouse in again.")
                        .arg(refused));
        noDevice();
        return;
    }
    qDebug() << "Device Connect";
    view->clearHidBusy();
    deviceConnected = true;
    showBalloon(QStringLiteral("Info"), QStringLiteral("Detect Device"));
    hidLink.startDeviceWatch(index);
    if (view->is560()) {
        // Read on the link's thread: a mouse that does not answer must not keep the window from
        // coming up. The start-up's own read (readMouseState) tells how they went.
        DeviceContext ctx = view->context();
        for (int b = 0; b < profile_block::blocksInUse(view->isGun); ++b)
            profile_block::readLater(ctx, b);
    }
    view->setEnabled(true);
    emit mouseConnected(true);
    launchUi();
}

void Widget::showDpiStage(int stage)
{
    // A stage the mouse does not have marks none on the panel and switched to nothing: the stage
    // shown stays, and no note claims a switch.
    if (!dpi::isStage(stage)) {
        qDebug() << "DPI button: the mouse reported stage" << stage << "- no stage of it, ignored";
        return;
    }
    controler->mainView->setCurrentDPI(stage);
    showBalloon(QStringLiteral("Info"), notificationText(stage) + QLatin1Char(' '));
}

void Widget::showProfileFollowed(const QString &profileName, const QString &application)
{
    showBalloon(QStringLiteral("Info"),
                application.isEmpty() ? followNotificationTexts[1].arg(profileName)
                                      : followNotificationTexts[0].arg(profileName, application));
}

void Widget::showBalloon(const QString &title, const QString &text)
{
    // Also in the debug output: a desktop without a tray shows no balloon.
    qDebug().noquote() << "tray:" << title << text;
    trayIcon->showMessage(title, text, QSystemTrayIcon::Information, kBalloonMs);
}
