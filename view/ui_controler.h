#pragma once

// Decorates the host widget as a frameless, translucent window, creates the main view, publishes
// the three context objects to QML and carries out the window commands of the drawn title bar.

#include <QObject>
#include <QSize>

class QWidget;
class Hid_Thread;
class myQQuickView;

// The window size for a screen: wide screens get two thirds of each side.
QSize fittedSize(const QSize &screen);

class Ui_Controler : public QObject
{
    Q_OBJECT

public:
    explicit Ui_Controler(QObject *parent = nullptr);

    QWidget *hostWidget = nullptr;
    myQQuickView *mainView = nullptr;
    bool isMaximized = false;

    // `hidLink` is the host's device link, published to QML as `hid`.
    void setupUi(QWidget *host, Hid_Thread *hidLink);

signals:
    // The user's answer to the quit question was to quit (after Apply went through, or Discard).
    void quitChosen();

public slots:
    void onMinimize();
    void onMaxRestore();
    void onHide();
    void onClose();
    void onQuit();
    void onXChanged(int x);
    void onYChanged(int y);
    // Where a window cannot place itself (Wayland), asks the compositor to move the window with
    // the pointer that is pressed now; false where the window moves itself (onXChanged).
    bool startSystemMove();
    void setBusy(int busyTime = 0);
    void test(int x, int y);

private:
    QSize screenSize() const;
    void setScreenRect(int width, int height, bool isMaxNormal);
};
