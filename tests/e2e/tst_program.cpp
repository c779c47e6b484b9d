// The real tk700 binary on an X display against the virtual TK700: what a user sees and does.
// The hidapi stand-in is preloaded on the program only, never on this test.

#include "support/program_rig.h"
#include "support/test_runtime.h"
#include "support/virtual_mouse.h"
#include "window_driver.h"

#include <QDBusConnection>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QtTest>

#include <csignal>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace
{

QString run(const QString &program, const QStringList &args, int timeoutMs = 5000)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

struct WindowInfo {
    QString id;
    QRect geometry;
};

// The visible top-level windows with exactly this title.
QList<WindowInfo> windowsNamed(const QString &title)
{
    QList<WindowInfo> found;
    const QStringList ids = run("xdotool", {"search", "--onlyvisible", "--name", "^" + title + "$"})
                                .split('\n', Qt::SkipEmptyParts);
    for (const QString &id : ids) {
        const QString info = run("xwininfo", {"-id", id});
        auto field = [&info](const char *name) {
            const qsizetype at = info.indexOf(QLatin1String(name));
            return at < 0 ? -1
                          : info.mid(at + qsizetype(strlen(name)))
                                .section('\n', 0, 0)
                                .trimmed()
                                .toInt();
        };
        found.append({id, QRect(field("Absolute upper-left X:"), field("Absolute upper-left Y:"),
                                field("Width:"), field("Height:"))});
    }
    return found;
}

int countPixels(const QImage &image, const std::function<bool(QRgb)> &match)
{
    int n = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            n += match(image.pixel(x, y));
    return n;
}

// The primary orange of the logo (#ff9933), with some room for anti-aliasing.
bool isLogoOrange(QRgb c)
{
    return qRed(c) > 220 && qGreen(c) > 110 && qGreen(c) < 180 && qBlue(c) < 90;
}

// A desktop's notification service on a private session bus: it keeps what it is asked to show.
class NotificationService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    ~NotificationService() override
    {
        QDBusConnection::disconnectFromBus(kConnection);
        ProgramRig::stopProcess(daemon);
    }

    bool start()
    {
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty())
            return false;
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!daemon.waitForReadyRead(10000))
            return false;
        address = QString::fromUtf8(daemon.readLine().trimmed());
        QDBusConnection bus = QDBusConnection::connectToBus(address, kConnection);
        return bus.registerService("org.freedesktop.Notifications") &&
               bus.registerObject("/org/freedesktop/Notifications", this,
                                  QDBusConnection::ExportAllSlots);
    }

    QString address;
    QStringList shown; // "summary: body"

public slots:
    uint Notify(const QString &, uint, const QString &, const QString &summary, const QString &body,
                const QStringList &, const QVariantMap &, int)
    {
        shown << summary + ": " + body;
        return uint(shown.size());
    }

private:
    static constexpr char kConnection[] = "tk700-test-notifications";
    QProcess daemon;
};

} // namespace

