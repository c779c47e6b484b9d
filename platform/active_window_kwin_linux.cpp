// Plasma on Wayland: Wayland tells no client which window is in front, but KWin runs scripts. A
// script loaded over KWin's D-Bus scripting interface reports each activation to the program's
// own D-Bus service (frontend/bus_names.h), which hands it to report().

#include "platform/active_window_linux.h"

#include "frontend/bus_names.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDebug>
#include <QDir>
#include <QTemporaryFile>

#include <functional>

namespace active_window
{
namespace
{

constexpr int kCallTimeoutMs = 2000;
const char kKwin[] = "org.kde.KWin";
const char kScripting[] = "org.kde.kwin.Scripting";
const char kPluginName[] = "tk700-follow-application";

// Plasma 6 names the signal windowActivated, Plasma 5 clientActivated. The program's own windows
// are left out by process id; a window without a class reports an empty name.
QByteArray scriptText()
{
    return QStringLiteral(
               "function report(window) {\n"
               "    if (window && window.pid === %1)\n"
               "        return;\n"
               "    callDBus(\"%2\", \"%3\", \"%4\", \"ActiveWindowChanged\",\n"
               "             window ? String(window.resourceClass || \"\") : \"\");\n"
               "}\n"
               "if (workspace.windowActivated)\n"
               "    workspace.windowActivated.connect(report);\n"
               "else\n"
               "    workspace.clientActivated.connect(report);\n"
               "report(workspace.activeWindow !== undefined ? workspace.activeWindow\n"
               "                                            : workspace.activeClient);\n")
        .arg(QCoreApplication::applicationPid())
        .arg(QLatin1String(bus::kService), QLatin1String(bus::kPath),
             QLatin1String(bus::kInterface))
        .toUtf8();
}

QDBusMessage kwinCall(const QString &path, const char *interface, const char *method,
                      const QVariantList &args = {})
{
    QDBusMessage m = QDBusMessage::createMethodCall(
        QLatin1String(kKwin), path, QLatin1String(interface), QLatin1String(method));
    m.setArguments(args);
    return m;
}

// Loads and runs the script without waiting for KWin: until it has, and when it did not, the
// watcher is not working.
class KwinActiveWindow final : public ActiveWindowWatcher
{
public:
    static std::unique_ptr<ActiveWindowWatcher> open()
    {
        auto watcher = std::unique_ptr<KwinActiveWindow>(new KwinActiveWindow);
        if (!watcher->load())
            return nullptr;
        return watcher;
    }

    ~KwinActiveWindow() override
    {
        if (loaded)
            QDBusConnection::sessionBus().call(kwinCall(QStringLiteral("/Scripting"), kScripting,
                                                        "unloadScript",
                                                        {QLatin1String(kPluginName)}),
                                               QDBus::Block, kCallTimeoutMs);
    }

    bool working() const override { return running; }

    QStringList applications() const override
    {
        QStringList out = seen;
        out.sort(Qt::CaseInsensitive);
        return out;
    }

    void report(const QString &application) override
    {
        const QString name = application.trimmed();
        if (!name.isEmpty() && !seen.contains(name))
            seen << name;
        emit activated(name);
    }

private:
    KwinActiveWindow() = default;

    // Calls `method` and hands its reply to `then` on this thread.
    void ask(const QString &path, const char *interface, const char *method,
             const QVariantList &args, std::function<void(const QDBusMessage &)> then)
    {
        auto *call = new QDBusPendingCallWatcher(
            QDBusConnection::sessionBus().asyncCall(kwinCall(path, interface, method, args),
                                                    kCallTimeoutMs),
            this);
        connect(call, &QDBusPendingCallWatcher::finished, this, [call, then = std::move(then)] {
            call->deleteLater();
            then(call->reply());
        });
    }

    bool load()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            return false;
        if (!script.open() || script.write(scriptText()) != scriptText().size() ||
            !script.flush()) {
            qDebug() << "active window: the KWin script could not be written to"
                     << script.fileName();
            return false;
        }
        // A script left by a run that ended without unloading it holds the name.
        const QVariantList name = {QLatin1String(kPluginName)};
        ask(QStringLiteral("/Scripting"), kScripting, "unloadScript", name,
            [this, name](const QDBusMessage &) {
                ask(QStringLiteral("/Scripting"), kScripting, "loadScript",
                    {script.fileName(), name.first()}, [this](const QDBusMessage &reply) {
                        const int id = reply.arguments().value(0, -1).toInt();
                        if (reply.type() != QDBusMessage::ReplyMessage || id < 0) {
                            qDebug().noquote() << "active window: KWin did not load the script:"
                                               << reply.errorMessage();
                            return;
                        }
                        loaded = true;
                        run({QStringLiteral("/Scripting/Script%1").arg(id),
                             QStringLiteral("/%1").arg(id)});
                    });
            });
        return true;
    }

    // Plasma 6 puts the loaded script at /Scripting/Script<id>, Plasma 5 at /<id>.
    void run(QStringList paths)
    {
        if (paths.isEmpty()) {
            qDebug() << "active window: KWin loaded the script but did not run it";
            return;
        }
        const QString path = paths.takeFirst();
        ask(path, "org.kde.kwin.Script", "run", {}, [this, paths](const QDBusMessage &reply) {
            if (reply.type() == QDBusMessage::ReplyMessage)
                running = true;
            else
                run(paths);
        });
    }

    QTemporaryFile script{QDir::tempPath() + QStringLiteral("/tk700-kwin-XXXXXX.js")};
    bool loaded = false;
    bool running = false;
    QStringList seen;
};

} // namespace

std::unique_ptr<ActiveWindowWatcher> openKwin()
{
    return KwinActiveWindow::open();
}

} // namespace active_window
