// Key capture and window moves on Wayland, end to end: a weston compositor nested in the test
// display (its X11 backend, kiosk shell: the window fills the output, so test display coordinates
// are window coordinates), the program's widget and input capture on Qt's Wayland platform inside
// it, connected to the virtual TK700, and keys and presses typed into weston with xdotool. weston
// hands them to the window, Qt repeats a held key itself (as every Wayland client does), and the
// capture must give one press and one release; a press on an empty area asks the compositor to
// move the window.

#include "app/input_forwarding.h"
#include "app/widget.h"
#include "input/input_hook.h"
#include "platform/input_observer.h"
#include "support/program_rig.h"
#include "support/test_runtime.h"
#include "support/virtual_mouse.h"
#include "view/myqquickview.h"
#include "view/ui_controler.h"

#include <QApplication>
#include <QProcess>
#include <QQuickItem>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

namespace
{

const QString kSocket = QStringLiteral("wayland-tk700-keys");

// Runs on the test display, not on weston: the X server weston reads its input from.
bool xdotool(const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("WAYLAND_DISPLAY");
    p.setProcessEnvironment(env);
    p.start("xdotool", args);
    return p.waitForFinished(10000) && p.exitCode() == 0;
}

QString westonWindow()
{
    QProcess p;
    p.start("xdotool", {"search", "--onlyvisible", "--class", "weston"});
    p.waitForFinished(10000);
    return QString::fromLatin1(p.readAllStandardOutput()).section('\n', 0, 0).trimmed();
}

} // namespace

class TestWaylandKeys : public QObject
{
    Q_OBJECT

public:
    explicit TestWaylandKeys(QString skipReason) : skipReason(std::move(skipReason)) {}

private:
    QString skipReason;
    std::unique_ptr<TestRuntime> runtime;
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<Widget> widget;
    std::unique_ptr<Input_Hook> hook;
    std::unique_ptr<QSignalSpy> keys;
    QString weston;

    // Keys typed into the test display reach the nested weston in some runs only (its X11
    // backend sometimes never takes the X keyboard: no key arrives at all), so these run when
    // asked for, TK700_WAYLAND_KEYS=1, and a run without any key is to be repeated.
    static void skipUnlessKeysAsked()
    {
        if (qEnvironmentVariable("TK700_WAYLAND_KEYS") != QLatin1String("1"))
            QSKIP(
                "key delivery into the nested weston is unreliable; TK700_WAYLAND_KEYS=1 runs it");
    }

private slots:
    void initTestCase()
    {
        if (!skipReason.isEmpty())
            QSKIP(qPrintable(skipReason));
        QCOMPARE(QGuiApplication::platformName(), QString("wayland"));
        runtime = std::make_unique<TestRuntime>();
        mouse = std::make_unique<VirtualMouse>();
        QVERIFY(mouse->start());
        widget = std::make_unique<Widget>();
        hook = std::make_unique<Input_Hook>();
        QVERIFY(hook->start(false, createInputObserver()));
        hook->setKeyboardCallback(forwardKeyboard, widget.get());
        QQuickItem *root = widget->controler->mainView->rootObject();
        QVERIFY(root);
        keys = std::make_unique<QSignalSpy>(root, SIGNAL(msg_KB(bool, int)));
        widget->showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(widget.get(), 10000));
        widget->checkDevice();
        QTRY_VERIFY_WITH_TIMEOUT(root->property("isStarted").toBool(), 15000);
        // weston's own window takes the keys of the test display; the widget, mapped last, has
        // weston's keyboard focus.
        weston = westonWindow();
        QVERIFY(!weston.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(widget->windowHandle()->isActive(), 10000);
    }
    void cleanupTestCase()
    {
        keys.reset();
        hook.reset();
        widget.reset();
        mouse.reset();
        runtime.reset();
    }

    // weston's X window takes the test display's keys while it has the X focus and the pointer.
    void init()
    {
        QVERIFY(xdotool({"mousemove", "640", "360"}));
        QVERIFY(xdotool({"windowfocus", "--sync", weston}));
        QTest::qWait(300);
    }

    void keyPressAndRelease()
    {
        skipUnlessKeysAsked();
        keys->clear();
        QVERIFY(xdotool({"key", "38"})); // A
        QTRY_COMPARE_WITH_TIMEOUT(keys->count(), 2, 5000);
        QCOMPARE(keys->at(0), QVariantList({true, 0x04}));
        QCOMPARE(keys->at(1), QVariantList({false, 0x04}));
    }

