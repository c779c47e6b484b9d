#include "app/bus_service.h"

#include "base/settings_store.h"
#include "controller/dpi_settings.h"
#include "frontend/bus_names.h"
#include "frontend/stored_macro.h"
#include "macro/macro_download.h"

#include <QDebug>

BusService::BusService(MouseOwner *owner, QObject *parent) : QObject(parent), owner(owner)
{
    connect(owner, &MouseOwner::profileChanged, this, &BusService::ProfileChanged);
    connect(owner, &MouseOwner::dpiStageChanged, this, &BusService::DpiStageChanged);
    connect(owner, &MouseOwner::connectionChanged, this, [this](bool connected) {
        emit ConnectionChanged(connected);
        runNext();
    });
    connect(owner, &MouseOwner::workFinished, this, &BusService::finish);
    connect(owner, &MouseOwner::becameIdle, this, &BusService::runNext);
}

bool BusService::publish(const QDBusConnection &bus)
{
    if (!bus.isConnected()) {
        qDebug().noquote() << "D-Bus: no session bus, the service is not offered:"
                           << bus.lastError().message();
        return false;
    }
    QDBusConnection b = bus;
    if (!b.registerObject(QLatin1String(bus::kPath), this,
                          QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                              QDBusConnection::ExportAllProperties)) {
        qDebug() << "D-Bus: the object" << bus::kPath << "could not be registered";
        return false;
    }
    // Only one owner of the mouse: a name another process holds is not taken over.
    if (!b.registerService(QLatin1String(bus::kService))) {
        qDebug().noquote() << "D-Bus: the name" << bus::kService
                           << "could not be taken:" << b.lastError().message();
        b.unregisterObject(QLatin1String(bus::kPath));
        return false;
    }
    return true;
}

void BusService::refuse(const char *error, const QString &text)
{
    sendErrorReply(QLatin1String(error), text);
}

QStringList BusService::ListProfiles()
{
    return owner->profileFiles();
}

QVariantMap BusService::SwitchProfile(int profile)
{
    if (profile < 1 || profile > SettingsStore::kProfileCount)
        refuse(bus::kInvalidArgument,
               QStringLiteral("profile: N must be 1-%1").arg(SettingsStore::kProfileCount));
    else
        enqueue(Kind::Profile, QStringLiteral("profile %1").arg(profile),
                [this, profile] { return owner->switchProfile(profile); });
    return {};
}

QVariantMap BusService::ApplyProfile()
{
    enqueue(Kind::Profile, QStringLiteral("the profile"), [this] { return owner->applyProfile(); });
    return {};
}

void BusService::SetDpiStage(int stage)
{
    if (!dpi::isStage(stage))
        refuse(bus::kInvalidArgument, QStringLiteral("dpi: N must be 1-%1").arg(dpi::kStages));
    else
        enqueue(Kind::Stage, QStringLiteral("DPI stage %1").arg(stage),
                [this, stage] { return owner->setDpiStage(stage); });
}

int BusService::SendMacro(const QString &name, int button)
{
    if (button < 1 || button > int(macroblock::kSlots)) {
        refuse(bus::kInvalidArgument,
               QStringLiteral("macro: BUTTON must be 1-%1").arg(macroblock::kSlots));
        return 0;
    }
    const NamedMacro macro = namedMacro(name, owner->language());
    if (macro.problem == NamedMacro::Problem::Unknown) {
        refuse(bus::kInvalidArgument, macro.message);
        return 0;
    }
    if (macro.problem != NamedMacro::Problem::None) {
        refuse(bus::kNotSent, macro.message);
        return 0;
    }
    enqueue(
        Kind::Macro, QStringLiteral("macro %1").arg(name),
        [this, bytes = macro.bytes, button, name] { return owner->sendMacro(bytes, button, name); },
        int(macro.bytes.size()));
    return 0;
}

void BusService::ActiveWindowChanged(const QString &application)
{
    if (activeWindowReported)
        activeWindowReported(application);
}

void BusService::enqueue(Kind kind, const QString &what, std::function<MouseOwner::Started()> start,
                         QVariant answer)
{
    setDelayedReply(true);
    waiting.push_back({connection(), message(), kind, std::move(start), std::move(answer), what});
    // Answered from the event loop, never inside the call that asked.
    QMetaObject::invokeMethod(this, &BusService::runNext, Qt::QueuedConnection);
}

void BusService::runNext()
{
    while (!running && !waiting.empty()) {
        Request &next = waiting.front();
        if (!owner->connected()) {
            next.bus.send(next.message.createErrorReply(QLatin1String(bus::kNoMouse),
                                                        QStringLiteral("no TK700 found")));
            waiting.pop_front();
            continue;
        }
        if (owner->busy())
            return;
        const MouseOwner::Started started = next.start();
        if (!started.started) {
            next.bus.send(next.message.createErrorReply(
                QLatin1String(bus::kNotSent),
                QStringLiteral("the window could not start sending %1").arg(next.what)));
            waiting.pop_front();
            continue;
        }
        running = true;
        immediateOk = started.immediateOk;
    }
}

void BusService::finish(bool ok, bool saved, const QVariantMap &parts)
{
    if (!running || waiting.empty())
        return; // the window's own work
    running = false;
    const Request done = waiting.front();
    waiting.pop_front();
    QStringList failed;
    for (auto it = parts.begin(); it != parts.end(); ++it)
        if (!it.value().toBool())
            failed << it.key();
    if (!ok || !immediateOk || !failed.isEmpty()) {
        const QString text =
            !failed.isEmpty()
                ? QStringLiteral("not sent to the mouse: ") + failed.join(QStringLiteral(", "))
                : QStringLiteral("the mouse did not take %1").arg(done.what);
        done.bus.send(done.message.createErrorReply(QLatin1String(bus::kNotSent), text));
    } else if (!saved) {
        done.bus.send(done.message.createErrorReply(
            QLatin1String(bus::kNotSaved),
            QStringLiteral("the settings could not be written to %1").arg(owner->saveFailure())));
    } else {
        const QVariant answer = done.kind == Kind::Profile ? QVariant(parts) : done.answer;
        done.bus.send(answer.isValid() ? done.message.createReply(answer)
                                       : done.message.createReply());
    }
    runNext();
}
