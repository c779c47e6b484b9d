#include "program_link.h"

#include "base/settings_store.h"
#include "controller/dpi_settings.h"
#include "frontend/bus_names.h"
#include "macro/macro_download.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QJsonArray>
#include <QVariantMap>

namespace
{

// A request waits behind the window's own device work; the mouse's exchanges have time-outs of
// their own, so this only bounds a program that stopped answering.
constexpr int kCallTimeoutMs = 120000;

QDBusMessage call(const QString &method, const QVariantList &args = {})
{
    QDBusMessage m =
        QDBusMessage::createMethodCall(QLatin1String(bus::kService), QLatin1String(bus::kPath),
                                       QLatin1String(bus::kInterface), method);
    m.setArguments(args);
    return QDBusConnection::sessionBus().call(m, QDBus::Block, kCallTimeoutMs);
}

QVariant property(const QString &name)
{
    QDBusMessage m = QDBusMessage::createMethodCall(
        QLatin1String(bus::kService), QLatin1String(bus::kPath),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    m.setArguments({QLatin1String(bus::kInterface), name});
    const QDBusMessage reply = QDBusConnection::sessionBus().call(m, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

// An a{sv} as it arrives: still marshalled.
QVariantMap toMap(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<QDBusArgument>())
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value.toMap();
}

// The service's error as the direct path's exit status and message.
std::optional<Answer> refused(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ErrorMessage)
        return std::nullopt;
    const QString name = reply.errorName();
    if (name == QLatin1String(bus::kNoMouse))
        return failure(kNoMouse, reply.errorMessage());
    if (name == QLatin1String(bus::kInvalidArgument))
        return failure(kUsage, reply.errorMessage());
    if (name == QLatin1String(bus::kNotSent) || name == QLatin1String(bus::kNotSaved))
        return failure(kFailed, reply.errorMessage());
    return failure(kFailed, QStringLiteral("the TK700 utility did not answer (%1: %2)")
                                .arg(name, reply.errorMessage()));
}

// The parts of a profile sent, as the direct path lists them.
Answer profileSent(const QDBusMessage &reply, int profile)
{
    Answer a;
    QJsonObject parts;
    const QVariantMap map = toMap(reply.arguments().value(0));
    for (auto it = map.begin(); it != map.end(); ++it)
        parts[it.key()] = it.value().toBool();
    for (auto it = parts.begin(); it != parts.end(); ++it)
        a.lines << QStringLiteral("%1: %2").arg(it.key(), it.value().toBool() ? "sent" : "FAILED");
    a.json[QStringLiteral("profile")] = profile;
    a.json[QStringLiteral("sent")] = parts;
    return a;
}

Answer status()
{
    Answer a;
    const int profile = property(QStringLiteral("Profile")).toInt();
    const QString family = property(QStringLiteral("Family")).toString();
    a.json[QStringLiteral("profile")] = profile;
    a.json[QStringLiteral("family")] = family;
    if (!property(QStringLiteral("Connected")).toBool()) {
        a.code = kNoMouse;
        a.error = QStringLiteral("no TK700 found");
        a.json[QStringLiteral("found")] = false;
        return a;
    }
    const QVariantMap device = toMap(property(QStringLiteral("Device")));
    const int stage = property(QStringLiteral("DpiStage")).toInt();
    const QString vid = device.value(QStringLiteral("vid")).toString();
    const QString pid = device.value(QStringLiteral("pid")).toString();
    const QString command = device.value(QStringLiteral("command")).toString();
    const QString event = device.value(QStringLiteral("event")).toString();
    a.json[QStringLiteral("found")] = true;
    a.json[QStringLiteral("vid")] = vid;
    a.json[QStringLiteral("pid")] = pid;
    a.json[QStringLiteral("interfaces")] =
        QJsonObject{{QStringLiteral("command"), command}, {QStringLiteral("event"), event}};
    a.json[QStringLiteral("dpiStage")] = stage;
    a.lines << QStringLiteral("mouse: found (%1:%2)").arg(vid, pid)
            << QStringLiteral("family: %1").arg(family)
            << QStringLiteral("command interface: %1").arg(command)
            << QStringLiteral("event interface: %1").arg(event)
            << QStringLiteral("profile: %1").arg(profile)
            << QStringLiteral("dpi stage: %1").arg(stage);
    return a;
}

Answer profileList()
{
    const QDBusMessage reply = call(QStringLiteral("ListProfiles"));
    if (auto no = refused(reply))
        return *no;
    const QStringList files = reply.arguments().value(0).toStringList();
    const int current = property(QStringLiteral("Profile")).toInt();
    Answer a;
    QJsonArray list;
    for (int n = 1; n <= files.size(); ++n) {
        list.append(QJsonObject{{QStringLiteral("number"), n},
                                {QStringLiteral("file"), files.at(n - 1)},
                                {QStringLiteral("current"), n == current}});
        a.lines
            << QStringLiteral("%1 %2 %3").arg(n == current ? "*" : " ").arg(n).arg(files.at(n - 1));
    }
    a.json[QStringLiteral("profiles")] = list;
    return a;
}

// A whole number, or nothing; the service checks its range.
std::optional<int> whole(const QString &text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

} // namespace

std::optional<Answer> throughProgram(const QStringList &command)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() ||
        !bus.interface()->isServiceRegistered(QLatin1String(bus::kService)))
        return std::nullopt;

