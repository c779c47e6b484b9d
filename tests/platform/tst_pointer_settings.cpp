// The desktop pointer settings on Linux: what reaches GSettings (keyfile backend in a private
// folder), KDE's files, and the X server's pointer control, chosen by the session as the program
// would choose; and what a desktop without the setting answers.

#include "platform/desktop_pointer_settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <X11/Xlib.h>

namespace
{

enum Operation { Speed, DoubleClick, ScrollLines };

bool apply(Operation op, uint value)
{
    const std::unique_ptr<PointerSettings> desktop = desktopPointerSettings();
    switch (op) {
    case Speed:
        return setCursorSpeed(*desktop, value);
    case DoubleClick:
        return setDoubleClickSpeed(*desktop, value);
    case ScrollLines:
        return setVerticalScrollLines(*desktop, value);
    }
    return false;
}

const char *failureText(Operation op)
{
    switch (op) {
    case Speed:
        return "setCursorSpeed Failed";
    case DoubleClick:
        return "setDoubleClickSpeed Failed";
    case ScrollLines:
        return "setVerticalScrollLines Failed";
    }
    return "";
}

void session(const char *desktop, const char *wayland = nullptr)
{
    qunsetenv("KDE_FULL_SESSION");
    if (desktop)
        qputenv("XDG_CURRENT_DESKTOP", desktop);
    else
        qunsetenv("XDG_CURRENT_DESKTOP");
    if (wayland)
        qputenv("WAYLAND_DISPLAY", wayland);
    else
        qunsetenv("WAYLAND_DISPLAY");
}

} // namespace

class TestPointerSettings : public QObject
{
    Q_OBJECT

public:
    explicit TestPointerSettings(QString configHome) : config(std::move(configHome)) {}

private:
    QString config;

    // A key of the GNOME mouse schema as the keyfile backend wrote it; NaN when it is not there.
    double gnomeValue(const char *key) const
    {
        GKeyFile *keyFile = g_key_file_new();
        const QByteArray path = QFile::encodeName(config + "/glib-2.0/settings/keyfile");
        gchar *text = nullptr;
        if (g_key_file_load_from_file(keyFile, path.constData(), G_KEY_FILE_NONE, nullptr))
            text =
                g_key_file_get_value(keyFile, "org/gnome/desktop/peripherals/mouse", key, nullptr);
        bool ok = false;
        const double value = QString::fromUtf8(text).toDouble(&ok);
        g_free(text);
        g_key_file_free(keyFile);
        return ok ? value : qQNaN();
    }

    QByteArray kdeFile(const QString &name) const
    {
        QFile f(config + "/" + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool writeKdeFile(const QString &name, const QByteArray &content) const
    {
        QFile f(config + "/" + name);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               f.write(content) == content.size();
    }

private slots:
    void init()
    {
        QFile::remove(config + "/kdeglobals");
        QFile::remove(config + "/kcminputrc");
    }

    void gnome_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<uint>("value");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<double>("stored");

        QTest::newRow("speed 0 is the slowest") << int(Speed) << 0u << QByteArray("speed") << -1.0;
        QTest::newRow("speed 10 is the fastest") << int(Speed) << 10u << QByteArray("speed") << 1.0;
        QTest::newRow("speed 1, below neutral")
            << int(Speed) << 1u << QByteArray("speed") << -8.0 / 9.0;
        QTest::newRow("speed 7, above neutral") << int(Speed) << 7u << QByteArray("speed") << 0.4;
        QTest::newRow("double-click 0 is 900 ms")
            << int(DoubleClick) << 0u << QByteArray("double-click") << 900.0;
        QTest::newRow("double-click 10 is 200 ms")
            << int(DoubleClick) << 10u << QByteArray("double-click") << 200.0;
    }
    void gnome()
    {
        QFETCH(int, operation);
        QFETCH(uint, value);
        QFETCH(QByteArray, key);
        QFETCH(double, stored);

        session("ubuntu:GNOME");
        QVERIFY(apply(Operation(operation), value));
        QVERIFY2(qAbs(gnomeValue(key) - stored) < 1e-9,
                 qPrintable(QString::number(gnomeValue(key))));
    }

    void gnomeRefusals()
    {
        session("GNOME");
        QVERIFY(apply(DoubleClick, 5));
        QCOMPARE(gnomeValue("double-click"), 550.0);

        // GNOME has no wheel scroll lines.
        QTest::ignoreMessage(QtDebugMsg, "setVerticalScrollLines Failed");
        QVERIFY(!apply(ScrollLines, 3));

        // 900 - 70 x 13 is below zero: refused, the stored time stays.
        QTest::ignoreMessage(QtDebugMsg, "setDoubleClickSpeed Failed");
        QVERIFY(!apply(DoubleClick, 13));
        QCOMPARE(gnomeValue("double-click"), 550.0);

        // Past the top of the range: 2 x 11 = 22.
        QVERIFY(apply(Speed, 10));
        QTest::ignoreMessage(QtDebugMsg, "setCursorSpeed Failed");
        QVERIFY(!apply(Speed, 11));
        QCOMPARE(gnomeValue("speed"), 1.0);
    }

    void kde_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<uint>("value");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");

        const QByteArray globals = "[General]\n"
                                   "ColorScheme=BreezeDark\n"
                                   "Name[de]=Standard\n"
                                   "\n"
                                   "[KDE]\n"
                                   "DoubleClickInterval=400\n"
                                   "SingleClick=false\n"
                                   "\n"
                                   "[Icons]\n"
                                   "Theme=breeze\n";
        QByteArray doubleClick = globals;
        doubleClick.replace("DoubleClickInterval=400", "DoubleClickInterval=200");
        QByteArray lines = globals;
        lines.replace("SingleClick=false\n", "SingleClick=false\nWheelScrollLines=3\n");

        QTest::newRow("double-click 10 replaces the entry in place")
            << int(DoubleClick) << 10u << "kdeglobals" << globals << doubleClick;
        QTest::newRow("scroll lines join their group")
            << int(ScrollLines) << 3u << "kdeglobals" << globals << lines;
        QTest::newRow("speed 0 in the input settings")
            << int(Speed) << 0u << "kcminputrc" << QByteArray()
            << QByteArray("[Mouse]\nXLbInptPointerAcceleration=-1.000\n");
        QTest::newRow("flagged entry rewritten")
            << int(Speed) << 5u << "kcminputrc"
            << QByteArray("[Mouse]\nXLbInptPointerAcceleration[$e]=0.5\ncursorTheme=breeze\n")
            << QByteArray("[Mouse]\nXLbInptPointerAcceleration=0.000\ncursorTheme=breeze\n");
    }
    void kde()
    {
        QFETCH(int, operation);
        QFETCH(uint, value);
        QFETCH(QString, file);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);

