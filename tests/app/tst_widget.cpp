// The tray widget, the scan and the connection watch in-process against the virtual TK700.

#include "app/user_event.h"
#include "app/widget.h"
#include "base/profile_block.h"
#include "support/bytes.h"
#include "support/test_runtime.h"
#include "support/virtual_mouse.h"
#include "view/myqquickview.h"
#include "view/ui_controler.h"

#include <QAction>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QMenu>
#include <QQuickItem>
#include <QtTest>

#include <memory>

namespace
{

// The debug lines written while it lives; they still reach the test's own handler.
class DebugLines
{
public:
    DebugLines()
    {
        active = this;
        previous = qInstallMessageHandler(&DebugLines::handle);
    }
    ~DebugLines()
    {
        qInstallMessageHandler(previous);
        active = nullptr;
    }
    int count(const QString &start) const
    {
        int n = 0;
        for (const QString &line : lines)
            n += line.startsWith(start);
        return n;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (active)
            active->lines << text;
        if (active && active->previous)
            active->previous(type, context, text);
    }
    static inline DebugLines *active = nullptr;
    QtMessageHandler previous = nullptr;
    QStringList lines;
};

// Calls a slot of the QML API the way QML does, through the meta-object system.
bool callView(myQQuickView *view, const char *slot, QGenericArgument a = QGenericArgument(),
              QGenericArgument b = QGenericArgument())
{
    bool result = false;
    const bool called = QMetaObject::invokeMethod(view, slot, Q_RETURN_ARG(bool, result), a, b);
    return called && result;
}

// Past the UI's start-up and the reads of the mouse that came with it, which run on the link's
// thread after checkDevice() has returned.
bool startedUp(Widget &widget, int ms = 10000)
{
    QQuickItem *root = widget.controler->mainView->rootObject();
    return QTest::qWaitFor(
        [&] { return root->property("isPownOn").toBool() && !widget.hidLink.isBusy(); }, ms);
}

int entriesOf(const QJsonArray &log, const QString &kind)
{
    int n = 0;
    for (const QJsonValue &v : log)
        n += v.toObject()["kind"] == kind;
    return n;
}

} // namespace

class TestWidget : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    std::unique_ptr<VirtualMouse> mouse;

    bool startMouse(const QString &family = "553")
    {
        mouse = std::make_unique<VirtualMouse>(VirtualMouse::Options{family, false, QString()});
        return mouse->start();
    }

    void setGlobal(const QString &key, const QVariant &value)
    {
        QSettings apConfig(runtime->path("modules/setting/apConfig.bin"), QSettings::IniFormat);
        apConfig.setValue(key, value);
    }

