// tk700ctl against the virtual TK700: every command's output and exit code, its --json parsed,
// wrong arguments refused with exit code 2, and no work while the program holds the mouse. The
// tool runs from a private copy of the runtime folders, with the hidapi stand-in preloaded on it
// only.

#include "support/test_runtime.h"
#include "support/virtual_mouse.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QtTest>

#include <memory>

#include <unistd.h>

namespace
{

struct Run {
    int code = -1;
    QString out;
    QString err;
    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
};

// The bytes a macro of Ctrl+C (30 ms, 120 ms, 20 ms), repeated twice, makes in the mouse's block:
// the repeat count, then each key with the delay that follows it, then the terminator.
const QByteArray kCopyBlock = QByteArray::fromHex("0002 03e0 0c06 8206 81e0 0000");

} // namespace

class TestTk700ctl : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<QTemporaryDir> xdg;

    Run ctl(const QStringList &args)
    {
        const QString exe = runtime->path("tk700ctl");
        if (!QFile::exists(exe))
            QFile::copy(qEnvironmentVariable("TK700_BIN_DIR") + "/tk700ctl", exe);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_PRELOAD", qEnvironmentVariable("TK700_HIDAPI_SIM"));
        env.insert("XDG_RUNTIME_DIR", xdg->path());
        // The user's data folder is the tool's fallback: never the real one.
        env.insert("XDG_DATA_HOME", xdg->filePath("data"));
        // No session bus: a lock held here has no program's service behind it (tst_bus has one).
        env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + xdg->filePath("no-bus"));
        p.setProcessEnvironment(env);
        p.start(exe, args);
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return {};
        }
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

    bool startMouse(const QString &family = "553")
    {
        QSettings(runtime->path("modules/setting/apConfig.bin"), QSettings::IniFormat)
            .setValue("mouse/icType", family);
        mouse = std::make_unique<VirtualMouse>(VirtualMouse::Options{family, false, QString()});
        return mouse->start();
    }

    QVariant stored(const QString &file, const QString &key)
    {
        return QSettings(runtime->path("modules/setting/" + file), QSettings::IniFormat).value(key);
    }

    void writeCopyMacro()
    {
        QVERIFY(QDir().mkpath(runtime->path("modules/macro/Work")));
        QVERIFY(runtime->write("modules/macro/Work/Copy.bin",
                               "[config]\ntotal=7\nrepeat=2\n[macro]\n0=\"1,LCtrl\"\n1=\"0,30\"\n"
                               "2=\"1,C\"\n3=\"0,120\"\n4=\"2,C\"\n5=\"0,20\"\n6=\"2,LCtrl\"\n"));
        QVERIFY(runtime->write("modules/macro/Solo.bin", "[config]\ntotal=0\nrepeat=1\n"));
        // No macro file: the window refuses it, and sent it would empty a macro slot.
        QByteArray noise(3000, '\0');
        QRandomGenerator(700).fillRange(reinterpret_cast<quint32 *>(noise.data()), 3000 / 4);
        QVERIFY(runtime->write("modules/macro/Work/Noise.bin", noise));
    }

