// Notes through org.freedesktop.Notifications on the session bus.

#include "platform/desktop_notification.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDebug>
#include <QVariantMap>

namespace
{
// The icon the package installs with the menu entry.
const char kIcon[] = "tk700";
// Notify's expire_timeout: the server's default.
constexpr int kServerDefaultExpiry = -1;
} // namespace

bool showDesktopNotification(const QString &title, const QString &text, int timeoutMs)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qDebug() << "desktop notification: no session bus";
        return false;
    }
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout
    notify << QStringLiteral("tk700") << uint(0) << QString::fromLatin1(kIcon) << title << text
           << QStringList() << QVariantMap() << kServerDefaultExpiry;
    // A bus without the service answers at once with an error; a stuck service is waited for
    // only so long.
    const QDBusMessage reply = bus.call(notify, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qDebug().noquote() << "desktop notification not shown:" << reply.errorName()
                           << reply.errorMessage();
        return false;
    }
    return true;
}
