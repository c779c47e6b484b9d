// The window and tk700ctl as two views of one core: for stored profiles of every kind, the window's
// profile change and `tk700ctl profile switch` must leave the virtual TK700 holding exactly the
// same (its whole state dump compared), for both families, with and without gun buttons. The
// table of profiles compared is printed.

#include "support/program_rig.h"
#include "support/test_runtime.h"
#include "support/virtual_mouse.h"

#include <QProcess>
#include <QSettings>
#include <QtTest>

#include <functional>
#include <memory>

namespace
{

using Edit = std::function<void(QSettings &)>;

struct Case {
    const char *name;
    Edit edit; // on p2.bin, a copy of the factory profile
    bool gunMouse;
    bool gameMode = false; // profiles 1 and 2 in game mode
};

void entries(QSettings &p, const QString &group, const QList<QStringList> &list)
{
    for (int n = 0; n < list.size(); ++n)
        p.setValue(group + "/" + QString::number(n), list.at(n));
}

const QList<Case> &cases()
{
    static const QList<Case> list = {
        {"factory", [](QSettings &) {}, false},
        {"every entry type",
         [](QSettings &p) {
             entries(p, "mouseKeyMatrix",
                     {{"0", "0", "240", "0"},    // mouse function
                      {"1", "0", "4", "3"},      // fire key
                      {"2", "1", "29", "0"},     // key combination
                      {"3", "0", "205", "0"},    // media key
                      {"4", "0", "1", "0"},      // macro slot 2
                      {"5", "0", "1", "0"},      // DPI function
                      {"6", "0", "148", "1"},    // a desktop function
                      {"7", "0", "224", "22"},   // shortcut
                      {"0", "0", "30", "2"},     // double fire
                      {"255", "0", "1", "0"}});  // off
             p.setValue("mouse/reportRate", 2);
             p.setValue("mouse/currentDpiCount", 6);
             p.setValue("mouse/dpiValueArray",
                        QStringList{"800", "1600", "2400", "3200", "4000", "4800", "5600", "6400"});
             p.setValue("mouse/dpiEnableArray", QStringList{"1", "1", "0", "1", "1", "1", "1", "1"});
             p.setValue("mouse/lod", 330);
             p.setValue("mouse/lodEn", 1);
             p.setValue("mouseLight/lightValue", QStringList{"5", "3", "7", "2"});
             p.setValue("mouseLight/colorIndex", 4);
         },
         false},
        {"gun buttons",
         [](QSettings &p) {
             entries(p, "mouseKeyMatrix",
                     {{"0", "0", "240", "0"}, {"8", "0", "1", "0"}, {"8", "0", "2", "0"},
                      {"8", "0", "3", "0"}});
         },
         true},
        {"game mode, gun buttons",
         [](QSettings &p) {
             entries(p, "mouseKeyMatrix2",
                     {{"0", "0", "240", "0"}, {"8", "0", "1", "0"}, {"8", "0", "3", "0"}});
         },
         true, true},
        {"malformed values",
         [](QSettings &p) {
             entries(p, "mouseKeyMatrix",
                     {{"x", "0", "240", "0"}, {"1", "2"}, {" 2 ", "0x01", "29", "0"}});
             p.setValue("mouse/reportRate", "fast");
             p.setValue("mouse/currentDpiCount", "3 stages");
             p.setValue("mouse/dpiValueArray", QStringList{"1234", "2000", "abc"});
             p.setValue("mouse/dpiColorArray",
                        QStringList{"#12", "red", "#00ff00", "#zz00ff", "", "#ffffff"});
             p.setValue("mouse/lod", "-40");
             p.setValue("mouse/lodEn", "yes");
             p.setValue("mouseLight/lightValue", QStringList{"9", "x", "99", "-2"});
             p.setValue("mouseLight/colorValue", QStringList{"300", "-1", "abc"});
             p.setValue("mouseLight/colorIndex", 40);
             // More stages than the panel has: not sent by either, and told by both.
             p.setValue("mouse/dpiCount", 12);
         },
         true},
    };
    return list;
}

} // namespace

class TestProfileParity : public QObject
{
    Q_OBJECT

private:
    QStringList table;

    // A fresh runtime of `family` with `c` in profile 2, and a fresh mouse.
    bool prepare(std::unique_ptr<TestRuntime> &runtime, std::unique_ptr<VirtualMouse> &mouse,
                 const QString &family, const Case &c)
    {
        runtime = std::make_unique<TestRuntime>();
        {
            QSettings ap(runtime->path("modules/setting/apConfig.bin"), QSettings::IniFormat);
            ap.setValue("mouse/icType", family);
            ap.setValue("mouse/isGun", c.gunMouse);
            ap.setValue("mouse/profileNo", 0);
        }
        QFile::remove(runtime->path("modules/setting/p2.bin"));
        if (!QFile::copy(runtime->path("modules/setting/pD.bin"),
                         runtime->path("modules/setting/p2.bin")))
            return false;
        {
            QSettings p2(runtime->path("modules/setting/p2.bin"), QSettings::IniFormat);
            c.edit(p2);
            if (c.gameMode) {
                p2.setValue("mouse/mouseMode", 1);
                QSettings(runtime->path("modules/setting/p1.bin"), QSettings::IniFormat)
                    .setValue("mouse/mouseMode", 1);
            }
        }
        mouse = std::make_unique<VirtualMouse>(VirtualMouse::Options{family, false, QString()});
        return mouse->start();
    }