class TestProgram : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<QTemporaryDir> xdg;
    QList<QProcess *> programs;
    QProcess *trayer = nullptr;
    // Set on (or, with an empty value, taken from) the environment of the programs started next.
    QHash<QString, QString> envChanges;

    // A copy of the program beside its own runtime folders.
    QString installProgram(const QString &at = QString())
    {
        const QString exe = at.isEmpty() ? runtime->path("tk700") : at;
        if (!QFile::exists(exe))
            ProgramRig::installProgram(exe);
        return exe;
    }

    // `standIn`: the hidapi stand-in to preload; the build's when empty.
    QProcess *startProgram(const QString &workingDir, const QString &exe = QString(),
                           const QString &standIn = QString(), const QStringList &args = {})
    {
        auto *p = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        // In front of what the test itself was given (the sanitizer build's preloads).
        const QString inherited = qEnvironmentVariable("LD_PRELOAD");
        env.insert("LD_PRELOAD",
                   (standIn.isEmpty() ? qEnvironmentVariable("TK700_HIDAPI_SIM") : standIn) +
                       (inherited.isEmpty() ? QString() : ':' + inherited));
        env.insert("XDG_RUNTIME_DIR", xdg->path());
        // udev never sees the virtual mouse come and go.
        env.insert("TK700_POLL_DEVICES", "1");
        for (auto it = envChanges.cbegin(); it != envChanges.cend(); ++it) {
            if (it.value().isEmpty())
                env.remove(it.key());
            else
                env.insert(it.key(), it.value());
        }
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->setWorkingDirectory(workingDir);
        p->start(installProgram(exe), args);
        programs << p;
        return p;
    }

    static bool waitForOutput(QProcess *p, const QString &line, int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        QByteArray seen;
        while (timer.elapsed() < timeoutMs) {
            p->waitForReadyRead(100);
            seen += p->readAll();
            if (seen.contains(line.toUtf8())) {
                p->setProperty("seen", seen);
                return true;
            }
        }
        p->setProperty("seen", seen);
        qWarning().noquote() << "program output:" << seen;
        return false;
    }

    // A visible window of the program: of this size, or (with an empty size) the first small one
    // other than `except`.
    static bool findProgramWindow(const QSize &size, const QString &except, WindowInfo &out,
                                  const QString &notOfType = QString())
    {
        const QStringList ids = run("xdotool", {"search", "--onlyvisible", "--class", "tk700"})
                                    .split('\n', Qt::SkipEmptyParts);
        for (const QString &id : ids) {
            const QString info = run("xwininfo", {"-id", id});
            auto field = [&info](const char *name) {
                return info.section(QLatin1String(name), 1).section('\n', 0, 0).trimmed().toInt();
            };
            const QRect g(field("Absolute upper-left X:"), field("Absolute upper-left Y:"),
                          field("Width:"), field("Height:"));
            const bool wanted =
                (size.isValid() ? g.size() == size : (id != except && g.height() < 60)) &&
                (notOfType.isEmpty() ||
                 !run("xprop", {"-id", id, "_NET_WM_WINDOW_TYPE"}).contains(notOfType));
            if (wanted) {
                out = {id, g};
                return true;
            }
        }
        return false;
    }

    // A system tray on the display (there is none under a bare Xvfb).
    bool startTray()
    {
        if (QStandardPaths::findExecutable("trayer").isEmpty())
            return false;
        trayer = new QProcess;
        trayer->start("trayer", {"--edge", "top", "--align", "right", "--widthtype", "pixel",
                                 "--width", "200", "--height", "32", "--SetDockType", "true"});
        if (!trayer->waitForStarted())
            return false;
        QElapsedTimer waited;
        waited.start();
        while (run("xdotool", {"search", "--class", "trayer"}).isEmpty()) {
            if (waited.elapsed() > 10000)
                return false;
            QTest::qWait(100);
        }
        return true;
    }

    bool startMouse()
    {
        mouse = std::make_unique<VirtualMouse>();
        return mouse->start();
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY") || QGuiApplication::platformName() != "xcb")
            QSKIP("needs an X display (the test command runs under Xvfb)");
        if (QStandardPaths::findExecutable("xdotool").isEmpty() ||
            QStandardPaths::findExecutable("xwininfo").isEmpty())
            QSKIP("needs xdotool and xwininfo");
    }

    void init()
    {
        runtime = std::make_unique<TestRuntime>();
        xdg = std::make_unique<QTemporaryDir>();
        envChanges.clear();
        QVERIFY(runtime->isValid());
    }

    void cleanup()
    {
        for (QProcess *p : programs)
            ProgramRig::stopProcess(*p);
        qDeleteAll(programs);
        programs.clear();
        if (trayer) {
            trayer->kill();
            trayer->waitForFinished();
            delete trayer;
            trayer = nullptr;
        }
        mouse.reset();
        xdg.reset();
        runtime.reset();
    }

    // Started from another folder, the program still finds its files beside the executable,
    // connects, and shows its frameless window at the fitted size with the start-up logo.
    void startsFramelessWithLogo()
    {
        QVERIFY(startMouse());
        QTemporaryDir elsewhere;
        QProcess *program = startProgram(elsewhere.path());
        QVERIFY(waitForOutput(program, "Device Connect", 15000));

        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        const QSize fitted = screen.width() > 1280
                                 ? QSize(int(screen.width() / 1.5), int(screen.height() / 1.5))
                                 : screen;
        QList<WindowInfo> windows;
        QTRY_VERIFY_WITH_TIMEOUT(!(windows = windowsNamed("Talvemark TK700")).isEmpty(), 10000);
        QCOMPARE(windows.first().geometry.size(), fitted);
        // No decorations asked of the window manager.
        // _MOTIF_WM_HINTS: flags, functions, decorations, ...; flag 0x2 says decorations are given.
        const QString hints = run("xprop", {"-id", windows.first().id, "_MOTIF_WM_HINTS"});
        const QStringList values = hints.section('=', 1).split(',', Qt::SkipEmptyParts);
        QVERIFY2(values.size() >= 3, qPrintable(hints));
        QVERIFY2(values[0].trimmed().toUInt(nullptr, 16) & 0x2, qPrintable(hints));
        QCOMPARE(values[2].trimmed().toUInt(nullptr, 16), 0u);

        // The logo shows until the start-up protection runs out.
        QImage shot;
        int orange = 0;
        QElapsedTimer timer;
        timer.start();
        while (orange < 50 && timer.elapsed() < 5000) {
            const QRect g = windows.first().geometry;
            shot = QGuiApplication::primaryScreen()
                       ->grabWindow(0, g.x(), g.y(), g.width(), g.height())
                       .toImage();
            orange = countPixels(shot, isLogoOrange);
        }
        QDir().mkpath(ProgramRig::screensFolder());
        shot.save(ProgramRig::screensFolder() + "startup.png");
        QVERIFY2(orange >= 50, qPrintable(QString("orange pixels: %1").arg(orange)));
        QSet<QRgb> colours;
        for (int y = 0; y < shot.height(); y += 8)
            for (int x = 0; x < shot.width(); x += 8)
                colours.insert(shot.pixel(x, y));
        QVERIFY2(colours.size() > 8, qPrintable(QString("colours: %1").arg(colours.size())));

        // Afterwards the skinned background fills the window.
        QTest::qWait(1500);
        const QRect g = windows.first().geometry;
        const QImage later = QGuiApplication::primaryScreen()
                                 ->grabWindow(0, g.x(), g.y(), g.width(), g.height())
                                 .toImage();
        const QRgb centre = later.pixel(later.width() / 2, later.height() / 2);
        QVERIFY2(qRed(centre) < 60 && qBlue(centre) < 70 && qBlue(centre) > 20,
                 qPrintable(QString::number(centre, 16)));
    }

    void connectSetsKeyboardOptionAndPassesDpiEvents_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("optionWrite");
        QTest::newRow("553") << "553"
                             << "00 03 00 00 00 40 00 00 bc";
        QTest::newRow("560") << "560"
                             << "00 01 08 00 00 00 00 00 f6";
    }
    void connectSetsKeyboardOptionAndPassesDpiEvents()
    {
        QFETCH(QString, family);
        QFETCH(QString, optionWrite);
        {
            QSettings apConfig(runtime->path("modules/setting/apConfig.bin"), QSettings::IniFormat);
            apConfig.setValue("mouse/icType", family);
        }
        mouse = std::make_unique<VirtualMouse>(VirtualMouse::Options{family, false, QString()});
        QVERIFY(mouse->start());
        QProcess *program = startProgram(runtime->root());
        QVERIFY(waitForOutput(program, "Device Connect", 15000));
        QStringList requests;
        QTRY_VERIFY_WITH_TIMEOUT((requests = mouse->requests()).contains(optionWrite), 5000);
        // Let the UI start (it loads the notification texts of the language file).
        QTest::qWait(1500);
        // GIO is loaded only when the pointer settings are first written.
        QFile maps(QStringLiteral("/proc/%1/maps").arg(program->processId()));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QVERIFY(!maps.readAll().contains("libgio-2.0"));

        QVERIFY(mouse->pressDpi(3));
        QVERIFY(waitForOutput(program, "tray: Info DPI Switch to 3 ", 3000));
        QVERIFY(program->property("seen").toByteArray().contains("setCurrentDPI 3"));
        QVERIFY(mouse->pressDpi(8));
        QVERIFY(waitForOutput(program, "tray: Info DPI Switch to \n", 3000));
        QVERIFY(program->property("seen").toByteArray().contains("setCurrentDPI 8"));
        // A stage the mouse does not have is no switch: logged, and neither the view nor the
        // tray hears of it.
        QVERIFY(mouse->pressDpi(9));
        QVERIFY(
            waitForOutput(program, "the mouse reported stage 9 - no stage of it, ignored", 3000));
        QVERIFY(!program->property("seen").toByteArray().contains("setCurrentDPI 9"));
        QVERIFY(!waitForOutput(program, "tray:", 1000));
        // A report of another kind is not a stage change.
        QVERIFY(!mouse->command("event", {{"bytes", "06 05 00 04"}}).isEmpty());
        QVERIFY(!waitForOutput(program, "setCurrentDPI", 1500));
    }

    void secondInstanceWakesTheFirst()
    {
        QVERIFY(startMouse());
        QProcess *first = startProgram(runtime->root());
        QVERIFY(waitForOutput(first, "Device Connect", 15000));
        QElapsedTimer timer;
        timer.start();
        QProcess *second = startProgram(runtime->root());
        QVERIFY(second->waitForFinished(6000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 1);
        QVERIFY2(timer.elapsed() < 5500, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!second->readAll().contains("Device Connect"));
        QVERIFY(waitForOutput(
            first, "------------------------- receiveMessage---------------------", 5000));
        QCOMPARE(first->state(), QProcess::Running);
    }

    // A start that finds the program's lock held and nobody to wake says why it ends, in the
    // stored language: on its output and, where the session bus has a notification service, in a
    // notification. tk700ctl holds the lock while it works on the mouse (held still here, halfway
    // through a query the mouse never answers); a lock held by no program at all gets the other
    // text.
    void startRefusedSaysWhy_data()
    {
        QTest::addColumn<bool>("tk700ctl");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("notifications");
        QTest::addColumn<int>("text");
        QTest::newRow("tk700ctl, English, notification service") << true << "English" << true << 0;
        QTest::newRow("tk700ctl, German, no session bus") << true << "German" << false << 0;
        QTest::newRow("nobody answers, French, notification service")
            << false << "French" << true << 1;
    }
    void startRefusedSaysWhy()
    {
        QFETCH(bool, tk700ctl);
        QFETCH(QString, language);
        QFETCH(bool, notifications);
        QFETCH(int, text);
        QSettings(runtime->path("modules/setting/apConfig.bin"), QSettings::IniFormat)
            .setValue("common/language", language);
        const QString expected =
            QSettings(runtime->path("modules/i18n/" + language + ".ini"), QSettings::IniFormat)
                .value("start/" + QString::number(text))
                .toString();
        QVERIFY(!expected.isEmpty());

        NotificationService service;
        if (notifications) {
            if (!service.start())
                QSKIP("needs dbus-daemon (scripts/install-deps.sh --with-tests installs it)");
            envChanges.insert("DBUS_SESSION_BUS_ADDRESS", service.address);
        } else {
            envChanges.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + xdg->filePath("no-bus"));
        }

        QVERIFY(startMouse());
        QProcess tool;
        QLockFile lock(xdg->filePath(QStringLiteral("tk700-%1.lock").arg(getuid())));
        if (tk700ctl) {
            QVERIFY(mouse->fault("silent-feature"));
            const QString exe = runtime->path("tk700ctl");
            QVERIFY(QFile::copy(ProgramRig::binDir() + "/tk700ctl", exe));
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("LD_PRELOAD", qEnvironmentVariable("TK700_HIDAPI_SIM"));
            env.insert("XDG_RUNTIME_DIR", xdg->path());
            tool.setProcessEnvironment(env);
            tool.start(exe, {"status"});
            // Its own lock is taken together with the program's.
            const QString toolLock =
                xdg->filePath(QStringLiteral("tk700-%1-tk700ctl.lock").arg(getuid()));
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(toolLock), 10000);
            QCOMPARE(::kill(pid_t(tool.processId()), SIGSTOP), 0);
            QVERIFY(QFile::exists(toolLock));
        } else {
            QVERIFY(lock.tryLock(0));
        }

        QProcess *program = startProgram(runtime->root());
        QTRY_VERIFY_WITH_TIMEOUT(program->state() == QProcess::NotRunning, 15000);
        const QString said = QString::fromUtf8(program->readAll());
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 1);
        QVERIFY2(said.contains("tk700: " + expected + "\n"), qPrintable(said));
        QVERIFY(!said.contains("Device Connect"));
        if (notifications)
            QTRY_COMPARE(service.shown, QStringList("Talvemark TK700: " + expected));
        if (tk700ctl)
            ::kill(pid_t(tool.processId()), SIGCONT);
        ProgramRig::stopProcess(tool);
    }

    // Started by the desktop's autostart entry: connected, in the tray, and no window shown until
    // the user asks for it.
    void startsHiddenWithTheDesktop()
    {
        if (!startTray())
            QSKIP("needs trayer for a system tray under Xvfb");
        QVERIFY(startMouse());
        QProcess *program = startProgram(runtime->root(), {}, {}, {"--hidden"});
        QVERIFY(waitForOutput(program, "Device Connect", 15000));
        QTest::qWait(2000);
        QVERIFY(windowsNamed("Talvemark TK700").isEmpty());
        // Started again, as from the menu: the running one shows its window.
        QProcess *second = startProgram(runtime->root());
        QVERIFY(second->waitForFinished(6000));
        QTRY_VERIFY_WITH_TIMEOUT(!windowsNamed("Talvemark TK700").isEmpty(), 10000);
    }

    void noMouseHidesTheWindowAndKeepsRunning()
    {
        // Without a tray the window would be minimised instead: a hidden one could not come back.
        if (!startTray())
            QSKIP("needs trayer for a system tray under Xvfb");
        QVERIFY(startMouse());
        QVERIFY(mouse->unplug());
        QProcess *program = startProgram(runtime->root());
        QVERIFY(waitForOutput(program, "Device DisConnect", 15000));
        QTest::qWait(1000);
        QCOMPARE(program->state(), QProcess::Running);
        QVERIFY(windowsNamed("Talvemark TK700").isEmpty());

        // Plugging the mouse in brings a scan and a connect.
        QVERIFY(mouse->plug());
        QVERIFY(waitForOutput(program, "Device Connect", 8000));
    }

    // Whether the mouse's return is noticed: where no udev daemon runs (no /run/udev/control), the
    // program compares the enumeration without being asked; TK700_POLL_DEVICES=1 asks for it
    // everywhere.
    void unplugAndReplug_data()
    {
        QTest::addColumn<QString>("pollDevices");
        QTest::newRow("no udev daemon") << QString();
        QTest::newRow("TK700_POLL_DEVICES=1") << "1";
    }
    void unplugAndReplug()
    {
        QFETCH(QString, pollDevices);
        if (pollDevices.isEmpty() && QFile::exists("/run/udev/control"))
            QSKIP("a udev daemon runs here: it never sees the virtual mouse");
        // Empty: not set at all.
        envChanges.insert("TK700_POLL_DEVICES", pollDevices);
        QVERIFY(startMouse());
        QProcess *program = startProgram(runtime->root());
        QVERIFY(waitForOutput(program, "Device Connect", 15000));
        QVERIFY(program->property("seen").toByteArray().contains(
            pollDevices.isEmpty() ? "compared every 250 ms - no device events from the system"
                                  : "compared every 250 ms - asked for by TK700_POLL_DEVICES=1"));
        QTest::qWait(1500);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(mouse->unplug());
        QVERIFY(waitForOutput(program, "Device removed", 3000));
        QVERIFY2(timer.elapsed() < 1500, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(mouse->plug());
        QVERIFY(waitForOutput(program, "Device Connect", 8000));
    }

    // What a user does: right-click the tray icon and choose Quit. With a page not applied the
    // window comes up and asks first: Apply quits once the mouse has the edits (a failed write is
    // told, and the program stays), Discard quits without them, Cancel keeps them.
    void quitFromTheTrayMenu_data()
    {
        QTest::addColumn<QString>("answer"); // none: nothing to apply, nothing asked
        QTest::addColumn<QString>("fault");
        QTest::newRow("nothing to apply") << QString() << QString();
        QTest::newRow("Apply") << "Apply" << QString();
        QTest::newRow("Apply, the connection drops") << "Apply" << "drop-after";
        QTest::newRow("Discard") << "Discard" << QString();
        QTest::newRow("Cancel") << "Cancel" << QString();
    }
    void quitFromTheTrayMenu()
    {
        QFETCH(QString, answer);
        QFETCH(QString, fault);
        if (!startTray())
            QSKIP("needs trayer for a system tray under Xvfb");
        QVERIFY(startMouse());
        envChanges.insert("TK700_ITEM_PROBE", xdg->filePath("probe"));
        const WindowDriver window(xdg->filePath("probe"));
        QProcess *program = startProgram(runtime->root());
        QVERIFY(waitForOutput(program, "Device Connect", 15000));
        QVERIFY(ProgramRig::waitForStart(*program, xdg->filePath("probe")));
        const QJsonValue table = mouse->state()["dpiTable"];
        if (!answer.isEmpty()) {
            // One DPI step up on the first stage, then the window goes to the tray.
            QVERIFY(window.ask("call dpiSettingMain step 0 1")["called"].toBool());
            QVERIFY(window.click("closeBtn"));
            QTRY_VERIFY_WITH_TIMEOUT(windowsNamed("Talvemark TK700").isEmpty(), 10000);
            QVERIFY(fault.isEmpty() || mouse->fault(fault));
        }

        // The icon is a small window of the program inside the tray.
        WindowInfo icon, menu;
        QTRY_VERIFY_WITH_TIMEOUT(findProgramWindow(QSize(22, 30), {}, icon), 10000);
        const QPoint c = icon.geometry.center();
        // The menu opens under the pointer with its single item; the icon's tool tip and the
        // connect balloon are small windows too, and not it. The balloon may lie over the icon
        // and take the click (which closes it), so a click that opened no menu is given again.
        bool menuShown = false;
        for (int attempt = 0; attempt < 3 && !menuShown; ++attempt) {
            run("xdotool",
                {"mousemove", QString::number(c.x()), QString::number(c.y()), "click", "3"});
            QElapsedTimer waited;
            waited.start();
            while (!(menuShown = findProgramWindow(QSize(), icon.id, menu, "TOOLTIP")) &&
                   waited.elapsed() < 5000)
                QTest::qWait(100);
        }
        QVERIFY(menuShown);
        const QPoint item = menu.geometry.center();
        run("xdotool",
            {"mousemove", QString::number(item.x()), QString::number(item.y()), "click", "1"});
        if (!answer.isEmpty()) {
            QVERIFY(WindowDriver::waitFor([&] { return window.shown("quitQuestion"); }));
            QVERIFY(!windowsNamed("Talvemark TK700").isEmpty());
            QVERIFY(window.click("quitQuestion" + answer));
        }
        if (answer == "Cancel" || !fault.isEmpty()) {
            // The program runs on with the edits: the question gone, or the failure told.
            QVERIFY(WindowDriver::waitFor([&] {
                return !window.shown("quitQuestion") &&
                       window.shown(fault.isEmpty() ? "applyBtn" : "warningAssigmentMain");
            }));
            QVERIFY(window.property("mainIten", "isUnsaved").toBool());
            return;
        }
        // Waits for the program to end, however loaded the machine is.
        QVERIFY(program->waitForFinished(30000));
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 0);
        QCOMPARE(mouse->state()["dpiTable"] != table, answer == "Apply");
    }

    // Being told to end by the system is Quit from the tray menu: exit code 0, and the lock and
    // the socket go with the program, so the next start is a first instance again.
    void terminationSignalsQuitCleanly_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void terminationSignalsQuitCleanly()
    {
        QFETCH(int, signal);
        QVERIFY(startMouse());
        QProcess *program = startProgram(runtime->root());
        QVERIFY(waitForOutput(program, "Device Connect", 15000));
        QVERIFY(!QDir(xdg->path()).entryList({"tk700-*"}, QDir::Files | QDir::System).isEmpty());
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(::kill(pid_t(program->processId()), signal), 0);
        QVERIFY(program->waitForFinished(30000));
        qInfo("ended %lld ms after the signal", timer.elapsed());
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 0);
        QCOMPARE(QDir(xdg->path()).entryList({"tk700-*"}, QDir::Files | QDir::System),
                 QStringList());

        if (signal == SIGTERM) {
            QProcess *again = startProgram(runtime->root());
            QVERIFY(waitForOutput(again, "Device Connect", 15000));
        }
    }

    // The instance is the user's: a copy at another path wakes the running one and leaves.
    void copiesAtTwoPathsAreOneInstance()
    {
        QVERIFY(startMouse());
        QProcess *first = startProgram(runtime->root());
        QVERIFY(waitForOutput(first, "Device Connect", 15000));
        TestRuntime other;
        QVERIFY(other.isValid());
        QProcess *second = startProgram(other.root(), other.path("tk700"));
        QVERIFY(second->waitForFinished(15000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 1);
        QVERIFY(waitForOutput(
            first, "------------------------- receiveMessage---------------------", 5000));
        QCOMPARE(first->state(), QProcess::Running);
    }
    // A damaged global file and a FIFO in place of a profile: start-up must neither hang nor
    // leave a hidden window without a word. It names both files, offers the factory copies and,
    // when the user agrees, restores them and goes on.
    void brokenSettingsFilesAreNamedAtStartUp()
    {
        QVERIFY(runtime->write("modules/setting/apConfig.bin", QByteArray("\x7f"
                                                                          "ELF\0\0garbage",
                                                                          12)));
        const QString p1 = runtime->path("modules/setting/p1.bin");
        QVERIFY(QFile::remove(p1));
        QVERIFY(::mkfifo(QFile::encodeName(p1).constData(), 0600) == 0);
        QVERIFY(startMouse());
        QProcess *program = startProgram(runtime->root());
        QVERIFY(waitForOutput(program, "broken settings file: ./modules/setting/p1.bin", 15000));
        QVERIFY(program->property("seen").toByteArray().contains(
            "broken settings file: ./modules/setting/apConfig.bin"));

        QList<WindowInfo> box;
        QTRY_VERIFY_WITH_TIMEOUT(!(box = windowsNamed("Settings files")).isEmpty(), 10000);
        // Yes is the default button.
        run("xdotool", {"windowfocus", "--sync", box.first().id});
        run("xdotool", {"key", "Return"});
        QVERIFY(waitForOutput(program, "Device Connect", 15000));
        const QByteArray seen = program->property("seen").toByteArray();
        QVERIFY(seen.contains("restored ./modules/setting/apConfig.bin"));
        QVERIFY(seen.contains("restored ./modules/setting/p1.bin"));
        QCOMPARE(runtime->read("modules/setting/apConfig.bin"),
                 runtime->read("modules/setting/apConfigD.bin"));
        QCOMPARE(runtime->read("modules/setting/p1.bin"), runtime->read("modules/setting/pD.bin"));
    }

    // `cmake --install` gives a tree that runs: bin/tk700 starts the program, which works in its
    // own installed runtime folders, here against the virtual TK700 installed beside it.
    void installedTreeRuns()
    {
        const QString cmake = qEnvironmentVariable("TK700_CMAKE_COMMAND");
        const QString build = qEnvironmentVariable("TK700_BUILD_DIR");
        if (cmake.isEmpty() || build.isEmpty())
            QSKIP("needs TK700_CMAKE_COMMAND and TK700_BUILD_DIR (set by ctest)");
        QTemporaryDir prefix;
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(cmake, {"--install", build, "--prefix", prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0,
                 install.readAll().constData());
        const QString program = prefix.filePath("bin/tk700");
        const QString installed = prefix.filePath("lib/tk700");
        QVERIFY(QFileInfo(program).isExecutable());
        QVERIFY(QFileInfo::exists(installed + "/modules/setting/apConfig.bin"));
        QVERIFY(QFileInfo::exists(prefix.filePath("lib/udev/rules.d/70-tk700.rules")));

        QVERIFY(startMouse());
        QTemporaryDir elsewhere;
        QProcess *started = startProgram(elsewhere.path(), program,
                                         installed + "/virtual-tk700/libtk700-hidapi.so");
        QVERIFY(waitForOutput(started, "Device Connect", 15000));
        QVERIFY(!started->property("seen").toByteArray().contains("broken settings file"));
        QTRY_VERIFY_WITH_TIMEOUT(!windowsNamed("Talvemark TK700").isEmpty(), 10000);
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList());
        started->terminate();
        QVERIFY(started->waitForFinished(30000));
        QCOMPARE(started->exitStatus(), QProcess::NormalExit);
        QCOMPARE(started->exitCode(), 0);
    }
};

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
