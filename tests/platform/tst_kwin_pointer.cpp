// The pointer speed on Plasma under Wayland: KWin's per-device input settings on the session bus.
// A private bus (dbus-daemon) carries a stand-in for KWin's input device objects, served on a
// thread of its own: a mouse, a touchpad and a keyboard.

#include "platform/desktop_pointer_settings.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <atomic>

// GLib names a struct member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

namespace
{

const char kManagerXml[] = "<node><interface name='org.kde.KWin.InputDeviceManager'>"
                           "<property name='devicesSysNames' type='as' access='read'/>"
                           "</interface></node>";
const char kDeviceXml[] = "<node><interface name='org.kde.KWin.InputDevice'>"
                          "<property name='pointer' type='b' access='read'/>"
                          "<property name='pointerAcceleration' type='d' access='readwrite'/>"
                          "</interface></node>";

struct FakeDevice {
    const char *sysName;
    bool pointer;
    std::atomic<double> acceleration{0.25};
};

FakeDevice devices[] = {{"event3", true}, {"event5", false}, {"event7", true}};

GVariant *getProperty(GDBusConnection *, const gchar *, const gchar *path, const gchar *,
                      const gchar *name, GError **, gpointer)
{
    if (g_str_equal(name, "devicesSysNames")) {
        const gchar *names[] = {devices[0].sysName, devices[1].sysName, devices[2].sysName,
                                nullptr};
        return g_variant_new_strv(names, -1);
    }
    for (FakeDevice &d : devices) {
        if (QByteArray(path).endsWith(d.sysName)) {
            if (g_str_equal(name, "pointer"))
                return g_variant_new_boolean(d.pointer);
            return g_variant_new_double(d.acceleration);
        }
    }
    return nullptr;
}

gboolean setProperty(GDBusConnection *, const gchar *, const gchar *path, const gchar *,
                     const gchar *name, GVariant *value, GError **, gpointer)
{
    for (FakeDevice &d : devices) {
        if (QByteArray(path).endsWith(d.sysName) && g_str_equal(name, "pointerAcceleration")) {
            d.acceleration = g_variant_get_double(value);
            return TRUE;
        }
    }
    return FALSE;
}

const GDBusInterfaceVTable kVTable = {nullptr, getProperty, setProperty, {}};

// KWin's stand-in: owns "org.kde.KWin" on the bus at `address` and answers until stopped.
class FakeKwin
{
public:
    explicit FakeKwin(QByteArray address) : address(std::move(address)) {}
    ~FakeKwin() { stop(); }

    bool start()
    {
        thread = g_thread_new("fake-kwin", &FakeKwin::run, this);
        QElapsedTimer waited;
        waited.start();
        while (!ready && !failed && waited.elapsed() < 10000)
            QThread::msleep(10);
        return ready;
    }

    void stop()
    {
        if (!thread)
            return;
        while (!loop)
            QThread::msleep(1);
        g_main_loop_quit(loop);
        g_thread_join(thread);
        thread = nullptr;
        g_main_loop_unref(loop.exchange(nullptr));
    }

private:
    static gpointer run(gpointer self) { return static_cast<FakeKwin *>(self)->serve(); }

    gpointer serve()
    {
        GMainContext *context = g_main_context_new();
        g_main_context_push_thread_default(context);
        GDBusConnection *bus = g_dbus_connection_new_for_address_sync(
            address.constData(),
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                 G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        GDBusNodeInfo *manager = g_dbus_node_info_new_for_xml(kManagerXml, nullptr);
        GDBusNodeInfo *device = g_dbus_node_info_new_for_xml(kDeviceXml, nullptr);
        loop = g_main_loop_new(context, FALSE);
        if (bus && manager && device) {
            g_dbus_connection_register_object(bus, "/org/kde/KWin/InputDevice",
                                              manager->interfaces[0], &kVTable, nullptr, nullptr,
                                              nullptr);
            for (const FakeDevice &d : devices)
                g_dbus_connection_register_object(
                    bus, (QByteArray("/org/kde/KWin/InputDevice/") + d.sysName).constData(),
                    device->interfaces[0], &kVTable, nullptr, nullptr, nullptr);
            GVariant *owned = g_dbus_connection_call_sync(
                bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                "RequestName", g_variant_new("(su)", "org.kde.KWin", 4u), G_VARIANT_TYPE("(u)"),
                G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
            if (owned) {
                g_variant_unref(owned);
                ready = true;
                g_main_loop_run(loop);
            }
        }
        failed = !ready;
        if (bus)
            g_object_unref(bus);
        if (manager)
            g_dbus_node_info_unref(manager);
        if (device)
            g_dbus_node_info_unref(device);
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
        return nullptr;
    }

    QByteArray address;
    GThread *thread = nullptr;
    std::atomic<GMainLoop *> loop{nullptr};
    std::atomic<bool> ready{false};
    std::atomic<bool> failed{false};
};

} // namespace

class TestKwinPointer : public QObject
{
    Q_OBJECT

public:
    explicit TestKwinPointer(QByteArray address) : address(std::move(address)) {}

private:
    QByteArray address;

private slots:
    void initTestCase()
    {
        if (address.isEmpty())
            QSKIP("needs dbus-daemon (scripts/install-deps.sh --with-tests installs it)");
    }

    void init()
    {
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
        qputenv("WAYLAND_DISPLAY", "wayland-test");
        for (FakeDevice &d : devices)
            d.acceleration = 0.25;
    }

    // Every pointer takes the speed at once (speed 15 of 1...20: halfway above neutral); the
    // keyboard is left alone; the X11 entry is not written.
    void everyPointerTakesTheSpeed()
    {
        FakeKwin kwin(address);
        QVERIFY(kwin.start());
        QVERIFY(desktopPointerSettings()->setPointerSpeed(15));
        QCOMPARE(double(devices[0].acceleration), 0.5);
        QCOMPARE(double(devices[1].acceleration), 0.25);
        QCOMPARE(double(devices[2].acceleration), 0.5);
        QVERIFY(desktopPointerSettings()->setPointerSpeed(1));
        QCOMPARE(double(devices[0].acceleration), -1.0);
        QVERIFY(!QFileInfo::exists(qEnvironmentVariable("XDG_CONFIG_HOME") + "/kcminputrc"));
    }

    // Without KWin on the bus nothing took the speed: a refusal, not a success.
    void withoutKwinTheSpeedIsRefused()
    {
        QVERIFY(!desktopPointerSettings()->setPointerSpeed(15));
        QVERIFY(!desktopPointerSettings()->setPointerSpeed(0)); // out of range
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    // Never the session bus of whoever runs the test.
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    QProcess daemon;
    QByteArray address;
    if (!QStandardPaths::findExecutable("dbus-daemon").isEmpty()) {
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!daemon.waitForReadyRead(10000))
            return 1;
        address = daemon.readLine().trimmed();
        // Before GLib first asks for the session bus: it keeps the first one it finds.
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    }
    int result = 0;
    {
        TestKwinPointer test(address);
        result = QTest::qExec(&test, argc, argv);
    }
    daemon.terminate();
    daemon.waitForFinished();
    return result;
}

#include "tst_kwin_pointer.moc"
