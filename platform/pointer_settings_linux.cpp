// Linux: the pointer settings go where the running desktop keeps them, so that its own settings
// panel shows them and its settings daemon applies them: GSettings on GNOME-style desktops,
// KDE's configuration files on Plasma, and the X server's pointer control where neither exists.

#include "platform/config_home.h"
#include "platform/desktop_pointer_settings.h"
#include "platform/window_input_observer.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

// GLib names a struct member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <dlfcn.h>

// Xlib last: it defines macros such as Bool and None that clash with Qt's headers.
#include <X11/Xlib.h>

namespace
{

// GIO is loaded the first time the pointer settings are written, not at start-up: most runs never
// touch them. Only the headers are used at build time; GLib itself is loaded with Qt anyway.
struct Gio {
#define TK700_GIO_FUNCTIONS(X)                                                                     \
    X(g_settings_schema_source_get_default)                                                        \
    X(g_settings_schema_source_lookup)                                                             \
    X(g_settings_schema_unref)                                                                     \
    X(g_settings_new_full)                                                                         \
    X(g_settings_schema_has_key)                                                                   \
    X(g_settings_schema_get_key)                                                                   \
    X(g_settings_schema_key_range_check)                                                           \
    X(g_settings_is_writable)                                                                      \
    X(g_settings_set_value)                                                                        \
    X(g_settings_schema_key_unref)                                                                 \
    X(g_settings_sync)                                                                             \
    X(g_bus_get_sync)                                                                              \
    X(g_dbus_connection_emit_signal)                                                               \
    X(g_dbus_connection_flush_sync)                                                                \
    X(g_dbus_connection_call_sync)                                                                 \
    X(g_object_unref)
#define TK700_GIO_MEMBER(name) decltype(&::name) name = nullptr;
    TK700_GIO_FUNCTIONS(TK700_GIO_MEMBER)
#undef TK700_GIO_MEMBER
};

// Null when GIO cannot be loaded: the GNOME settings and KDE's broadcast are then not available.
const Gio *gio()
{
    static const Gio *loaded = []() -> const Gio * {
        void *library = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            qDebug() << "pointer settings: GIO cannot be loaded:" << dlerror();
            return nullptr;
        }
        static Gio api;
        bool complete = true;
#define TK700_GIO_RESOLVE(name)                                                                    \
    api.name = reinterpret_cast<decltype(api.name)>(dlsym(library, #name));                        \
    complete = complete && api.name != nullptr;
        TK700_GIO_FUNCTIONS(TK700_GIO_RESOLVE)
#undef TK700_GIO_RESOLVE
        return complete ? &api : nullptr;
    }();
    return loaded;
}

bool speedInRange(int speed)
{
    return speed >= PointerSettings::kMinSpeed && speed <= PointerSettings::kMaxSpeed;
}

// GNOME and KDE both take the speed as -1...1 with 0 as the unscaled default; the neutral speed
// lands on 0, and each half of the range is stretched to its end.
double unitSpeed(int speed)
{
    const int n = PointerSettings::kNeutralSpeed;
    const int below = n - PointerSettings::kMinSpeed, above = PointerSettings::kMaxSpeed - n;
    return speed <= n ? double(speed - n) / below : double(speed - n) / above;
}

bool sessionIsOneOf(std::initializer_list<const char *> names)
{
    const QStringList desktops =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &desktop : desktops)
        for (const char *name : names)
            if (desktop.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

class NoPointerSettings final : public PointerSettings
{
public:
    bool setPointerSpeed(int) override { return false; }
    bool setDoubleClickTime(int) override { return false; }
    bool setWheelScrollLines(int) override { return false; }
};

// org.gnome.desktop.peripherals.mouse: "speed" (double, -1...1) and "double-click" (int, ms).
// GNOME has no wheel scroll lines.
class GnomePointerSettings final : public PointerSettings
{
public:
    static constexpr const char *kSchema = "org.gnome.desktop.peripherals.mouse";

    // None when the schema is not installed (GSettings aborts on an unknown schema).
    static std::unique_ptr<PointerSettings> open()
    {
        if (!gio())
            return nullptr;
        GSettingsSchemaSource *source = gio()->g_settings_schema_source_get_default();
        GSettingsSchema *schema =
            source ? gio()->g_settings_schema_source_lookup(source, kSchema, TRUE) : nullptr;
        if (!schema)
            return nullptr;
        return std::unique_ptr<PointerSettings>(new GnomePointerSettings(schema));
    }

    ~GnomePointerSettings() override
    {
        gio()->g_object_unref(settings);
        gio()->g_settings_schema_unref(schema);
    }

    bool setPointerSpeed(int speed) override
    {
        return speedInRange(speed) && write("speed", g_variant_new_double(unitSpeed(speed)));
    }
    bool setDoubleClickTime(int milliseconds) override
    {
        return milliseconds > 0 && write("double-click", g_variant_new_int32(milliseconds));
    }
    bool setWheelScrollLines(int) override { return false; }

private:
    explicit GnomePointerSettings(GSettingsSchema *s)
        : schema(s), settings(gio()->g_settings_new_full(s, nullptr, nullptr))
    {
    }

    bool write(const char *key, GVariant *value)
    {
        g_variant_ref_sink(value);
        bool ok = false;
        if (gio()->g_settings_schema_has_key(schema, key)) {
            GSettingsSchemaKey *schemaKey = gio()->g_settings_schema_get_key(schema, key);
            ok = gio()->g_settings_schema_key_range_check(schemaKey, value) &&
                 gio()->g_settings_is_writable(settings, key) &&
                 gio()->g_settings_set_value(settings, key, value);
            gio()->g_settings_schema_key_unref(schemaKey);
        }
        g_variant_unref(value);
        // Writes are queued in the backend; the process may not run a GLib loop to flush them.
        if (ok)
            gio()->g_settings_sync();
        return ok;
    }

    GSettingsSchema *schema;
    GSettings *settings;
};

// Sets key=value in [group] of a KDE configuration file and keeps every other line as written,
// which a generic INI writer would not (KDE's keys carry [$e]-style flags and locale suffixes).
// An entry, group or file marked immutable ([$i]) is refused, as KDE itself would ignore it.
bool writeKdeEntry(const QString &path, const QString &group, const QString &key,
                   const QString &value)
{
    QStringList lines;
    QFile in(path);
    if (in.exists()) {
        if (!in.open(QIODevice::ReadOnly))
            return false;
        lines = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
    }

    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    const QString entry = key + QLatin1Char('=') + value;
    bool inGroup = false, seenGroup = false, replaced = false;
    qsizetype insertAt = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            if (line == QLatin1String("[$i]") && !seenGroup)
                return false;
            seenGroup = true;
            inGroup = line == header || line.startsWith(header + QLatin1String("[$"));
            if (inGroup) {
                if (line.contains(QLatin1String("$i")))
                    return false;
                insertAt = i + 1;
            }
            continue;
        }
        if (!inGroup || line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        insertAt = i + 1;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString name = line.left(eq).trimmed();
        const qsizetype bracket = name.indexOf(QLatin1Char('['));
        const QString flags = bracket < 0 ? QString() : name.mid(bracket);
        if ((bracket < 0 ? name : name.left(bracket)) != key)
            continue;
        if (!flags.isEmpty() && !flags.startsWith(QLatin1String("[$")))
            continue; // a translation of the entry
        if (flags.contains(QLatin1Char('i')))
            return false;
        lines[i] = entry;
        replaced = true;
    }
    if (!replaced) {
        if (insertAt < 0) {
            if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
                lines << QString();
            lines << header << entry;
        } else {
            lines.insert(insertAt, entry);
        }
    }

    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    // The desktop's own file, where a link may be the user's choice: written through it, but only
    // committed once every byte is out (a small write's failing flush shows nowhere else).
    const QByteArray text = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    if (out.write(text) != text.size() || !out.flush()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

// Plasma on Wayland: KWin drives libinput itself and keeps the acceleration per device. Each
// pointer device it lists on the session bus takes the new value at once, and KWin stores it in
// the device's group of kcminputrc. False when KWin does not answer or no pointer took it.
bool setKwinPointerAcceleration(double value)
{
    constexpr int kCallTimeoutMs = 1000;
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return false;
    const Gio *api = gio();
    if (!api)
        return false;
    GDBusConnection *bus = api->g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus)
        return false;
    auto get = [api, bus](const QByteArray &path, const char *interface, const char *name) {
        GVariant *reply = api->g_dbus_connection_call_sync(
            bus, "org.kde.KWin", path.constData(), "org.freedesktop.DBus.Properties", "Get",
            g_variant_new("(ss)", interface, name), G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NONE,
            kCallTimeoutMs, nullptr, nullptr);
        GVariant *inner = nullptr;
        if (reply) {
            g_variant_get(reply, "(v)", &inner);
            g_variant_unref(reply);
        }
        return inner;
    };
    const QByteArray managerPath = "/org/kde/KWin/InputDevice";
    int taken = 0;
    if (GVariant *names = get(managerPath, "org.kde.KWin.InputDeviceManager", "devicesSysNames")) {
        if (g_variant_is_of_type(names, G_VARIANT_TYPE("as"))) {
            gsize count = 0;
            const gchar **list = g_variant_get_strv(names, &count);
            for (gsize i = 0; i < count; ++i) {
                const QByteArray path = managerPath + '/' + list[i];
                GVariant *pointer = get(path, "org.kde.KWin.InputDevice", "pointer");
                const bool isPointer = pointer &&
                                       g_variant_is_of_type(pointer, G_VARIANT_TYPE_BOOLEAN) &&
                                       g_variant_get_boolean(pointer);
                if (pointer)
                    g_variant_unref(pointer);
                if (!isPointer)
                    continue;
                GVariant *reply = api->g_dbus_connection_call_sync(
                    bus, "org.kde.KWin", path.constData(), "org.freedesktop.DBus.Properties", "Set",
                    g_variant_new("(ssv)", "org.kde.KWin.InputDevice", "pointerAcceleration",
                                  g_variant_new_double(value)),
                    nullptr, G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, nullptr, nullptr);
                if (reply) {
                    ++taken;
                    g_variant_unref(reply);
                }
            }
            g_free(list);
        }
        g_variant_unref(names);
    }
    api->g_object_unref(bus);
    return taken > 0;
}

// Plasma: the pointer acceleration of its input settings (kcminputrc, -1...1; on Wayland KWin's
// per-device settings) and the double-click interval and wheel lines that every KDE and Qt
// program reads from kdeglobals.
class KdePointerSettings final : public PointerSettings
{
public:
    explicit KdePointerSettings(QString configHome, bool wayland)
        : dir(std::move(configHome)), wayland(wayland)
    {
    }

    bool setPointerSpeed(int speed) override
    {
        if (!speedInRange(speed))
            return false;
        // KWin on Wayland does not read the X11 entry.
        if (wayland)
            return setKwinPointerAcceleration(unitSpeed(speed));
        return write(QStringLiteral("kcminputrc"), QStringLiteral("Mouse"),
                     QStringLiteral("XLbInptPointerAcceleration"),
                     QString::number(unitSpeed(speed), 'f', 3));
    }
    bool setDoubleClickTime(int milliseconds) override
    {
        return milliseconds > 0 &&
               write(QStringLiteral("kdeglobals"), QStringLiteral("KDE"),
                     QStringLiteral("DoubleClickInterval"), QString::number(milliseconds));
    }
    bool setWheelScrollLines(int lines) override
    {
        return lines > 0 && write(QStringLiteral("kdeglobals"), QStringLiteral("KDE"),
                                  QStringLiteral("WheelScrollLines"), QString::number(lines));
    }

private:
    bool write(const QString &file, const QString &group, const QString &key, const QString &value)
    {
        if (!writeKdeEntry(dir + QLatin1Char('/') + file, group, key, value))
            return false;
        notifyMouseSettingsChanged();
        return true;
    }

    // KDE's settings-change broadcast (change type 3, "settings", for category 0, "mouse"), so
    // that running programs read the files again.
    static void notifyMouseSettingsChanged()
    {
        // Without a session bus address GLib would try to launch a bus of its own.
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            return;
        if (!gio())
            return;
        GDBusConnection *bus = gio()->g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        if (!bus)
            return;
        gio()->g_dbus_connection_emit_signal(bus, nullptr, "/KGlobalSettings",
                                             "org.kde.KGlobalSettings", "notifyChange",
                                             g_variant_new("(ii)", 3, 0), nullptr);
        gio()->g_dbus_connection_flush_sync(bus, nullptr, nullptr);
        gio()->g_object_unref(bus);
    }

    QString dir;
    bool wayland;
};

// The X server's core pointer acceleration, 1.0 at the neutral speed. X keeps no double-click
// time or wheel lines: those are left to each toolkit.
class X11PointerSettings final : public PointerSettings
{
public:
    static std::unique_ptr<PointerSettings> open()
    {
        Display *display = XOpenDisplay(nullptr);
        if (!display)
            return nullptr;
        return std::unique_ptr<PointerSettings>(new X11PointerSettings(display));
    }

    ~X11PointerSettings() override { XCloseDisplay(display); }

    bool setPointerSpeed(int speed) override
    {
        if (!speedInRange(speed))
            return false;
        // Xlib's default handler would end the process on a refused request.
        errorSeen = false;
        XErrorHandler previous = XSetErrorHandler(recordError);
        XChangePointerControl(display, True, False, speed, PointerSettings::kNeutralSpeed, 0);
        XSync(display, False);
        XSetErrorHandler(previous);
        return !errorSeen;
    }
    bool setDoubleClickTime(int) override { return false; }
    bool setWheelScrollLines(int) override { return false; }

private:
    explicit X11PointerSettings(Display *d) : display(d) {}

    static int recordError(Display *, XErrorEvent *)
    {
        errorSeen = true;
        return 0;
    }

    static inline bool errorSeen = false;
    Display *display;
};

} // namespace

std::unique_ptr<PointerSettings> desktopPointerSettings()
{
    if (sessionIsOneOf({"KDE"}) ||
        qEnvironmentVariable("KDE_FULL_SESSION") == QLatin1String("true"))
        return std::make_unique<KdePointerSettings>(userConfigHome(), isWaylandSession());
    // Desktops whose settings daemon applies GNOME's mouse schema.
    if (sessionIsOneOf({"GNOME", "Unity", "Budgie", "Pantheon"})) {
        if (auto gnome = GnomePointerSettings::open())
            return gnome;
    }
    // Under Wayland the X server only serves X programs; its pointer control would not reach the
    // desktop's pointer.
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        if (auto x11 = X11PointerSettings::open())
            return x11;
    }
    return std::make_unique<NoPointerSettings>();
}
