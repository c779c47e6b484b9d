// The window controller and the view's calls into the QML root.

#include "support/test_runtime.h"
#include "view/myqquickview.h"
#include "view/ui_controler.h"

#include <QGuiApplication>
#include <QMetaMethod>
#include <QPixmapCache>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QScreen>
#include <QWheelEvent>
#include <QtTest>

#include <memory>

namespace
{

QStringList calls(myQQuickView *view)
{
    return view->rootObject()->property("calls").toStringList();
}

void useRecorder(myQQuickView *view)
{
    view->setSource(QUrl::fromLocalFile(QStringLiteral(TK700_TEST_DATA_DIR "/recorder.qml")));
}

void wheel(QWidget *target, QPoint delta)
{
    QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), delta, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &event);
}

} // namespace

class TestUiControler : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;

private slots:
    void init()
    {
        runtime = std::make_unique<TestRuntime>();
        QVERIFY(runtime->isValid());
    }
    void cleanup() { runtime.reset(); }

    void fittedSize_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSize>("fitted");
        QTest::newRow("1920x1080") << QSize(1920, 1080) << QSize(1280, 720);
        QTest::newRow("1280x1024 exactly") << QSize(1280, 1024) << QSize(1280, 1024);
        QTest::newRow("1281 wide") << QSize(1281, 1024) << QSize(854, 682);
        QTest::newRow("1024x768") << QSize(1024, 768) << QSize(1024, 768);
        QTest::newRow("2560x1440") << QSize(2560, 1440) << QSize(1706, 960);
    }
    void fittedSize()
    {
        QFETCH(QSize, screen);
        QFETCH(QSize, fitted);
        QCOMPARE(::fittedSize(screen), fitted);
    }

    void setupDecoratesTheHost()
    {
        QWidget host;
        Hid_Thread link;
        Ui_Controler controler;
        QTest::ignoreMessage(
            QtDebugMsg,
            "=====================Ui_Controler - setupUi================================ ");
        controler.setupUi(&host, &link);
        QCOMPARE(host.objectName(), QStringLiteral("Widget"));
        QVERIFY(host.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(host.testAttribute(Qt::WA_TranslucentBackground));
        QCOMPARE(host.windowTitle(), QStringLiteral("Talvemark TK700"));
        QCOMPARE(controler.mainView->objectName(), QStringLiteral("ui_View"));
        QCOMPARE(controler.mainView->parentWidget(), &host);
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        QCOMPARE(host.size(), ::fittedSize(screen));
        // The document was loaded and already saw the three objects.
        QQuickItem *root = controler.mainView->rootObject();
        QVERIFY(root);
        QCOMPARE(root->property("frameW").toInt(), ::fittedSize(screen).width());
        QQmlContext *context = controler.mainView->rootContext();
        QCOMPARE(context->contextProperty("hid").value<QObject *>(), &link);
        QCOMPARE(context->contextProperty("ui_Ctl").value<QObject *>(), &controler);
        QCOMPARE(context->contextProperty("ui_View").value<QObject *>(), controler.mainView);
    }

    // The window maps with the start-up logo alone: the screen behind it is not built during
    // set-up but later, from the event loop, with its parts under the names the shell uses; the
    // pages and dialogs not shown at start-up are built when first asked for.
    void theScreenIsBuiltAfterSetup()
    {
        QWidget host;
        Hid_Thread link;
        Ui_Controler controler;
        controler.setupUi(&host, &link);
        QQuickItem *root = controler.mainView->rootObject();
        QVERIFY(root);
        QVERIFY(!root->property("pagesBuilt").toBool());
        QVERIFY(!root->property("keyMatrixMain").value<QObject *>());
        host.show();
        QTRY_VERIFY_WITH_TIMEOUT(root->property("pagesBuilt").toBool(), 20000);
        for (const char *name : {"keyMatrixMain", "dpiSettingMain", "profileMain", "menuUp",
                                 "warningAssigmentMain"})
            QVERIFY2(root->property(name).value<QObject *>(), name);
        for (const char *name : {"lightControlMain", "systemSettingMain", "macroEditorMain",
                                 "gunControlMain", "macroKeyAssigmentMain"}) {
            QVERIFY2(!root->property(name).value<QObject *>(), name);
            QVariant built;
            QVERIFY(QMetaObject::invokeMethod(root, "buildPart", Q_RETURN_ARG(QVariant, built),
                                              Q_ARG(QVariant, QString::fromLatin1(name))));
            QVERIFY2(built.value<QObject *>(), name);
            QCOMPARE(root->property(name).value<QObject *>(), built.value<QObject *>());
        }
        QVERIFY(root->findChild<QQuickItem *>(QStringLiteral("protectUIItem")));
    }

    void maxRestoreCallsSetScreenRect()
    {
        QWidget host;
        Ui_Controler controler;
        controler.setupUi(&host, nullptr);
        useRecorder(controler.mainView);
        host.show();
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        const QSize fitted = ::fittedSize(screen);
        controler.onMaxRestore();
        QVERIFY(controler.isMaximized);
        controler.onMaxRestore();
        QVERIFY(!controler.isMaximized);
        QCOMPARE(
            calls(controler.mainView),
            QStringList(
                {QString("setScreenRect(%1,%2,true)").arg(screen.width()).arg(screen.height()),
                 QString("setScreenRect(%1,%2,false)").arg(fitted.width()).arg(fitted.height())}));
    }

    void windowCommands()
    {
        QWidget host;
        Ui_Controler controler;
        controler.setupUi(&host, nullptr);
        host.move(100, 100);
        const QPoint start = host.pos();
        controler.onXChanged(0);
        controler.onYChanged(0);
        QCOMPARE(host.pos(), start);
        controler.onXChanged(15);
        controler.onYChanged(-5);
        QCOMPARE(host.pos(), start + QPoint(15, -5));
        host.show();
        // Hidden to the tray, the program keeps no cached image that nothing shows.
        QPixmap drawn(8, 8);
        drawn.fill(Qt::red);
        const QPixmapCache::Key cached = QPixmapCache::insert(drawn);
        drawn = QPixmap();
        controler.onHide();
        QVERIFY(!host.isVisible());
        QVERIFY(!QPixmapCache::find(cached, &drawn));
        controler.test(10, 20);
        QCOMPARE(host.size(), controler.mainView->size() + QSize(10, 20));
        // Without a host nothing happens.
        Ui_Controler bare;
        bare.onMinimize();
        bare.onHide();
        bare.onXChanged(3);
        bare.onMaxRestore();
        QVERIFY(!bare.isMaximized);
    }

    void wheelQueuesScrollSteps()
    {
        myQQuickView view;
        useRecorder(&view);
        wheel(&view, QPoint(0, 60));
        wheel(&view, QPoint(0, -240));
        wheel(&view, QPoint(120, 0));    // horizontal: nothing
        QVERIFY(calls(&view).isEmpty()); // queued, not yet run
        QTRY_COMPARE(calls(&view), QStringList({"scroll(0)", "scroll(-2)"}));
    }

    void rootCallsDirectOrQueued()
    {
        myQQuickView view;
        useRecorder(&view);
        view.setBusy(300);
        view.setCurrentDPI(3);
        // Direct calls are done before the slot returns.
        QCOMPARE(calls(&view), QStringList({"setProtectUI(300)", "setCurrentDPI(3)"}));
        view.initUI();
        view.runUI();
        view.detectKeyboard(true, 0x04);
        view.detectMouse(false, 0xF0, 4294967291u, 7);
        QCOMPARE(calls(&view).size(), 2);
        QTRY_COMPARE(calls(&view), QStringList({"setProtectUI(300)", "setCurrentDPI(3)", "initUI()",
                                                "run()", "detectKeyboard(true,4)",
                                                "detectMouse(false,240,4294967291,7)"}));
    }

    void controllerBusyCallsProtectUI()
    {
        QWidget host;
        Ui_Controler controler;
        controler.setupUi(&host, nullptr);
        useRecorder(controler.mainView);
        controler.setBusy(500);
        QMetaObject::invokeMethod(&controler, "setBusy"); // the form without an argument
        QCOMPARE(calls(controler.mainView), QStringList({"setProtectUI(500)", "setProtectUI(0)"}));
    }

    // QML hands numbers to the device link's byte parameters.
    void qmlReachesDeviceCommands()
    {
        myQQuickView view;
        Hid_Thread link;
        view.rootContext()->setContextProperty("hid", &link);
        view.setSource(QUrl::fromLocalFile(QStringLiteral(TK700_TEST_DATA_DIR "/recorder.qml")));
        QTest::ignoreMessage(QtDebugMsg, "hid553_01H_SetReportRate = 2");
        QVERIFY(QMetaObject::invokeMethod(view.rootObject(), "callHid", Q_ARG(QVariant, 2)));
        QVERIFY(link.hidFree);
    }

    // The QML tests' stand-in for ui_View offers nothing the view does not: each of its functions
    // and signals is one of the view's, of the same kind and with as many arguments (moc lists a
    // slot with default arguments once per count). A rest parameter (...args), which the stand-in's
    // meta-object shows as one parameter of that name, forwards any count.
    void recordingViewMatchesTheView()
    {
        // The stand-in's own tools for the tests.
        const QSet<QByteArray> helpers = {
            "factoryProfile", "factoryGlobal", "factoryGuns", "reset",      "note",  "write",
            "argsOf",         "clear",         "finishQueue", "finishRead", "store", "forward"};
        QQmlEngine engine;
        QQmlComponent component(
            &engine, QUrl::fromLocalFile(QStringLiteral(TK700_QML_TEST_DIR "/RecordingView.qml")));
        std::unique_ptr<QObject> standIn(component.create());
        QVERIFY2(standIn, qPrintable(component.errorString()));
        const QMetaObject *fake = standIn->metaObject();
        const QMetaObject &real = myQQuickView::staticMetaObject;

        QSet<int> notifiers;
        for (int p = fake->propertyOffset(); p < fake->propertyCount(); ++p)
            notifiers << fake->property(p).notifySignalIndex();
        auto isSignal = [](const QMetaMethod &m) { return m.methodType() == QMetaMethod::Signal; };
        QSet<QByteArray> checked, helpersSeen;
        QStringList differing;
        for (int i = fake->methodOffset(); i < fake->methodCount(); ++i) {
            const QMetaMethod method = fake->method(i);
            if (notifiers.contains(i))
                continue;
            if (helpers.contains(method.name())) {
                helpersSeen << method.name();
                continue;
            }
            const bool variadic =
                method.parameterCount() == 1 && method.parameterNames().value(0) == "args";
            bool found = false;
            for (int j = 0; j < real.methodCount() && !found; ++j) {
                const QMetaMethod candidate = real.method(j);
                found = candidate.name() == method.name() &&
                        isSignal(candidate) == isSignal(method) &&
                        (variadic || candidate.parameterCount() == method.parameterCount());
            }
            if (!found)
                differing << QString::fromLatin1(method.methodSignature());
            checked << method.name();
        }
        QVERIFY2(differing.isEmpty(), qPrintable("not the view's: " + differing.join(", ")));
        QCOMPARE(helpersSeen, helpers);
        // The walk reached the stand-in's functions and signals.
        for (const char *name : {"getGlobalData", "saveMacroIni", "deviceWorkFinished"})
            QVERIFY2(checked.contains(name), name);
    }

    // Every save disables the view for a moment; afterwards, and after another window had the
    // focus, what the user types must still reach the text field.
    void typingAfterDisableAndFocusChange()
    {
        myQQuickView view;
        view.setSource(QUrl::fromLocalFile(QStringLiteral(TK700_TEST_DATA_DIR "/typing.qml")));
        view.resize(400, 200);
        view.show();
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        auto text = [&view] { return view.rootObject()->property("text").toString(); };
        QTest::keyClicks(&view, "ab");
        QCOMPARE(text(), QStringLiteral("ab"));

        view.setEnabled(false);
        view.setEnabled(true);
        QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(50, 50));
        QTRY_VERIFY(view.hasFocus());
        QTest::keyClicks(&view, "cd");
        QCOMPARE(text(), QStringLiteral("abcd"));

        QWidget other;
        other.resize(100, 100);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QTest::keyClicks(&view, "ef");
        QCOMPARE(text(), QStringLiteral("abcdef"));
    }

    void clearHidBusyFreesTheToken()
    {
        myQQuickView view;
        Hid_Thread link;
        view.deviceLink = &link;
        link.hidFree = false;
        view.clearHidBusy();
        QVERIFY(link.hidFree);
    }
};

QTEST_MAIN(TestUiControler)
#include "tst_ui_controler.moc"
