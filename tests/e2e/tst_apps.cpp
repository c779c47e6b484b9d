// Profiles that follow the application in front, the program on a private session bus: on X11 (a
// private Xvfb with openbox, windows focused with xdotool) and on Plasma under Wayland (a stand-in
// for KWin's scripting that runs the program's script). A profile is sent once per switch, never
// for an application left before the delay; the tray says which profile and why.

#include "support/program_rig.h"
#include "support/test_runtime.h"
#include "support/virtual_mouse.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QJSEngine>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

#include <xcb/xcb.h>

namespace
{

// The test's connection to the private bus; in the KWin row it is KWin's too.
constexpr char kKwinBus[] = "tk700-test-kwin";
// Editor is bound to nothing, Browser to profile 2, TestGame to profile 3.
const QStringList kApps = {"Editor", "Browser", "TestGame"};

// KWin's scripting as far as the program uses it, at /Scripting and /Scripting/Script7: the
// script it loads runs over a workspace whose activations the test makes, and its callDBus calls
// go out on the bus.
class StandInKwin : public QObject
{
    Q_OBJECT

public:
    QString path;
    QJSEngine engine;
    QStringList calls;

    Q_INVOKABLE void callDBus(const QVariantList &a)
    {
        QDBusMessage m =
            QDBusMessage::createMethodCall(a.value(0).toString(), a.value(1).toString(),
                                           a.value(2).toString(), a.value(3).toString());
        m.setArguments(a.mid(4));
        QDBusConnection(kKwinBus).asyncCall(m);
    }

public slots:
    int loadScript(const QString &file, const QString &name)
    {
        calls << "load " + name;
        path = file;
        return 7;
    }
    bool unloadScript(const QString &name)
    {
        calls << "unload " + name;
        return true;
    }
    void run()
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        engine.globalObject().setProperty("kwin", engine.newQObject(this));
        QJSEngine::setObjectOwnership(this, QJSEngine::CppOwnership);
        const QJSValue ran = engine.evaluate(
            "var handlers = [];\n"
            "var workspace = { activeWindow: null,\n"
            "    windowActivated: { connect: function (f) { handlers.push(f); } } };\n"
            "function callDBus() { kwin.callDBus(Array.prototype.slice.call(arguments)); }\n"
            "function activate(name) { workspace.activeWindow = { resourceClass: name, pid: 1 };\n"
            "    handlers.forEach(function (f) { f(workspace.activeWindow); }); }\n" +
            QString::fromUtf8(file.readAll()));
        QVERIFY2(!ran.isError(), qPrintable(ran.toString()));
    }
};

// A mapped top-level window per application, of its class, for the window manager to focus.
QList<xcb_window_t> mapWindows(xcb_connection_t *c)
{
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    QList<xcb_window_t> ids;
    for (const QString &app : kApps) {
        const xcb_window_t w = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 200, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        const QByteArray wmClass = app.toLower().toLatin1() + '\0' + app.toLatin1() + '\0';
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                            uint32_t(wmClass.size()), wmClass.constData());
        xcb_map_window(c, w);
        ids << w;
    }
    xcb_flush(c);
    return ids;
}

} // namespace

