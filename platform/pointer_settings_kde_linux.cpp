// Plasma: KDE's configuration files, and KWin's per-device settings under Wayland.

#include "platform/pointer_settings_linux.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace pointer_backends
{
namespace
{

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

} // namespace

std::unique_ptr<PointerSettings> makeKde(const QString &configHome, bool wayland)
{
    return std::make_unique<KdePointerSettings>(configHome, wayland);
}

} // namespace pointer_backends