    const QString first = command.value(0);
    const QStringList rest = command.mid(1);
    if (first == QLatin1String("status"))
        return rest.isEmpty() ? status() : failure(kUsage, "status: takes no arguments");
    if (first == QLatin1String("apply")) {
        if (!rest.isEmpty())
            return failure(kUsage, QStringLiteral("apply: takes no arguments"));
        const QDBusMessage reply = call(QStringLiteral("ApplyProfile"));
        if (auto no = refused(reply))
            return no;
        return profileSent(reply, property(QStringLiteral("Profile")).toInt());
    }
    if (first == QLatin1String("profile")) {
        if (rest.value(0) == QLatin1String("list") && rest.size() == 1)
            return profileList();
        const std::optional<int> n = whole(rest.value(1));
        if (rest.value(0) != QLatin1String("switch") || rest.size() != 2)
            return failure(kUsage, QStringLiteral("profile: expected list, switch N, export N "
                                                  "FILE or import N FILE"));
        if (!n)
            return failure(
                kUsage,
                QStringLiteral("profile: N must be 1-%1").arg(SettingsStore::kProfileCount));
        const QDBusMessage reply = call(QStringLiteral("SwitchProfile"), {*n});
        if (auto no = refused(reply))
            return no;
        Answer a = profileSent(reply, *n);
        a.lines.prepend(QStringLiteral("profile %1 is current").arg(*n));
        return a;
    }
    if (first == QLatin1String("dpi")) {
        if (rest.size() != 2 || rest.at(0) != QLatin1String("stage"))
            return failure(kUsage, QStringLiteral("dpi: expected stage N"));
        const std::optional<int> stage = whole(rest.at(1));
        if (!stage)
            return failure(kUsage, QStringLiteral("dpi: N must be 1-%1").arg(dpi::kStages));
        if (auto no = refused(call(QStringLiteral("SetDpiStage"), {*stage})))
            return no;
        Answer a;
        a.lines << QStringLiteral("dpi stage %1 is active").arg(*stage);
        a.json[QStringLiteral("dpiStage")] = *stage;
        return a;
    }
    if (first == QLatin1String("macro") && rest.value(0) == QLatin1String("send") &&
        rest.size() == 3) {
        const QString name = rest.at(1);
        const std::optional<int> button = whole(rest.at(2));
        if (!button)
            return failure(kUsage,
                           QStringLiteral("macro: BUTTON must be 1-%1").arg(macroblock::kSlots));
        const QDBusMessage reply = call(QStringLiteral("SendMacro"), {name, *button});
        if (auto no = refused(reply))
            return no;
        const int bytes = reply.arguments().value(0).toInt();
        Answer a;
        a.lines << QStringLiteral("macro %1 sent to button %2 (%3 bytes)")
                       .arg(name)
                       .arg(*button)
                       .arg(bytes);
        a.json[QStringLiteral("macro")] = name;
        a.json[QStringLiteral("button")] = *button;
        a.json[QStringLiteral("bytes")] = bytes;
        return a;
    }
    return failure(kUsage, QStringLiteral("macro: expected list or send NAME BUTTON"));
}