    // Held past the compositor's repeat delay: Qt repeats it, the capture does not.
    void heldKeyGivesOnePress()
    {
        skipUnlessKeysAsked();
        keys->clear();
        QVERIFY(xdotool({"keydown", "50"})); // Left Shift
        QVERIFY(xdotool({"keydown", "38"}));
        QTest::qWait(1500);
        QVERIFY(xdotool({"keyup", "38"}));
        QVERIFY(xdotool({"keyup", "50"}));
        QTRY_VERIFY_WITH_TIMEOUT(keys->count() >= 4, 5000);
        QTest::qWait(300);
        QCOMPARE(keys->count(), 4);
        QCOMPARE(keys->at(0), QVariantList({true, 0xE1}));
        QCOMPARE(keys->at(1), QVariantList({true, 0x04}));
        QCOMPARE(keys->at(2), QVariantList({false, 0x04}));
        QCOMPARE(keys->at(3), QVariantList({false, 0xE1}));
    }

    // A press on the window's empty area hands the move to the compositor, which takes it (Qt
    // has the press's serial), and the area moves nothing itself.
    void pressOnTheEmptyAreaAsksTheCompositorToMove()
    {
        QQuickItem *root = widget->controler->mainView->rootObject();
        auto *area = root->findChild<QQuickItem *>("emptyArea");
        QVERIFY(area && area->isVisible());
        QSignalSpy empty(root, SIGNAL(emptyAreaPressed()));
        hook->setMouseCallback(forwardMouse, widget.get());
        QSignalSpy buttons(root, SIGNAL(msg_MS(bool, int, int, int)));
        // Where the window shows its background: below the title bar, left of the pages.
        bool pressed = false;
        for (const QPoint p : {QPoint(600, 12), QPoint(20, 300), QPoint(640, 700)}) {
            QVERIFY(xdotool({"mousemove", QString::number(p.x()), QString::number(p.y())}));
            QVERIFY(xdotool({"mousedown", "1"}));
            QTest::qWait(300);
            pressed = !empty.isEmpty();
            QVERIFY(xdotool({"mouseup", "1"}));
            QTest::qWait(200);
            if (pressed)
                break;
        }
        QVERIFY(pressed);
        QCOMPARE(area->property("movedBySystem").toBool(), true);
        // The button was captured once: the window's copy of the press that the QQuickWidget
        // hands its hidden scene window is not a second press. (The kiosk shell keeps windows
        // in place, so the release comes back to the window.)
        QTRY_COMPARE(buttons.count(), 2);
        QCOMPARE(buttons.at(0).mid(0, 2), QVariantList({true, 0xF0}));
        QCOMPARE(buttons.at(1).mid(0, 2), QVariantList({false, 0xF0}));
    }
};

int main(int argc, char **argv)
{
    QString skip;
    QTemporaryDir xdg;
    QFile::setPermissions(xdg.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess weston;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        skip = "needs an X display for weston's window (the test command runs under Xvfb)";
    else if (QStandardPaths::findExecutable("weston").isEmpty() ||
             QStandardPaths::findExecutable("xdotool").isEmpty())
        skip = "needs weston and xdotool (scripts/install-deps.sh --with-tests installs them)";
    if (skip.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", xdg.path());
        env.remove("WAYLAND_DISPLAY");
        weston.setProcessEnvironment(env);
        weston.setProcessChannelMode(QProcess::MergedChannels);
        weston.start("weston",
                     {"--backend=x11-backend.so", "--shell=kiosk-shell.so", "--socket=" + kSocket,
                      "--idle-time=0", "--width=1280", "--height=720"});
        QElapsedTimer waited;
        waited.start();
        while (!QFileInfo::exists(xdg.filePath(kSocket)) && waited.elapsed() < 15000)
            QThread::msleep(100);
        if (!QFileInfo::exists(xdg.filePath(kSocket)))
            skip = "weston did not start: " + QString::fromLocal8Bit(weston.readAll());
        QThread::msleep(500);
    }
    // The test itself is the Wayland client.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(xdg.path()));
    qputenv("WAYLAND_DISPLAY", kSocket.toUtf8());
    qputenv("QT_QPA_PLATFORM", skip.isEmpty() ? "wayland" : "offscreen");
    int result = 0;
    {
        QApplication app(argc, argv);
        TestWaylandKeys test(skip);
        result = QTest::qExec(&test, argc, argv);
    }
    ProgramRig::stopProcess(weston, 10000);
    return result;
}

#include "tst_wayland_keys.moc"
