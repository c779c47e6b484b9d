// The D-Bus service against a stand-in for the window, on a private session bus: a request waits
// while the window works, runs one at a time, and is answered only when its device work has run,
// with the named error of what went wrong.

#include "app/bus_service.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace
{

class StandInWindow : public MouseOwner
{
public:
    bool isConnected = true;
    bool isBusy = false;
    Started next{true, true};
    QStringList started; // "profile 3", "stage 2"

    bool connected() const override { return isConnected; }
    QString family() const override { return QStringLiteral("553"); }
    int profile() const override { return 1; }
    int dpiStage() const override { return 2; }
    QVariantMap device() const override { return {}; }
    QStringList profileFiles() const override { return {}; }
    QString language() const override { return QStringLiteral("English"); }
    QString saveFailure() const override { return QStringLiteral("p3.bin: disk full"); }
    bool busy() const override { return isBusy; }
    Started switchProfile(int profile) override
    {
        return start(QStringLiteral("profile %1").arg(profile));
    }
    Started applyProfile() override { return start(QStringLiteral("apply")); }
    Started setDpiStage(int stage) override { return start(QStringLiteral("stage %1").arg(stage)); }
    Started sendMacro(const QVariantList &, int button, const QString &) override
    {
        return start(QStringLiteral("macro %1").arg(button));
    }

private:
    Started start(const QString &what)
    {
        started << what;
        return next;
    }
};

constexpr char kServer[] = "tk700-test-service";
constexpr char kClient[] = "tk700-test-client";

} // namespace

class TestBusService : public QObject
{
    Q_OBJECT

private:
    QProcess daemon;
    StandInWindow *window = nullptr;
    BusService *service = nullptr;

    QDBusPendingCall ask(const QString &method, const QVariantList &args)
    {
        QDBusMessage m = QDBusMessage::createMethodCall(
            "com.talvemark.TK700", "/com/talvemark/TK700", "com.talvemark.TK700", method);
        m.setArguments(args);
        return QDBusConnection(kClient).asyncCall(m);
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty())
            QSKIP("needs dbus-daemon (scripts/install-deps.sh --with-tests installs it)");
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY(daemon.waitForReadyRead(10000));
        const QString address = QString::fromUtf8(daemon.readLine().trimmed());
        QVERIFY(QDBusConnection::connectToBus(address, kServer).isConnected());
        QVERIFY(QDBusConnection::connectToBus(address, kClient).isConnected());
    }

    void init()
    {
        window = new StandInWindow;
        service = new BusService(window, window);
        QVERIFY(service->publish(QDBusConnection(kServer)));
    }

    void cleanup()
    {
        QDBusConnection(kServer).unregisterService("com.talvemark.TK700");
        QDBusConnection(kServer).unregisterObject("/com/talvemark/TK700");
        delete window;
    }

    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(kServer);
        QDBusConnection::disconnectFromBus(kClient);
        daemon.terminate();
        daemon.waitForFinished();
    }

    // What the device work came to, and the answer.
    void answerAfterTheWork_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<bool>("started");
        QTest::addColumn<bool>("queued"); // every write was queued
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QVariantMap>("parts");
        QTest::addColumn<QString>("error"); // empty: a reply
        QTest::addColumn<QString>("message");
        const QVariantMap sent{{"buttons", true}, {"lighting", true}};
        QTest::newRow("done") << true << true << true << true << true << sent << ""
                              << "";
        QTest::newRow("the mouse did not take a write")
            << true << true << true << false << true << sent << "NotSent"
            << "the mouse did not take profile 3";
        QTest::newRow("a write refused before it was queued")
            << true << true << false << true << true << sent << "NotSent"
            << "";
        QTest::newRow("a part not sent")
            << true << true << true << true << true
            << QVariantMap{{"buttons", true}, {"liftOff", false}} << "NotSent"
            << "not sent to the mouse: liftOff";
        QTest::newRow("settings not written")
            << true << true << true << true << false << sent << "NotSaved"
            << "the settings could not be written to p3.bin: disk full";
        QTest::newRow("no work started")
            << true << false << false << true << true << sent << "NotSent"
            << "";
        QTest::newRow("no mouse") << false << true << true << true << true << sent << "NoMouse"
                                  << "no TK700 found";
    }
    void answerAfterTheWork()
    {
        QFETCH(bool, connected);
        QFETCH(bool, started);
        QFETCH(bool, queued);
        QFETCH(bool, ok);
        QFETCH(bool, saved);
        QFETCH(QVariantMap, parts);
        QFETCH(QString, error);
        QFETCH(QString, message);
        window->isConnected = connected;
        window->next = {started, queued};
        QDBusPendingCall call = ask("SwitchProfile", {3});
        if (connected && started) {
            QTRY_COMPARE(window->started, QStringList{"profile 3"});
            // Not answered before the work has run.
            QTest::qWait(50);
            QVERIFY(!call.isFinished());
            emit window->workFinished(ok, saved, parts);
        }
        QTRY_VERIFY(call.isFinished());
        QCOMPARE(call.isError(), !error.isEmpty());
        if (!connected)
            QCOMPARE(window->started, QStringList());
        if (error.isEmpty()) {
            QCOMPARE(QDBusPendingReply<QVariantMap>(call).value(), parts);
            return;
        }
        QCOMPARE(call.error().name(), "com.talvemark.TK700.Error." + error);
        if (!message.isEmpty())
            QCOMPARE(call.error().message(), message);
        QVERIFY(!call.error().message().isEmpty());
    }

    // Behind the window's own work, one request at a time, in the order asked; the window's work
    // ending is not taken for a request's.
    void waitsForTheWindow()
    {
        window->isBusy = true;
        QDBusPendingCall first = ask("SetDpiStage", {2});
        QDBusPendingCall second = ask("SwitchProfile", {4});
        QTest::qWait(50);
        QCOMPARE(window->started, QStringList());
        emit window->workFinished(true, true, {}); // the window's own
        QTest::qWait(50);
        QVERIFY(!first.isFinished());
        window->isBusy = false;
        emit window->becameIdle();
        QTRY_COMPARE(window->started, QStringList{"stage 2"});
        emit window->becameIdle();
        QTest::qWait(50);
        QCOMPARE(window->started, QStringList{"stage 2"});
        emit window->workFinished(true, true, {});
        QTRY_VERIFY(first.isFinished());
        QVERIFY(!first.isError());
        QTRY_COMPARE(window->started, (QStringList{"stage 2", "profile 4"}));
        QVERIFY(!second.isFinished());
        emit window->workFinished(true, true, {{"buttons", true}});
        QTRY_VERIFY(second.isFinished());
        QVERIFY(!second.isError());
    }
};

QTEST_GUILESS_MAIN(TestBusService)
#include "tst_bus_service.moc"