    QJsonObject throughTool(const QString &family, const Case &c, QString *outcome)
    {
        std::unique_ptr<TestRuntime> runtime;
        std::unique_ptr<VirtualMouse> mouse;
        QTemporaryDir xdg;
        if (!prepare(runtime, mouse, family, c))
            return {};
        const QString exe = runtime->path("tk700ctl");
        QFile::copy(ProgramRig::binDir() + "/tk700ctl", exe);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_PRELOAD", qEnvironmentVariable("TK700_HIDAPI_SIM"));
        env.insert("XDG_RUNTIME_DIR", xdg.path());
        env.insert("XDG_DATA_HOME", xdg.filePath("data"));
        p.setProcessEnvironment(env);
        p.start(exe, {"profile", "switch", "2"});
        if (!p.waitForFinished(60000))
            p.kill();
        *outcome = p.exitCode() == 0 ? "sent" : "failed";
        if (p.exitCode() != 0)
            qInfo().noquote() << "tk700ctl:" << p.readAllStandardError().trimmed();
        return mouse->profileState();
    }

    QJsonObject throughWindow(const QString &family, const Case &c, QString *outcome)
    {
        std::unique_ptr<TestRuntime> runtime;
        std::unique_ptr<VirtualMouse> mouse;
        QTemporaryDir xdg;
        if (!prepare(runtime, mouse, family, c))
            return {};
        const QString exe = runtime->path("tk700");
        ProgramRig::installProgram(exe);
        const QString probe = xdg.path() + "/probe";
        QProcess program;
        QProcessEnvironment env = ProgramRig::programEnvironment(xdg.path(), probe);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.setWorkingDirectory(runtime->root());
        program.start(exe, {});
        auto busy = [&] {
            return ProgramRig::askProbe(probe, "item protectUIItem isBusy")["props"]
                .toObject()["isBusy"]
                .toBool(true);
        };
        auto idle = [&] {
            QDeadlineTimer deadline(30000);
            while (busy() && !deadline.hasExpired())
                QTest::qWait(50);
            return !busy();
        };
        QJsonObject state;
        if (ProgramRig::waitForStart(program, probe) && idle()) {
            const bool called =
                ProgramRig::askProbe(probe, "call mainIten changeProfile 1", 30000)["called"].toBool();
            // The warning box is the window's word that the mouse did not take everything.
            const bool done = called && idle();
            const bool warned =
                ProgramRig::askProbe(probe, "item warningAssigmentMain visible")["props"]
                    .toObject()["visible"]
                    .toBool();
            *outcome = !done ? "no answer" : warned ? "failed" : "sent";
            state = mouse->profileState();
        }
        ProgramRig::stopProcess(program);
        return state;
    }

private slots:
    void sameMouseStateFromBoth_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("index");
        for (const char *family : {"553", "560"})
            for (int i = 0; i < cases().size(); ++i)
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(family, cases().at(i).name)))
                    << QString(family) << i;
    }

    void sameMouseStateFromBoth()
    {
        QFETCH(QString, family);
        QFETCH(int, index);
        const Case &c = cases().at(index);
        QString tool, window;
        const QJsonObject byTool = throughTool(family, c, &tool);
        const QJsonObject byWindow = throughWindow(family, c, &window);
        QVERIFY(!byTool.isEmpty());
        QVERIFY(!byWindow.isEmpty());
        table << QStringLiteral("%1 | %2 | %3 | %4 | %5 | %6")
                     .arg(family, -4)
                     .arg(c.name, -22)
                     .arg(c.gunMouse ? "yes" : "no", -9)
                     .arg(tool, -8)
                     .arg(window, -8)
                     .arg(byTool == byWindow ? "same" : "DIFFERENT");
        for (auto it = byTool.begin(); it != byTool.end(); ++it)
            if (byWindow.value(it.key()) != it.value())
                qWarning().noquote() << it.key() << "tool:" << it.value()
                                     << "window:" << byWindow.value(it.key());
        QCOMPARE(byWindow, byTool);
        // The same failure is told by both, or neither fails.
        QCOMPARE(window == "sent", tool == "sent");
    }

    void cleanupTestCase()
    {
        qInfo().noquote() << "\nfamily | profile in slot 2      | gun mouse | tk700ctl | window   | "
                             "mouse state\n" + table.join('\n');
    }
};

QTEST_GUILESS_MAIN(TestProfileParity)
#include "tst_profile_parity.moc"
