#pragma once

// A short note on the user's desktop from a process that has no tray icon of its own (a second
// start that ends at once). On Linux: the freedesktop notification service on the session bus
// (desktop_notification_<platform>.cpp).

#include <QString>

// Shows `text` under `title`. False where no note could be shown (no session bus, no notification
// service on it); never waits longer than `timeoutMs` for the service.
bool showDesktopNotification(const QString &title, const QString &text, int timeoutMs);
