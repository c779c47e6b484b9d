// The program on a Wayland session: a headless weston compositor of its own, the program on Qt's
// Wayland platform against the virtual TK700. It connects, shows its window, and takes keys from
// its own window, since no X server can observe a Wayland desktop. (The headless compositor has
// no seat: keys and pointer presses cannot be injected, so capture and window moves themselves
// are tested with synthetic events elsewhere.)

#include "support/program_rig.h"
#include "support/test_runtime.h"
#include "support/virtual_mouse.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

class TestWayland : public QObject
{
    Q_OBJECT

private slots:
    void programRunsOnWayland()
    {
        if (QStandardPaths::findExecutable("weston").isEmpty())
            QSKIP("needs weston (scripts/install-deps.sh --with-tests installs it)");
        TestRuntime runtime;
        QVERIFY(runtime.isValid());
        QTemporaryDir xdg; // the compositor's and the program's runtime folder, mode 0700
        QVERIFY(QFile::setPermissions(xdg.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QString socketName = "wayland-tk700-test";

        QProcess weston;
        QProcessEnvironment westonEnv = QProcessEnvironment::systemEnvironment();
        westonEnv.insert("XDG_RUNTIME_DIR", xdg.path());
        westonEnv.remove("DISPLAY");
        westonEnv.remove("WAYLAND_DISPLAY");
        weston.setProcessEnvironment(westonEnv);
        weston.setProcessChannelMode(QProcess::MergedChannels);
        weston.start("weston", {"--backend=headless-backend.so", "--socket=" + socketName,
                                "--idle-time=0", "--width=1280", "--height=800"});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(xdg.filePath(socketName)), 15000);

        VirtualMouse mouse;
        QVERIFY(mouse.start());
        const QString exe = runtime.path("tk700");
        QVERIFY(ProgramRig::installProgram(exe));
        const QString probe = xdg.filePath("probe");
        QProcess program;
        QProcessEnvironment env = ProgramRig::programEnvironment(xdg.path(), probe);
        env.remove("DISPLAY");
        env.insert("QT_QPA_PLATFORM", "wayland");
        env.insert("WAYLAND_DISPLAY", socketName);
        // Qt 6.4's Wayland input context dereferences the seat, which a headless compositor
        // does not have; a desktop always has one.
        env.insert("QT_IM_MODULE", "none");
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(exe, {});

        QByteArray seen;
        QElapsedTimer timer;
        timer.start();
        bool started = false;
        while (timer.elapsed() < 30000 && !started) {
            program.waitForReadyRead(200);
            seen += program.readAll();
            started = seen.contains("Device Connect") &&
                      ProgramRig::askProbe(probe, "item mainIten isStarted")["props"]
                          .toObject()["isStarted"]
                          .toBool();
        }
        QVERIFY2(started, seen.constData());
        QVERIFY(ProgramRig::askProbe(probe, "item menuUp")["visible"].toBool());
        QVERIFY2(seen.contains("input: keys of the program's own windows (Wayland session)"),
                 seen.constData());
        QVERIFY(!seen.contains("Could not load the Qt platform plugin"));

        ProgramRig::stopProcess(program, 10000);
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        ProgramRig::stopProcess(weston, 10000);
    }
};

QTEST_GUILESS_MAIN(TestWayland)
#include "tst_wayland.moc"