private slots:
    void init()
    {
        runtime = std::make_unique<TestRuntime>();
        QVERIFY(runtime->isValid());
        deviceConnected = false;
    }
    void cleanup()
    {
        mouse.reset();
        runtime.reset();
    }

    void connect553SetsKeyboardOptionBit()
    {
        QVERIFY(startMouse("553"));
        Widget widget;
        widget.show();
        QTest::ignoreMessage(QtDebugMsg, "Device Connect");
        widget.checkDevice();
        QVERIFY(deviceConnected);
        QVERIFY(widget.hidLink.listening);
        QCOMPARE(widget.hidLink.currentDevice, 1);
        widget.hidLink.waitIdle();
        const QStringList sent = mouse->requests();
        QVERIFY(sent.contains("00 83 00 00 00 00 00 00 7c"));
        QVERIFY2(sent.contains("00 03 00 00 00 40 00 00 bc"), qPrintable(sent.join(" | ")));
        QCOMPARE(mouse->state()["keyboardOptions"].toString().right(2), QStringLiteral("40"));
        QVERIFY(widget.controler->mainView->isEnabled());
        // initUI, then run, reach the QML root.
        QTRY_VERIFY(widget.controler->mainView->rootObject()->property("isPownOn").toBool());
    }

    void connect560ReadsProfileBlocks()
    {
        setGlobal("mouse/icType", "560");
        QVERIFY(startMouse("560"));
        Widget widget;
        widget.checkDevice();
        widget.hidLink.waitIdle();
        const QStringList sent = mouse->requests();
        QVERIFY(sent.contains("00 81 00 00 00 00 00 00 7e"));
        QVERIFY2(sent.contains("00 01 08 00 00 00 00 00 f6"), qPrintable(sent.join(" | ")));
        // A gun-capable mouse: all five blocks are read.
        for (int block = 0; block < 5; ++block)
            QVERIFY(sent.contains(QString("00 8c %1 00 00 00 00 00 %2")
                                      .arg(block, 2, 10, QChar('0'))
                                      .arg(0x73 - block, 2, 16, QChar('0'))));
        const QByteArray block1 = VirtualMouse::bytesOf(mouse->state()["profiles"].toArray()[1]);
        QCOMPARE(
            QByteArray(reinterpret_cast<char *>(widget.controler->mainView->profileImage[1]), 128),
            block1);
    }

    void noDeviceHidesTheWidget()
    {
        QVERIFY(startMouse());
        QVERIFY(mouse->unplug());
        Widget widget;
        widget.trayAvailable = [] { return true; };
        widget.show();
        QTest::ignoreMessage(QtDebugMsg, "Device DisConnect");
        widget.checkDevice();
        QVERIFY(!deviceConnected);
        QVERIFY(!widget.isVisible());
        QTRY_VERIFY(widget.trayIcon->isVisible());
        QVERIFY(!widget.hidLink.listening);
    }

    void tableEntryWithOnlyEventInterfaceIsSkipped()
    {
        QVERIFY(runtime->write(
            "modules/setting/apConfig.bin",
            "[common]\nname=Talvemark TK700\ndeviceCount=2\n[mouse]\nicType=553\n"
            "[0]\nvid=04d9\npid=a09f\nusagePage=ff05\nusage=ff05\nusagePage2=ff01\nusage2=ff01\n"
            "[1]\nvid=04d9\npid=a09f\nusagePage=ff00\nusage=ff00\nusagePage2=ff01\nusage2=ff01\n"));
        QVERIFY(startMouse());
        Widget widget;
        widget.checkDevice();
        QVERIFY(deviceConnected);
        QCOMPARE(widget.hidLink.currentDevice, 1);
        QVERIFY(widget.hidLink.devices[0]->cmdPath.isEmpty());
    }

    void dpiButtonReachesTheViewAndTheTray()
    {
        QVERIFY(startMouse());
        Widget widget;
        widget.checkDevice();
        QQuickItem *root = widget.controler->mainView->rootObject();
        QVERIFY(startedUp(widget));
        QTest::ignoreMessage(QtDebugMsg, "tray: Info DPI Switch to 3 ");
        QVERIFY(mouse->pressDpi(3));
        QTRY_COMPARE(root->property("currentDPI").toInt(), 2);
        // Stage 8 shows the last text. 0 and 9 are no stages of the mouse: logged, no note, the
        // panel as it was.
        QTest::ignoreMessage(QtDebugMsg, "tray: Info DPI Switch to ");
        QVERIFY(mouse->pressDpi(8));
        QTRY_COMPARE(root->property("currentDPI").toInt(), 7);
        DebugLines lines;
        QVERIFY(mouse->pressDpi(0));
        QVERIFY(mouse->pressDpi(9));
        QTRY_COMPARE(lines.count("DPI button: the mouse reported stage"), 2);
        QCOMPARE(lines.count("tray:"), 0);
        QCOMPARE(root->property("currentDPI").toInt(), 7);
    }

    void otherEventReportsAreIgnored()
    {
        QVERIFY(startMouse());
        Widget widget;
        widget.checkDevice();
        QQuickItem *root = widget.controler->mainView->rootObject();
        QVERIFY(startedUp(widget));
        const int before = root->property("currentDPI").toInt();
        QVERIFY(!mouse->command("event", {{"bytes", "06 05 00 04"}}).isEmpty());
        QVERIFY(!mouse->command("event", {{"bytes", "05 07 00 04"}}).isEmpty());
        QTest::qWait(1200);
        QCOMPARE(root->property("currentDPI").toInt(), before);
        QVERIFY(widget.hidLink.listening);
    }

    void unplugDisablesTheViewAndPlugConnectsAgain()
    {
        QVERIFY(startMouse());
        Widget widget;
        widget.show();
        widget.checkDevice();
        myQQuickView *view = widget.controler->mainView;
        QTRY_VERIFY(view->rootObject()->property("isPownOn").toBool());
        // The start-up protection releases the view after a second.
        QTRY_VERIFY_WITH_TIMEOUT(view->isEnabled(), 3000);
        QElapsedTimer timer;
        timer.start();
        QTest::ignoreMessage(QtDebugMsg, "Device removed");
        QVERIFY(mouse->unplug());
        QTRY_VERIFY_WITH_TIMEOUT(!view->isEnabled(), 3000);
        QVERIFY2(timer.elapsed() < 1500, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!widget.hidLink.listening);
        // The widget stays visible and connected until a scan says otherwise.
        QVERIFY(widget.isVisible());
        QVERIFY(deviceConnected);
        QVERIFY(!widget.deviceTimer.isActive());

        QTest::ignoreMessage(QtDebugMsg, "Device Connect");
        QVERIFY(mouse->plug());
        // The change is noticed, and one scan follows the device timer.
        QTRY_VERIFY_WITH_TIMEOUT(widget.deviceTimer.isActive(), 2000);
        QTRY_VERIFY_WITH_TIMEOUT(widget.hidLink.listening, 5000);
        QTRY_VERIFY(view->isEnabled());
    }

    void deviceChangesRestartOneTimer()
    {
        QVERIFY(startMouse());
        QVERIFY(mouse->unplug());
        Widget widget;
        widget.checkDevice();
        int scans = 0;
        connect(&widget.deviceTimer, &QTimer::timeout, this, [&scans] { ++scans; });
        QElapsedTimer timer;
        timer.start();
        qint64 lastMessage = 0;
        for (int i = 0; i < 4; ++i) {
            widget.deviceChangeMessage();
            lastMessage = timer.elapsed();
            QTest::qWait(300);
        }
        QTRY_COMPARE_WITH_TIMEOUT(scans, 1, 5000);
        QVERIFY2(timer.elapsed() - lastMessage >= 1900,
                 qPrintable(QString::number(timer.elapsed() - lastMessage)));
        QTest::qWait(300);
        QCOMPARE(scans, 1);
    }

    void noScanWhileListening()
    {
        QVERIFY(startMouse());
        Widget widget;
        widget.checkDevice();
        QVERIFY(widget.hidLink.listening);
        widget.deviceChangeMessage();
        QVERIFY(!widget.deviceTimer.isActive());
    }

    void restoreOnMessageOnlyWhenConnected()
    {
        QVERIFY(startMouse());
        Widget widget;
        widget.trayAvailable = [] { return true; };
        widget.checkDevice();
        widget.hide();
        QTest::ignoreMessage(QtDebugMsg,
                             "------------------------- receiveMessage---------------------");
        widget.receiveMessage(QString());
        QVERIFY(!widget.isVisible()); // the restore command goes through the queue
        QTRY_VERIFY(widget.isVisible());

        deviceConnected = false;
        widget.hide();
        widget.receiveMessage(QString());
        QTest::qWait(100);
        QVERIFY(!widget.isVisible());
        // A click on the tray icon shows the window anyway: a double click, and the single click
        // that is all StatusNotifierItem trays report; a context click does nothing.
        widget.trayIconActivated(QSystemTrayIcon::Context);
        QVERIFY(!widget.isVisible());
        widget.trayIconActivated(QSystemTrayIcon::DoubleClick);
        QVERIFY(widget.isVisible());
        widget.hide();
        widget.trayIconActivated(QSystemTrayIcon::Trigger);
        QVERIFY(widget.isVisible());
    }

    void trayIconAndMenu()
    {
        QVERIFY(startMouse());
        Widget widget;
        QCOMPARE(widget.trayIcon->toolTip(), QStringLiteral("Talvemark TK700 V1 TK"));
        QTRY_VERIFY(!widget.trayIcon->icon().isNull());
        QMenu *menu = widget.trayIcon->contextMenu();
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("Quit (&Q)"));
        QVERIFY(menu->styleSheet().startsWith("QMenu { border: 1px solid rgb(100, 100, 100);"));
        QVERIFY(menu->styleSheet().endsWith("padding-right: 2px; } "));
        QCOMPARE(widget.windowTitle(), QStringLiteral("Talvemark TK700"));
    }

    void quitWhileListeningEndsPromptly()
    {
        QVERIFY(startMouse());
        auto *widget = new Widget;
        widget->checkDevice();
        QVERIFY(widget->hidLink.listening);
        QTimer::singleShot(200, widget->trayIcon->contextMenu()->actions().first(),
                           &QAction::trigger);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(QCoreApplication::exec(), 0);
        delete widget;
        QVERIFY2(timer.elapsed() < 1500, qPrintable(QString::number(timer.elapsed())));
    }

    // The keyboard-option read-modify-write at connect writes only what the mouse really
    // reported; the connect does not wait for it.
    void connectWritesBackOnlyTrueOptions_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("optionWrite");
        QTest::newRow("553 silent") << "553"
                                    << "silent-feature"
                                    << "00 03";
        QTest::newRow("553 wrong echo") << "553"
                                        << "wrong-echo"
                                        << "00 03";
        QTest::newRow("560 wrong checksum") << "560"
                                            << "wrong-checksum"
                                            << "00 01";
    }
    void connectWritesBackOnlyTrueOptions()
    {
        QFETCH(QString, family);
        QFETCH(QString, fault);
        QFETCH(QString, optionWrite);
        setGlobal("mouse/icType", family);
        QVERIFY(startMouse(family));
        const QString options = mouse->state()["keyboardOptions"].toString();
        QVERIFY(mouse->fault(fault));
        Widget widget;
        QElapsedTimer timer;
        timer.start();
        widget.checkDevice();
        QVERIFY2(timer.elapsed() < transport::kExchangeBoundMs + 1500,
                 qPrintable(QString::number(timer.elapsed())));
        widget.hidLink.waitIdle();
        for (const QString &request : mouse->requests())
            QVERIFY2(!request.startsWith(optionWrite), qPrintable(request));
        QVERIFY(mouse->fault("none"));
        QCOMPARE(mouse->state()["keyboardOptions"].toString(), options);
        QVERIFY(widget.hidLink.listening);
    }

    // The start-up's questions to the mouse, asked on the link's thread: a 560 mouse on another
    // profile is made to use profile 1 on the first start only, and every start reads the stage.
    void startUpReadsTheMouse_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("onProfileTwo");
        QTest::addColumn<bool>("first");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("560 on profile 2, first start")
            << "560" << true << true << QStringList({"82 00", "02 01", "84 01"});
        QTest::newRow("560 on profile 1, first start")
            << "560" << false << true << QStringList({"82 00", "84 01"});
        QTest::newRow("560 on profile 2, reconnect")
            << "560" << true << false << QStringList({"84 01"});
        QTest::newRow("553, first start") << "553" << false << true << QStringList({"8b 00"});
    }
    void startUpReadsTheMouse()
    {
        QFETCH(QString, family);
        QFETCH(bool, onProfileTwo);
        QFETCH(bool, first);
        QFETCH(QStringList, asked);
        setGlobal("mouse/icType", family);
        QVERIFY(startMouse(family));
        Widget widget;
        widget.checkDevice();
        QVERIFY(startedUp(widget));
        QVERIFY(mouse->pressDpi(4)); // the 560 family: the stage of mode 1, which is asked
        if (onProfileTwo)
            QVERIFY(mouse->sendFeature(fromHex("00 02 02 00 00 00 00 00 fb")));
        mouse->clearLog();
        myQQuickView *view = widget.controler->mainView;
        QSignalSpy read(view, &myQQuickView::mouseStateRead);
        view->readMouseState(first);
        QTRY_COMPARE(read.size(), 1);
        QCOMPARE(read.first(), QVariantList({true, 4}));
        QStringList commands;
        for (const QString &request : mouse->requests())
            commands << request.mid(3, 5);
        QCOMPARE(commands, asked);
    }

    // A 560 mouse that answers no feature read: the connect's reads run on the link's thread, so
    // the window comes up while they run and says that it reads the mouse; once they have all
    // failed it is told once, and nothing was written into a block that could not be read.
    void silentMouseAtConnect()
    {
        setGlobal("mouse/icType", "560");
        setGlobal("mouse/isGun", false);
        QVERIFY(startMouse("560"));
        QVERIFY(mouse->fault("silent-feature"));
        Widget widget;
        widget.show();
        widget.checkDevice();
        QVERIFY(deviceConnected);
        QVERIFY(widget.hidLink.isBusy()); // returned with the reads still to run
        myQQuickView *view = widget.controler->mainView;
        QQuickItem *root = view->rootObject();
        QTRY_VERIFY_WITH_TIMEOUT(root->property("isStarted").toBool(), 10000);
        QCOMPARE(root->property("busyText").toString(), QStringLiteral("Reading the mouse…"));
        QVERIFY(!view->isEnabled());
        auto *warning = root->findChild<QQuickItem *>("warningAssigmentMain");
        QVERIFY(warning);
        QVERIFY(!warning->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(warning->isVisible(), 40000);
        QVERIFY(warning->property("textValue").toString().startsWith("The mouse did not answer"));
        QVERIFY(view->isEnabled());
        QCOMPARE(root->property("busyText").toString(), QString());
        for (const QString &request : mouse->requests())
            QVERIFY2(!request.startsWith("00 0c"), qPrintable(request));
    }

    // A profile block whose read failed is never written back from the stale image: a change to
    // it reads it again first, and sends nothing while it cannot be read.
    void unreadProfileBlockIsNeverWrittenBack()
    {
        setGlobal("mouse/icType", "560");
        setGlobal("mouse/isGun", false);
        QVERIFY(startMouse("560"));
        const QByteArray block1 = VirtualMouse::bytesOf(mouse->state()["profiles"].toArray()[1]);
        // Every read fails: its reply does not check out.
        QVERIFY(mouse->fault("wrong-echo"));
        Widget widget;
        widget.checkDevice();
        myQQuickView *view = widget.controler->mainView;
        QVERIFY(startedUp(widget));
        mouse->clearLog();
        QVERIFY(!callView(view, "mouseSetLodValue", Q_ARG(uchar, 3), Q_ARG(uchar, 1)));
        QVERIFY(!callView(view, "mouseSetProfile", Q_ARG(uint, 1)));
        for (const QString &request : mouse->requests())
            QVERIFY2(!request.startsWith("00 0c"), qPrintable(request));

        QVERIFY(mouse->fault("none"));
        QVERIFY(callView(view, "mouseSetLodValue", Q_ARG(uchar, 3), Q_ARG(uchar, 1)));
        const QByteArray now = VirtualMouse::bytesOf(mouse->state()["profiles"].toArray()[1]);
        // The DPI table the mouse had is still there; only the lift-off bytes changed.
        QCOMPARE(now.mid(profile_block::kHighRangeMaskX, 19),
                 block1.mid(profile_block::kHighRangeMaskX, 19));
        QVERIFY(now.at(profile_block::kFlags) & profile_block::kLodEnableBit);
        QVERIFY(callView(view, "mouseSetProfile", Q_ARG(uint, 1)));
    }

    // A command that arrives while an exchange runs on the link's thread (the GUI thread is free
    // during a batch) waits for it, even when the scan's clearHidBusy() comes in between; it
    // never sends its request with the other's data, and goes out after it.
    void reentryWaitsForTheToken()
    {
        QVERIFY(startMouse("553"));
        Widget widget;
        widget.checkDevice();
        QVERIFY(startedUp(widget));
        mouse->clearLog();
        bool nested = false;
        QMetaObject::invokeMethod(
            this,
            [&widget, &nested] {
                QVERIFY(widget.hidLink.isBusy());
                widget.controler->mainView->clearHidBusy();
                nested = widget.hidLink.hid553_0BH_SetCurrentDPI(3);
            },
            Qt::QueuedConnection);
        QByteArray macro(128, 0);
        for (int i = 0; i < 128; ++i)
            macro[i] = char(i + 1);
        QSignalSpy finished(&widget.hidLink, &Hid_Thread::batchFinished);
        widget.hidLink.beginBatch();
        QVERIFY(widget.hidLink.hid553_13H_SetMacroKey(5, reinterpret_cast<uchar *>(macro.data())));
        widget.hidLink.endBatch();
        QTRY_VERIFY(nested);
        QTRY_COMPARE(finished.size(), 1);
        QVERIFY(finished.first().first().toBool());
        QCOMPARE(mouse->requests(),
                 QStringList({"00 13 05 80 00 00 00 00 67", "00 0b 03 00 00 00 00 00 f1"}));
        QCOMPARE(mouse->outputData(), macro);
        QCOMPARE(VirtualMouse::bytesOf(mouse->state()["macros"].toArray()[4]), macro);
        QCOMPARE(mouse->state()["dpiStage"].toInt(), 3);
    }

    // A mouse that is listed but cannot be opened (missing hidraw permissions look like this) is
    // tried once and reported once, and tried again only on a real device change.
    void unopenableMouseIsTriedOnceAndToldOnce()
    {
        QVERIFY(startMouse());
        QVERIFY(mouse->fault("refuse-open"));
        DebugLines lines;
        Widget widget;
        widget.trayAvailable = [] { return true; };
        widget.show();
        widget.checkDevice();
        QVERIFY(!deviceConnected);
        QVERIFY(!widget.isVisible());
        QTest::qWait(30000); // what a user left with it sees over half a minute
        QCOMPARE(entriesOf(mouse->log(), "refused"), 1);
        QCOMPARE(lines.count("Device found but cannot be opened: tk700-sim:if0 - allow access "
                             "with the udev rule 70-tk700.rules (the package installs it"),
                 1);
        QCOMPARE(lines.count("tray: Info The TK700 was found but cannot be opened"), 1);
        QCOMPARE(lines.count("Device Connect"), 0);

        // Access granted and the mouse plugged in again: that change brings the next try.
        QVERIFY(mouse->fault("none"));
        QVERIFY(mouse->unplug());
        QTRY_VERIFY_WITH_TIMEOUT(widget.deviceTimer.isActive(), 3000);
        QVERIFY(mouse->plug());
        QTRY_VERIFY_WITH_TIMEOUT(deviceConnected, 8000);
        QCOMPARE(lines.count("Device Connect"), 1);
    }

    // A change that arrives during the scan is handled after it (the scan's commands run on the
    // link's thread, the GUI thread handles no events meanwhile), when the watch listens: it
    // starts no second connect. And a scan never replaces the device list under a running event
    // loop.
    void changeDuringTheScanGivesOneConnect()
    {
        QVERIFY(startMouse());
        DebugLines lines;
        Widget widget;
        QMetaObject::invokeMethod(
            &widget, [&widget] { widget.deviceChangeMessage(); }, Qt::QueuedConnection);
        widget.checkDevice();
        QVERIFY(!widget.deviceTimer.isActive());
        QCoreApplication::processEvents();
        QVERIFY(!widget.deviceTimer.isActive());
        QTest::qWait(2 * Widget::kDeviceTimerMs);
        QCOMPARE(lines.count("Device Connect"), 1);
        QVERIFY(widget.hidLink.listening);

        widget.hidLink.scanDevices();
        QVERIFY(widget.hidLink.listener.isFinished());
        QVERIFY(!widget.hidLink.listening);
    }

    // A device without an event interface cannot be watched: the loop ends at once, and device
    // changes are acted on again, so unplugging it is noticed.
    void watchWithoutEventInterfaceEnds()
    {
        QVERIFY(runtime->write(
            "modules/setting/apConfig.bin",
            "[common]\nname=Talvemark TK700\ndeviceCount=2\n[mouse]\nicType=553\n"
            "[1]\nvid=04d9\npid=a09f\nusagePage=ff00\nusage=ff00\nusagePage2=ff09\nusage2=ff09\n"));
        QVERIFY(startMouse());
        Widget widget;
        widget.trayAvailable = [] { return true; };
        widget.show();
        widget.checkDevice();
        QVERIFY(deviceConnected);
        QTRY_VERIFY_WITH_TIMEOUT(!widget.hidLink.listening, 2000);
        QVERIFY(mouse->unplug());
        QTRY_VERIFY_WITH_TIMEOUT(!deviceConnected, 6000);
        QVERIFY(!widget.controler->mainView->isEnabled());
        QVERIFY(!widget.isVisible());
    }

    // Where no tray exists a hidden window could never come back: it is minimised instead, and
    // the restore command un-minimises and raises it.
    void withoutTrayTheWindowIsMinimised()
    {
        QVERIFY(startMouse());
        QVERIFY(mouse->unplug());
        Widget widget;
        widget.trayAvailable = [] { return false; };
        widget.show();
        widget.checkDevice();
        QVERIFY(!deviceConnected);
        QVERIFY(widget.isVisible());
        QVERIFY(widget.isMinimized());
        // The title bar's hide command, too.
        widget.showNormal();
        widget.controler->onHide();
        QVERIFY(widget.isVisible());
        QVERIFY(widget.isMinimized());

        QVERIFY(mouse->plug());
        widget.checkDevice();
        QVERIFY(deviceConnected);
        widget.receiveMessage(QString());
        QTRY_VERIFY(!widget.isMinimized());
        QVERIFY(widget.isVisible());
    }

    void runFollowsInitThroughUserEvent()
    {
        QVERIFY(startMouse());
        Widget widget;
        myQQuickView *view = widget.controler->mainView;
        view->setSource(QUrl::fromLocalFile(QStringLiteral(TK700_TEST_DATA_DIR "/recorder.qml")));
        UserEvent other(1234);
        QCOMPARE(other.type(), QEvent::Type(1000));
        // Only code 2177 runs the UI.
        QCoreApplication::sendEvent(&widget, &other);
        widget.launchUi();
        QTRY_COMPARE(view->rootObject()->property("calls").toStringList(),
                     QStringList({"initUI()", "run()"}));
    }
};

QTEST_MAIN(TestWidget)
#include "tst_widget.moc"