private slots:
    void init()
    {
        runtime = std::make_unique<TestRuntime>();
        xdg = std::make_unique<QTemporaryDir>();
        QVERIFY(runtime->isValid());
    }

    void cleanup()
    {
        mouse.reset();
        xdg.reset();
        runtime.reset();
    }

    void helpAndUsage()
    {
        const Run help = ctl({"--help"});
        QCOMPARE(help.code, 0);
        QVERIFY(help.out.startsWith("Usage: tk700ctl [--json] [--verbose] <command> [<args>]"));
        for (const char *command : {"status", "profile list", "profile switch N",
                                    "profile export N FILE", "profile import N FILE", "apply",
                                    "dpi stage N", "macro list", "macro send NAME BUTTON"})
            QVERIFY2(help.out.contains(QString("  ") + command), command);
    }

    // The shell completion the package installs, sourced in bash: it offers the commands, their
    // arguments and the options wherever they stand, and the macro names the tool itself lists.
    void bashCompletion_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("offered");
        const QStringList none;
        QTest::newRow("commands") << QStringList{""}
                                  << QStringList{"status", "profile", "apply", "dpi", "macro"};
        QTest::newRow("after an option") << QStringList{"--json", "p"} << QStringList{"profile"};
        QTest::newRow("options") << QStringList{"--v"} << QStringList{"--verbose"};
        QTest::newRow("profile") << QStringList{"profile", ""}
                                 << QStringList{"list", "switch", "export", "import"};
        QTest::newRow("profile number") << QStringList{"profile", "export", "1"}
                                        << QStringList{"1", "10"};
        QTest::newRow("profile file") << QStringList{"profile", "import", "2", "%ROOT%/modu"}
                                      << QStringList{"%ROOT%/modules"};
        QTest::newRow("dpi stage") << QStringList{"dpi", "stage", ""}
                                   << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"};
        QTest::newRow("macro names") << QStringList{"macro", "send", ""}
                                     << QStringList{"Solo", "Work/Copy"};
        QTest::newRow("macro name begun") << QStringList{"macro", "--json", "send", "W"}
                                          << QStringList{"Work/Copy"};
        QTest::newRow("macro button") << QStringList{"macro", "send", "Solo", "1"}
                                      << QStringList{"1", "10", "11", "12"};
        QTest::newRow("status takes nothing") << QStringList{"status", ""} << none;
        QTest::newRow("nothing after help") << QStringList{"--help", ""} << none;
    }
    void bashCompletion()
    {
        QFETCH(QStringList, words);
        QFETCH(QStringList, offered);
        const QString completion = qEnvironmentVariable("TK700_BASH_COMPLETION");
        if (completion.isEmpty())
            QSKIP("needs TK700_BASH_COMPLETION (set by ctest)");
        writeCopyMacro();
        // The tool as the user typed it: the completion runs that one to list the macros.
        const QString exe = runtime->path("tk700ctl");
        QVERIFY(QFile::copy(qEnvironmentVariable("TK700_BIN_DIR") + "/tk700ctl", exe));
        words.replaceInStrings("%ROOT%", runtime->root());
        offered.replaceInStrings("%ROOT%", runtime->root());
        const QString script = QStringLiteral(
            "source \"$0\" || exit 9\n"
            "registered=$(complete -p tk700ctl) || exit 8\n"
            "fn=${registered#*-F }; fn=${fn%% *}\n"
            "COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1))\n"
            "COMP_LINE=\"$*\"; COMP_POINT=${#COMP_LINE}\n"
            "\"$fn\" tk700ctl \"${COMP_WORDS[COMP_CWORD]}\" \"${COMP_WORDS[COMP_CWORD - 1]}\"\n"
            "printf '%s\\n' \"${COMPREPLY[@]}\"\n");
        QProcess bash;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", xdg->path());
        env.insert("XDG_DATA_HOME", xdg->filePath("data"));
        bash.setProcessEnvironment(env);
        bash.start("bash", QStringList{"--norc", "-c", script, completion, exe} + words);
        QVERIFY(bash.waitForFinished(60000));
        QVERIFY2(bash.exitCode() == 0, bash.readAllStandardError().constData());
        QStringList replies = QString::fromUtf8(bash.readAllStandardOutput()).split('\n');
        replies.removeAll(QString());
        QCOMPARE(replies, offered);
    }

    void statusOfBothFamilies_data()
    {
        QTest::addColumn<QString>("family");
        QTest::newRow("553") << "553";
        QTest::newRow("560") << "560";
    }
    void statusOfBothFamilies()
    {
        QFETCH(QString, family);
        QVERIFY(startMouse(family));
        const Run text = ctl({"status"});
        QCOMPARE(text.code, 0);
        QCOMPARE(text.out, QString("mouse: found (04d9:a09f)\nfamily: %1\n"
                                   "command interface: tk700-sim:if0\n"
                                   "event interface: tk700-sim:if1\nprofile: 1\ndpi stage: 2\n")
                               .arg(family));

        const Run json = ctl({"--json", "status"});
        QCOMPARE(json.code, 0);
        const QJsonObject o = json.json();
        QCOMPARE(o["ok"].toBool(), true);
        QCOMPARE(o["found"].toBool(), true);
        QCOMPARE(o["family"].toString(), family);
        QCOMPARE(o["vid"].toString(), QString("04d9"));
        QCOMPARE(o["pid"].toString(), QString("a09f"));
        QCOMPARE(o["interfaces"].toObject()["command"].toString(), QString("tk700-sim:if0"));
        QCOMPARE(o["interfaces"].toObject()["event"].toString(), QString("tk700-sim:if1"));
        QCOMPARE(o["profile"].toInt(), 1);
        QCOMPARE(o["dpiStage"].toInt(), 2);
    }

    void noMouseAndNoAccess()
    {
        QVERIFY(startMouse());
        QVERIFY(mouse->unplug());
        Run r = ctl({"status", "--json"});
        QCOMPARE(r.code, 4);
        QCOMPARE(r.json()["found"].toBool(), false);
        QCOMPARE(r.json()["ok"].toBool(), false);
        QCOMPARE(r.json()["error"].toString(), QString("no TK700 found"));
        r = ctl({"dpi", "stage", "3"});
        QCOMPARE(r.code, 4);
        QCOMPARE(r.err, QString("tk700ctl: no TK700 found\n"));

        // Listed but not ours to open: the udev rule is named.
        QVERIFY(mouse->plug());
        QVERIFY(mouse->fault("refuse-open"));
        r = ctl({"apply"});
        QCOMPARE(r.code, 4);
        QVERIFY2(r.err.contains("cannot be opened: install the udev rule 70-tk700.rules"),
                 qPrintable(r.err));
    }

    void dpiStageReachesTheMouse()
    {
        QVERIFY(startMouse());
        Run r = ctl({"dpi", "stage", "5", "--json"});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.json()["dpiStage"].toInt(), 5);
        QCOMPARE(mouse->state()["dpiStage"].toInt(), 5);
        r = ctl({"status", "--json"});
        QCOMPARE(r.json()["dpiStage"].toInt(), 5);
        QCOMPARE(ctl({"dpi", "stage", "1"}).out, QString("dpi stage 1 is active\n"));

        // A mouse that does not answer: a failure, not a success.
        QVERIFY(mouse->fault("silent-feature"));
        r = ctl({"status", "--json"});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.json()["dpiStage"].toInt(), 0);
    }

    void profilesListSwitchExportImport()
    {
        QVERIFY(startMouse());
        Run r = ctl({"profile", "list"});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.startsWith("* 1 p1.bin\n  2 p2.bin\n"));
        QVERIFY(r.out.endsWith("  10 p10.bin\n"));

        // Profile 3 with a report rate of its own (list position 0, 125 Hz, interval code 8):
        // switching makes it current and sends it.
        QSettings(runtime->path("modules/setting/p3.bin"), QSettings::IniFormat)
            .setValue("mouse/reportRate", 0);
        r = ctl({"profile", "switch", "3", "--json"});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.json()["profile"].toInt(), 3);
        QCOMPARE(stored("apConfig.bin", "mouse/profileNo").toInt(), 2);
        QCOMPARE(mouse->state()["reportRate"].toInt(), 8);
        const QJsonArray list = ctl({"--json", "profile", "list"}).json()["profiles"].toArray();
        QCOMPARE(list.size(), 10);
        for (int n = 0; n < 10; ++n) {
            QCOMPARE(list[n].toObject()["number"].toInt(), n + 1);
            QCOMPARE(list[n].toObject()["current"].toBool(), n == 2);
        }

        QTemporaryDir out;
        const QString file = out.filePath("mine.pf");
        r = ctl({"profile", "export", "3", file, "--json"});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.json()["file"].toString(), file);
        QCOMPARE(runtime->read("modules/setting/p3.bin"), [&] {
            QFile f(file);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }());
        r = ctl({"profile", "import", "5", file});
        QCOMPARE(r.code, 0);
        QCOMPARE(runtime->read("modules/setting/p5.bin"), runtime->read("modules/setting/p3.bin"));

        // Not a profile: refused, the slot kept.
        const QByteArray p6 = runtime->read("modules/setting/p6.bin");
        QFile junk(out.filePath("junk.pf"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a profile");
        junk.close();
        r = ctl({"--json", "profile", "import", "6", junk.fileName()});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.json()["ok"].toBool(), false);
        QVERIFY(!r.json()["error"].toString().isEmpty());
        QCOMPARE(runtime->read("modules/setting/p6.bin"), p6);
        // A folder that does not exist: nothing written, said so.
        QCOMPARE(ctl({"profile", "export", "1", out.filePath("no/such/folder.pf")}).code, 1);
    }

    void applySendsTheStoredProfile()
    {
        QVERIFY(startMouse());
        QSettings p1(runtime->path("modules/setting/p1.bin"), QSettings::IniFormat);
        p1.setValue("mouse/reportRate", 1); // 250 Hz: interval code 4
        // Stage 2 switched off: the 553 family's table carries it as "off".
        p1.setValue("mouse/dpiEnableArray", QStringList{"1", "0", "1", "1", "1", "1", "1", "1"});
        // Light: Symmetrical Flow, speed step 2, brightness step 4, direction 1, colour block 1.
        p1.setValue("mouseLight/lightValue", QStringList{"5", "2", "4", "1"});
        p1.setValue("mouseLight/colorIndex", 1);
        p1.sync();
        Run r = ctl({"apply", "--json"});
        QCOMPARE(r.code, 0);
        const QJsonObject sent = r.json()["sent"].toObject();
        for (const char *part :
             {"reportRate", "dpiStages", "dpiColours", "liftOff", "buttons", "lighting"})
            QVERIFY2(sent[part].toBool(), part);
        const QJsonObject state = mouse->state();
        QCOMPARE(state["reportRate"].toInt(), 4);
        const QByteArray table = VirtualMouse::bytesOf(state["dpiTable"]);
        QCOMPARE(table.size(), 8);
        QCOMPARE(uchar(table.at(1)), uchar(0x80));
        QVERIFY(uchar(table.at(0)) != 0x80);
        QVERIFY(VirtualMouse::bytesOf(state["keyMatrices"].toArray().at(0)) !=
                QByteArray(64, '\0'));
        // Stage colours: the six stored ones, then white for stages 7 and 8.
        QCOMPARE(state["stageColourType"].toInt(), 1);
        QCOMPARE(VirtualMouse::bytesOf(state["stageColours"]),
                 QByteArray::fromHex("ff0000 00ff00 0000ff ffff00 00ffff ff00ff ffffff ffffff"));
        // Marker, effect, brightness step x 5, speed, direction, then block 1's colour (255,
        // 128, 0 in the factory profile) in all 15 blocks.
        const QByteArray light = VirtualMouse::bytesOf(state["slaveAttributes"]);
        QCOMPARE(light.left(5), QByteArray::fromHex("3205140201"));
        QCOMPARE(light.mid(5, 45), QByteArray::fromHex("ff8000").repeated(15));

        // The mouse takes nothing: every part is reported as not sent.
        QVERIFY(mouse->fault("silent-write"));
        QVERIFY(mouse->fault("silent-feature"));
        r = ctl({"apply"});
        QCOMPARE(r.code, 1);
        QVERIFY(r.out.contains("FAILED"));
        QVERIFY(r.err.startsWith("tk700ctl: not sent to the mouse: "));

        // The lift-off distance goes in profile block 1 (the 560 family's command, which only
        // the 560 mouse keeps): enable bit in byte 65, code in byte 101. The profile holds the
        // slider's offset: 168 is the middle position, rate 108, code 52.
        mouse.reset();
        QVERIFY(startMouse("560"));
        QSettings(runtime->path("modules/setting/p1.bin"), QSettings::IniFormat)
            .setValue("mouse/lod", 168);
        QCOMPARE(ctl({"apply"}).code, 0);
        const QByteArray block1 = VirtualMouse::bytesOf(mouse->state()["profiles"].toArray().at(1));
        QCOMPARE(block1.size(), 128);
        QVERIFY(uchar(block1.at(65)) & 0x01);
        QCOMPARE(uchar(block1.at(101)), uchar(52));

        // Values the pages correct go out as the pages send them: a list position outside the
        // report-rate list is 1000 Hz (code 1), an offset between the marks goes to the nearest.
        {
            QSettings p1(runtime->path("modules/setting/p1.bin"), QSettings::IniFormat);
            p1.setValue("mouse/reportRate", -1);
            p1.setValue("mouse/lod", 100);
        }
        QCOMPARE(ctl({"apply"}).code, 0);
        QCOMPARE(mouse->state()["reportRate"].toInt(), 1);
        QCOMPARE(uchar(VirtualMouse::bytesOf(mouse->state()["profiles"].toArray().at(1)).at(101)),
                 uchar(52));
    }

    void macrosListAndSend()
    {
        QVERIFY(startMouse());
        writeCopyMacro();
        Run r = ctl({"macro", "list"});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, QString("Solo\nWork/Copy\n"));
        QCOMPARE(r.err, QString("tk700ctl: Work/Noise is not a macro file (left out)\n"));
        const QJsonObject list = ctl({"macro", "list", "--json"}).json();
        QCOMPARE(list["macros"].toArray(), QJsonArray({"Solo", "Work/Copy"}));
        QCOMPARE(list["notMacroFiles"].toArray(), QJsonArray({"Work/Noise"}));

        r = ctl({"--json", "macro", "send", "Work/Copy", "3"});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.json()["bytes"].toInt(), int(kCopyBlock.size()));
        const QByteArray held = VirtualMouse::bytesOf(mouse->state()["macros"].toArray().at(2));
        QCOMPARE(held.left(kCopyBlock.size()), kCopyBlock);
        QCOMPARE(held.mid(kCopyBlock.size()), QByteArray(128 - kCopyBlock.size(), '\0'));

        // A file the window would not take is refused with its reason; the slot keeps its macro.
        mouse->clearLog();
        r = ctl({"--json", "macro", "send", "Work/Noise", "3"});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.json()["error"].toString(),
                 QString("macro Work/Noise: this file is not a macro file; nothing was sent"));
        QCOMPARE(mouse->requests(), QStringList());
        QCOMPARE(VirtualMouse::bytesOf(mouse->state()["macros"].toArray().at(2)), held);

        // Mouse buttons, both long delay units and a repeat count past one byte.
        QVERIFY(runtime->write("modules/macro/Long.bin",
                               "[config]\ntotal=6\nrepeat=300\n[macro]\n0=\"3,MS-L\"\n"
                               "1=\"0,1270\"\n2=\"4,MS-L\"\n3=\"0,2000000\"\n4=\"1,KPEnter\"\n"
                               "5=\"2,KPEnter\"\n"));
        QCOMPARE(ctl({"macro", "send", "Long", "6"}).code, 0);
        QCOMPARE(VirtualMouse::bytesOf(mouse->state()["macros"].toArray().at(5)).left(20),
                 QByteArray::fromHex("012c 00f0 0001 003f 80f0 0002 9c40 0158 8158 0000"));

        // A macro keeps the key names it was recorded with: one recorded with German names is
        // sent with the same key codes while the program shows English, as the window sends it.
        QVERIFY(runtime->write("modules/macro/Enter.bin",
                               "[config]\ntotal=3\nrepeat=1\n[macro]\n"
                               "0=\"1,Enter\"\n1=\"0,30\"\n2=\"2,Enter\"\n"));
        QVERIFY(runtime->write("modules/macro/Eingabe.bin",
                               "[config]\ntotal=3\nrepeat=1\n[macro]\n0=\"1,Eingabe\"\n1=\"0,30\"\n"
                               "2=\"2,Eingabe\"\n"));
        QCOMPARE(ctl({"macro", "send", "Enter", "4"}).code, 0);
        QCOMPARE(ctl({"macro", "send", "Eingabe", "5"}).code, 0);
        const QJsonArray macros = mouse->state()["macros"].toArray();
        QCOMPARE(VirtualMouse::bytesOf(macros.at(4)), VirtualMouse::bytesOf(macros.at(3)));
    }

    void wrongArgumentsAreRefused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("unknown command") << QStringList{"frobnicate"};
        QTest::newRow("unknown option") << QStringList{"--bogus", "status"};
        QTest::newRow("status with argument") << QStringList{"status", "now"};
        QTest::newRow("apply with argument") << QStringList{"apply", "1"};
        QTest::newRow("profile alone") << QStringList{"profile"};
        QTest::newRow("profile 0") << QStringList{"profile", "switch", "0"};
        QTest::newRow("profile 11") << QStringList{"profile", "switch", "11"};
        QTest::newRow("profile not a number") << QStringList{"profile", "switch", "two"};
        QTest::newRow("export without file") << QStringList{"profile", "export", "1"};
        QTest::newRow("dpi without stage") << QStringList{"dpi", "stage"};
        QTest::newRow("dpi 9") << QStringList{"dpi", "stage", "9"};
        QTest::newRow("dpi 0") << QStringList{"dpi", "stage", "0"};
        QTest::newRow("dpi word") << QStringList{"dpi", "level", "2"};
        QTest::newRow("macro unknown") << QStringList{"macro", "send", "Nope", "1"};
        QTest::newRow("macro button 13") << QStringList{"macro", "send", "Work/Copy", "13"};
        QTest::newRow("macro path out") << QStringList{"macro", "send", "../setting/p1", "1"};
    }
    void wrongArgumentsAreRefused()
    {
        QFETCH(QStringList, args);
        QVERIFY(startMouse());
        writeCopyMacro();
        mouse->clearLog();
        const Run text = ctl(args);
        QCOMPARE(text.code, 2);
        QVERIFY2(text.err.endsWith("Try 'tk700ctl --help'.\n"), qPrintable(text.err));
        const Run json = ctl(QStringList{"--json"} + args);
        QCOMPARE(json.code, 2);
        QCOMPARE(json.json()["ok"].toBool(), false);
        QCOMPARE(json.json()["exitCode"].toInt(), 2);
        QVERIFY(!json.json()["error"].toString().isEmpty());
        // Nothing reached the mouse.
        QCOMPARE(mouse->requests(), QStringList());
    }

    // apConfig.bin cannot be replaced: the answer is a failure, never "profile 3 is current".
    void settingsNotWrittenAreAFailure()
    {
        QVERIFY(startMouse());
        // Only the immutable flag stops root from replacing a file, and an unwritable folder would
        // send the tool to the user's own data folder instead.
        const QString file = runtime->path("modules/setting/apConfig.bin");
        if (geteuid() != 0 || QProcess::execute("chattr", {"+i", file}) != 0)
            QSKIP("needs root on a file system with the immutable flag");
        const Run r = ctl({"--json", "profile", "switch", "3"});
        QCOMPARE(QProcess::execute("chattr", {"-i", file}), 0);
        QCOMPARE(r.code, 1);
        QCOMPARE(r.json()["ok"].toBool(), false);
        QVERIFY2(r.json()["error"].toString().contains("could not be written"), qPrintable(r.out));
        QCOMPARE(stored("apConfig.bin", "mouse/profileNo").toInt(), 0);
    }

    // While the program runs (it holds the single-instance lock) without its D-Bus service, the
    // tool leaves the mouse and the settings alone; listing and export still work.
    void refusesWhileTheProgramRuns()
    {
        QVERIFY(startMouse());
        QLockFile lock(xdg->path() + QString("/tk700-%1.lock").arg(getuid()));
        QVERIFY(lock.tryLock(0));
        Run r = ctl({"--json", "dpi", "stage", "3"});
        QCOMPARE(r.code, 3);
        QVERIFY(r.json()["error"].toString().contains("utility is running"));
        QCOMPARE(mouse->state()["dpiStage"].toInt(), 2);
        QCOMPARE(ctl({"profile", "switch", "2"}).code, 3);
        QCOMPARE(stored("apConfig.bin", "mouse/profileNo").toInt(), 0);
        QCOMPARE(ctl({"profile", "list"}).code, 0);
        // Export only reads; an imported file would be overwritten by the program.
        const QString file = xdg->filePath("p1.pf");
        QCOMPARE(ctl({"profile", "export", "1", file}).code, 0);
        QCOMPARE(ctl({"profile", "import", "2", file}).code, 3);
        lock.unlock();
        QCOMPARE(ctl({"dpi", "stage", "3"}).code, 0);
    }
};

QTEST_GUILESS_MAIN(TestTk700ctl)
#include "tst_tk700ctl.moc"