        session("KDE");
        if (!before.isEmpty())
            QVERIFY(writeKdeFile(file, before));
        QVERIFY(apply(Operation(operation), value));
        QCOMPARE(kdeFile(file), after);
    }

    // What KDE marks immutable it would not read from us: refused, the file left alone.
    void kdeImmutable_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("entry") << QByteArray("[KDE]\nWheelScrollLines[$i]=5\n");
        QTest::newRow("group") << QByteArray("[KDE][$i]\nWheelScrollLines=5\n");
        QTest::newRow("file") << QByteArray("[$i]\n[KDE]\nWheelScrollLines=5\n");
    }
    void kdeImmutable()
    {
        QFETCH(QByteArray, content);
        session(nullptr);
        qputenv("KDE_FULL_SESSION", "true");
        QVERIFY(writeKdeFile("kdeglobals", content));
        QTest::ignoreMessage(QtDebugMsg, "setVerticalScrollLines Failed");
        QVERIFY(!apply(ScrollLines, 8));
        QCOMPARE(kdeFile("kdeglobals"), content);
    }

    void x11_data()
    {
        QTest::addColumn<uint>("value");
        QTest::addColumn<double>("acceleration");
        QTest::newRow("speed 0 is 1 of 20") << 0u << 0.1;
        QTest::newRow("speed 10 is 20 of 20") << 10u << 2.0;
    }
    void x11()
    {
        QFETCH(uint, value);
        QFETCH(double, acceleration);
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X server: run under xvfb-run");
        Display *display = XOpenDisplay(nullptr);
        QVERIFY(display);
        int num = 0, den = 0, threshold = 0;
        XGetPointerControl(display, &num, &den, &threshold);
        const int oldNum = num, oldDen = den, oldThreshold = threshold;

        session("XFCE");
        const bool applied = apply(Speed, value);
        XGetPointerControl(display, &num, &den, &threshold);
        // The shared display gets its own settings back.
        XChangePointerControl(display, True, True, oldNum, oldDen, oldThreshold);
        XCloseDisplay(display);

        QVERIFY(applied);
        QVERIFY(den > 0);
        QCOMPARE(double(num) / den, acceleration);
        QCOMPARE(threshold, oldThreshold);
    }

    // Settings the desktop does not have: on X11 without a store only the speed exists, and a
    // Wayland desktop with neither store has none.
    void unsupported_data()
    {
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<int>("operation");
        QTest::newRow("X11 double-click") << QByteArray() << int(DoubleClick);
        QTest::newRow("X11 scroll lines") << QByteArray() << int(ScrollLines);
        QTest::newRow("Wayland speed") << QByteArray("wayland-1") << int(Speed);
        QTest::newRow("Wayland double-click") << QByteArray("wayland-1") << int(DoubleClick);
    }
    void unsupported()
    {
        QFETCH(QByteArray, wayland);
        QFETCH(int, operation);
        if (wayland.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X server: run under xvfb-run");
        session("sway", wayland.isEmpty() ? nullptr : wayland.constData());
        QTest::ignoreMessage(QtDebugMsg, failureText(Operation(operation)));
        QVERIFY(!apply(Operation(operation), 3));
    }
};

int main(int argc, char **argv)
{
    // GLib reads these once per process: GSettings goes to a keyfile in a private folder, KDE's
    // files land beside it, and no change broadcast reaches the desktop of whoever runs the test.
    QTemporaryDir config;
    if (!config.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    qputenv("GSETTINGS_BACKEND", "keyfile");
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    QCoreApplication app(argc, argv);
    TestPointerSettings test(config.path());
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pointer_settings.moc"
