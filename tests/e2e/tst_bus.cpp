// The running program as the mouse's one owner on a private session bus: tk700ctl's commands and
// direct D-Bus calls are carried out by the window (it shows them) and reach the virtual TK700
// exactly as tk700ctl's own direct path would; a request that cannot be done is a named error
// that changes nothing; the mouse's DPI button and its unplugging are signalled. The program runs
// off the display.

#include "support/program_rig.h"
#include "support/test_runtime.h"
#include "support/virtual_mouse.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

namespace
{

constexpr char kConnection[] = "tk700-test-bus";
constexpr char kService[] = "com.talvemark.TK700";
constexpr char kPath[] = "/com/talvemark/TK700";

struct Run {
    int code = -1;
    QJsonObject json;
    QString err;
};

// Profile 3 unlike profile 1 in every part a switch sends, so that a switch that sent nothing
// or the wrong profile shows on the mouse.
void editProfile3(const TestRuntime &runtime)
{
    QSettings p3(runtime.path("modules/setting/p3.bin"), QSettings::IniFormat);
    p3.setValue("mouseKeyMatrix/0", QStringList{"0", "0", "240", "0"});
    p3.setValue("mouse/reportRate", 2);
    p3.setValue("mouse/currentDpiCount", 5);
    p3.setValue("mouse/dpiValueArray",
                QStringList{"400", "1200", "2000", "2800", "3600", "4400", "5200", "6000"});
    p3.setValue("mouse/lod", 330);
    p3.setValue("mouseLight/colorIndex", 3);
}

// Ctrl+C as a macro, and a file that is no macro.
void writeMacros(const TestRuntime &runtime)
{
    QDir().mkpath(runtime.path("modules/macro/Work"));
    runtime.write("modules/macro/Work/Copy.bin",
                  "[config]\ntotal=4\nrepeat=1\n[macro]\n0=\"1,LCtrl\"\n1=\"1,C\"\n2=\"2,C\"\n"
                  "3=\"2,LCtrl\"\n");
    runtime.write("modules/macro/Work/Noise.bin", QByteArray(300, '\x7f'));
}

} // namespace

class TestBus : public QObject
{
    Q_OBJECT

private:
    QProcess daemon;
    QString address;
    std::unique_ptr<TestRuntime> runtime;
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<QTemporaryDir> xdg;
    QProcess program;
    QString probe;
    QList<int> stagesSignalled;
    QList<int> profilesSignalled;
    QList<bool> connectionsSignalled;

    QDBusConnection bus() { return QDBusConnection(kConnection); }

    std::unique_ptr<QDBusInterface> service()
    {
        auto i = std::make_unique<QDBusInterface>(kService, kPath, kService, bus());
        i->setTimeout(60000);
        return i;
    }

    QJsonObject shown(const char *property)
    {
        return ProgramRig::askProbe(probe, QByteArray("item mainIten ") + property)["props"]
            .toObject();
    }

    // tk700ctl from `root`, with `runtimeDir` as its XDG_RUNTIME_DIR (where the program's lock is)
    // and the test's private bus as its session bus.
    Run ctl(const QString &root, const QString &runtimeDir, const QStringList &args)
    {
        const QString exe = root + "/tk700ctl";
        if (!QFile::exists(exe))
            QFile::copy(ProgramRig::binDir() + "/tk700ctl", exe);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_PRELOAD", qEnvironmentVariable("TK700_HIDAPI_SIM"));
        env.insert("XDG_RUNTIME_DIR", runtimeDir);
        env.insert("XDG_DATA_HOME", runtimeDir + "/data");
        env.insert("DBUS_SESSION_BUS_ADDRESS", address);
        p.setProcessEnvironment(env);
        p.start(exe, QStringList{"--json"} + args);
        if (!p.waitForFinished(90000)) {
            p.kill();
            p.waitForFinished();
            return {};
        }
        return {p.exitCode(), QJsonDocument::fromJson(p.readAllStandardOutput()).object(),
                QString::fromUtf8(p.readAllStandardError())};
    }

    // `args` done by tk700ctl alone, on a mouse and files of its own as the program's were at
    // its start; the mouse's state afterwards in `state`.
    Run alone(const QStringList &args, QJsonObject *state)
    {
        TestRuntime files;
        editProfile3(files);
        QSettings(files.path("modules/setting/apConfig.bin"), QSettings::IniFormat)
            .setValue("mouse/icType", family());
        writeMacros(files);
        QTemporaryDir runtimeDir;
        VirtualMouse other(VirtualMouse::Options{family(), false, QString()});
        if (!other.start())
            return {};
        const Run r = ctl(files.root(), runtimeDir.path(), args);
        *state = other.profileState();
        // The other mouse goes: the program's mouse is this test's again.
        return r;
    }