class TestApps : public QObject
{
    Q_OBJECT

private:
    QList<int> profilesSignalled;

public slots:
    void profileChanged(int profile) { profilesSignalled << profile; }

private slots:
    void follows_data()
    {
        QTest::addColumn<bool>("kwin");
        QTest::newRow("X11 window manager") << false;
        QTest::newRow("KWin script") << true;
    }
    void follows()
    {
        QFETCH(bool, kwin);
        for (const char *tool : {"dbus-daemon", "Xvfb", "openbox", "xdotool"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP("needs dbus-daemon, Xvfb, openbox and xdotool (scripts/install-deps.sh "
                      "--with-tests installs them)");
        QProcess daemon;
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY(daemon.waitForReadyRead(10000));
        const QString address = QString::fromUtf8(daemon.readLine().trimmed());
        QVERIFY(QDBusConnection::connectToBus(address, kKwinBus)
                    .connect("com.talvemark.TK700", "/com/talvemark/TK700", "com.talvemark.TK700",
                             "ProfileChanged", this, SLOT(profileChanged(int))));
        TestRuntime runtime;
        // Each profile with a report rate of its own, which shows the profile sent last.
        QSettings(runtime.path("modules/setting/p2.bin"), QSettings::IniFormat)
            .setValue("mouse/reportRate", 1);
        QSettings(runtime.path("modules/setting/p3.bin"), QSettings::IniFormat)
            .setValue("mouse/reportRate", 2);
        {
            QSettings config(runtime.path("modules/setting/apConfig.bin"), QSettings::IniFormat);
            config.setValue("appProfiles/profile1", QStringList{"Browser"});
            config.setValue("appProfiles/profile2", QStringList{"Other", "TestGame"});
            config.setValue("appProfiles/delayMs", 1000);
        }
        VirtualMouse mouse;
        QVERIFY(mouse.start());
        QTemporaryDir xdg;
        const QString probe = xdg.path() + "/probe";
        const QString exe = runtime.path("tk700");
        QVERIFY(ProgramRig::installProgram(exe));
        QProcessEnvironment env = ProgramRig::programEnvironment(xdg.path(), probe);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("DBUS_SESSION_BUS_ADDRESS", address);
        env.remove("XDG_SESSION_TYPE");

        // The desktop, and how an application is brought to the front on it.
        QProcess xvfb, openbox;
        QList<xcb_window_t> windows; // until the test ends
        StandInKwin kwinStandIn;
        std::function<void(const QStringList &)> front;
        if (kwin) {
            QDBusConnection bus(kKwinBus);
            QVERIFY(bus.registerObject("/Scripting", "org.kde.kwin.Scripting", &kwinStandIn,
                                       QDBusConnection::ExportAllSlots));
            QVERIFY(bus.registerObject("/Scripting/Script7", "org.kde.kwin.Script", &kwinStandIn,
                                       QDBusConnection::ExportAllSlots));
            QVERIFY(bus.registerService("org.kde.KWin"));
            env.insert("XDG_CURRENT_DESKTOP", "KDE");
            env.insert("WAYLAND_DISPLAY", "tk700-test-none");
            env.remove("DISPLAY");
            front = [&](const QStringList &apps) {
                for (const QString &app : apps)
                    kwinStandIn.engine.evaluate("activate('" + app + "')");
            };
        } else {
            xvfb.start("Xvfb",
                       {"-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp"});
            QVERIFY(xvfb.waitForReadyRead(10000));
            const QString display = ":" + QString::fromLatin1(xvfb.readLine().trimmed());
            qputenv("DISPLAY", display.toLatin1());
            openbox.start("openbox", {"--sm-disable"});
            windows = mapWindows(xcb_connect(nullptr, nullptr));
            env.insert("DISPLAY", display);
            env.remove("WAYLAND_DISPLAY");
            env.insert("XDG_CURRENT_DESKTOP", "openbox");
            auto activate = [&](const QStringList &apps) {
                QStringList args;
                for (const QString &app : apps)
                    args << "windowactivate"
                         << "--sync" << QString::number(windows.at(kApps.indexOf(app)));
                return QProcess::execute("xdotool", args) == 0;
            };
            front = [activate](const QStringList &apps) { QVERIFY(activate(apps)); };
            // Once the window manager has started, it takes the focus.
            QTRY_VERIFY_WITH_TIMEOUT(activate({"Editor"}), 10000);
        }

        QProcess program;
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.setWorkingDirectory(runtime.root());
        program.start(exe, {});
        QVERIFY(ProgramRig::waitForStart(program, probe));
        // A profile send sets the report rate once.
        auto sends = [&] { return mouse.requests().filter(QRegularExpression("^00 01 ")).size(); };
        auto busy = [&] {
            const QJsonObject shown = ProgramRig::askProbe(probe, "item mainIten busy");
            return shown["props"].toObject()["busy"].toBool(true);
        };
        // The applications brought to the front in turn, all but the last left before the delay;
        // the profiles signalled since the start, the report rate the mouse holds and the tray's
        // note afterwards.
        const std::tuple<QStringList, QList<int>, int, QByteArray> steps[] = {
            {{"TestGame"}, {3}, 2, "Profile 3: TestGame is in front"},
            {{"Editor", "TestGame", "Browser"}, {3, 2}, 4, "Profile 2: Browser is in front"},
            {{"TestGame", "Editor"}, {3, 2, 1}, 1, "back to the profile chosen by hand"}};
        profilesSignalled.clear();
        for (const auto &[apps, profiles, rate, note] : steps) {
            QTRY_VERIFY_WITH_TIMEOUT(!busy(), 30000);
            mouse.clearLog();
            front(apps);
            QTRY_COMPARE_WITH_TIMEOUT(profilesSignalled, profiles, 20000);
            QTRY_VERIFY_WITH_TIMEOUT(!busy(), 30000);
            QCOMPARE(sends(), 1);
            QCOMPARE(mouse.state()["reportRate"].toInt(), rate);
            QTRY_VERIFY(program.peek(1 << 20).contains(note));
            // The next start begins with the profile chosen by hand.
            QCOMPARE(QSettings(runtime.path("modules/setting/apConfig.bin"), QSettings::IniFormat)
                         .value("mouse/profileNo")
                         .toInt(),
                     0);
        }

        ProgramRig::stopProcess(program);
        // A script a killed run left is unloaded first; the program's own goes with it.
        if (kwin)
            QTRY_COMPARE(kwinStandIn.calls.join(", "),
                         QString("unload %1, load %1, unload %1").arg("tk700-follow-application"));
        QDBusConnection::disconnectFromBus(kKwinBus);
        ProgramRig::stopProcess(openbox);
        ProgramRig::stopProcess(xvfb);
        ProgramRig::stopProcess(daemon);
    }
};

QTEST_GUILESS_MAIN(TestApps)
#include "tst_apps.moc"