    // The family of the mouse and the program's files: one test per family (CMakeLists.txt).
    static QString family() { return qEnvironmentVariable("TK700_BUS_FAMILY", "553"); }

    bool idle()
    {
        QDeadlineTimer deadline(30000);
        auto busy = [&] { return shown("busy")["busy"].toBool(true); };
        while (busy() && !deadline.hasExpired())
            QTest::qWait(50);
        return !busy();
    }

public slots:
    void stageChanged(int stage) { stagesSignalled << stage; }
    void profileChanged(int profile) { profilesSignalled << profile; }
    void connectionChanged(bool connected) { connectionsSignalled << connected; }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty())
            QSKIP("needs dbus-daemon (scripts/install-deps.sh --with-tests installs it)");
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY(daemon.waitForReadyRead(10000));
        address = QString::fromUtf8(daemon.readLine().trimmed());
        QVERIFY(QDBusConnection::connectToBus(address, kConnection).isConnected());
        QVERIFY(bus().connect(kService, kPath, kService, "DpiStageChanged", this,
                              SLOT(stageChanged(int))));
        QVERIFY(bus().connect(kService, kPath, kService, "ProfileChanged", this,
                              SLOT(profileChanged(int))));
        QVERIFY(bus().connect(kService, kPath, kService, "ConnectionChanged", this,
                              SLOT(connectionChanged(bool))));

        runtime = std::make_unique<TestRuntime>();
        editProfile3(*runtime);
        writeMacros(*runtime);
        QSettings(runtime->path("modules/setting/apConfig.bin"), QSettings::IniFormat)
            .setValue("mouse/icType", family());
        mouse = std::make_unique<VirtualMouse>(VirtualMouse::Options{family(), false, QString()});
        QVERIFY(mouse->start());
        xdg = std::make_unique<QTemporaryDir>();
        probe = xdg->path() + "/probe";
        const QString exe = runtime->path("tk700");
        QVERIFY(ProgramRig::installProgram(exe));
        QProcessEnvironment env = ProgramRig::programEnvironment(xdg->path(), probe);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("DBUS_SESSION_BUS_ADDRESS", address);
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.setWorkingDirectory(runtime->root());
        program.start(exe, {});
        QVERIFY(ProgramRig::waitForStart(program, probe));
        QVERIFY(idle());
        QTRY_VERIFY_WITH_TIMEOUT(service()->property("Connected").toBool(), 10000);
    }

    void cleanupTestCase()
    {
        ProgramRig::stopProcess(program);
        QDBusConnection::disconnectFromBus(kConnection);
        ProgramRig::stopProcess(daemon);
    }

    // Refused before anything is sent: the error names why, the mouse hears nothing and the
    // window shows what it showed.
    void refusalsChangeNothing_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("ctl"); // the same through tk700ctl, with its exit code
        QTest::addColumn<int>("code");
        const QString invalid = "com.talvemark.TK700.Error.InvalidArgument";
        QTest::newRow("profile 11")
            << "SwitchProfile" << QVariantList{11} << invalid << "profile switch 11" << 2;
        QTest::newRow("profile 0")
            << "SwitchProfile" << QVariantList{0} << invalid << "profile switch 0" << 2;
        QTest::newRow("DPI stage 9")
            << "SetDpiStage" << QVariantList{9} << invalid << "dpi stage 9" << 2;
        QTest::newRow("unknown macro") << "SendMacro" << QVariantList{"no such macro", 1} << invalid
                                       << "macro send nosuchmacro 1" << 2;
        QTest::newRow("macro to button 13")
            << "SendMacro" << QVariantList{"x", 13} << invalid << "macro send x 13" << 2;
        QTest::newRow("not a macro file")
            << "SendMacro" << QVariantList{"Work/Noise", 2} << "com.talvemark.TK700.Error.NotSent"
            << "macro send Work/Noise 2" << 1;
    }
    void refusalsChangeNothing()
    {
        QFETCH(QString, method);
        QFETCH(QVariantList, args);
        QFETCH(QString, error);
        QFETCH(QString, ctl);
        QFETCH(int, code);
        mouse->clearLog();
        const QJsonObject before = mouse->state();
        const auto s = service();
        const QDBusMessage reply = s->callWithArgumentList(QDBus::Block, method, args);
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), error);
        QVERIFY(!reply.errorMessage().isEmpty());
        const Run r = this->ctl(runtime->root(), xdg->path(), ctl.split(' '));
        QCOMPARE(r.code, code);
        QCOMPARE(r.json["ok"].toBool(true), false);
        QVERIFY(!r.json["error"].toString().isEmpty());
        QCOMPARE(mouse->requests(), QStringList());
        QCOMPARE(mouse->state(), before);
        QCOMPARE(shown("profileNo")["profileNo"].toInt(), 0);
    }

    // The same command, the same answer and the same mouse, whether the program or the tool
    // itself sends profile 3; the window shows profile 3 afterwards.
    void profileSwitchThroughTheProgram()
    {
        QJsonObject directState;
        const Run direct = alone({"profile", "switch", "3"}, &directState);
        QCOMPARE(direct.code, 0);
        profilesSignalled.clear();
        const Run r = ctl(runtime->root(), xdg->path(), {"profile", "switch", "3"});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(r.json, direct.json);
        QCOMPARE(mouse->profileState(), directState);
        QCOMPARE(shown("profileNo")["profileNo"].toInt(), 2);
        QCOMPARE(service()->property("Profile").toInt(), 3);
        const Run listed = ctl(runtime->root(), xdg->path(), {"profile", "list"});
        QCOMPARE(listed.code, 0);
        QCOMPARE(listed.json["profiles"].toArray().at(2)["current"].toBool(), true);
        // The program wrote it down as the profile in use.
        QCOMPARE(QSettings(runtime->path("modules/setting/apConfig.bin"), QSettings::IniFormat)
                     .value("mouse/profileNo")
                     .toInt(),
                 2);

        // Straight over the bus: back to profile 1, which the window shows.
        const auto s = service();
        const QDBusMessage reply = s->call("SwitchProfile", 1);
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        QVERIFY(
            !qdbus_cast<QVariantMap>(reply.arguments().value(0).value<QDBusArgument>()).isEmpty());
        QCOMPARE(shown("profileNo")["profileNo"].toInt(), 0);
        QVERIFY(mouse->profileState() != directState);
        QTRY_COMPARE(profilesSignalled, (QList<int>{3, 1}));
    }

    // The macro's block in the button's slot, as tk700ctl alone puts it there.
    void macroSendThroughTheProgram()
    {
        QJsonObject directState;
        const Run direct = alone({"macro", "send", "Work/Copy", "4"}, &directState);
        QCOMPARE(direct.code, 0);
        const Run r = ctl(runtime->root(), xdg->path(), {"macro", "send", "Work/Copy", "4"});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(r.json, direct.json);
        const QJsonValue held = mouse->state()["macros"].toArray().at(3);
        QCOMPARE(held, directState["macros"].toArray().at(3));
        QVERIFY(VirtualMouse::bytesOf(held) != QByteArray(128, '\0'));
    }

    // A stage set over the bus reaches the mouse and the window; the mouse's own DPI button is
    // signalled as the window shows it.
    void dpiStage()
    {
        stagesSignalled.clear();
        const auto s = service();
        const QDBusMessage reply = s->call("SetDpiStage", 4);
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        QCOMPARE(shown("currentDPI")["currentDPI"].toInt(), 3);
        QCOMPARE(s->property("DpiStage").toInt(), 4);
        QTRY_COMPARE(stagesSignalled, QList<int>{4});

        QVERIFY(mouse->pressDpi(6));
        QTRY_COMPARE_WITH_TIMEOUT(stagesSignalled, (QList<int>{4, 6}), 10000);
        QCOMPARE(shown("currentDPI")["currentDPI"].toInt(), 5);

        const Run r = ctl(runtime->root(), xdg->path(), {"status"});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.json["dpiStage"].toInt(), 6);
        QCOMPARE(r.json["family"].toString(), family());
        QCOMPARE(r.json["vid"].toString(), QString("04d9"));
    }

    // A mouse that stops answering: the request is answered as not sent, not left waiting.
    void silentMouse()
    {
        QVERIFY(mouse->fault("silent-write"));
        const Run r = ctl(runtime->root(), xdg->path(), {"macro", "send", "Work/Copy", "5"});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.json["error"].toString().contains("Work/Copy"), qPrintable(r.err));
        QVERIFY(mouse->fault("none"));
    }

    // Last: the mouse goes.
    void noMouse()
    {
        connectionsSignalled.clear();
        QVERIFY(mouse->unplug());
        QTRY_COMPARE_WITH_TIMEOUT(connectionsSignalled, QList<bool>{false}, 15000);
        const auto s = service();
        QCOMPARE(s->property("Connected").toBool(), false);
        const QDBusMessage reply = s->call("SetDpiStage", 2);
        QCOMPARE(reply.errorName(), QString("com.talvemark.TK700.Error.NoMouse"));
        QCOMPARE(ctl(runtime->root(), xdg->path(), {"apply"}).code, 4);
        QCOMPARE(ctl(runtime->root(), xdg->path(), {"status"}).code, 4);
    }
};

QTEST_GUILESS_MAIN(TestBus)
#include "tst_bus.moc"
