// What the desktop backends of the pointer settings share on Linux, and how each is made. The
// dispatcher (desktopPointerSettings) picks one for the running session.
#pragma once

#include "controller/pointer_settings.h"

#include <QString>

#include <memory>

// GLib names a struct member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

namespace pointer_backends
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
const Gio *gio();

bool speedInRange(int speed);

// GNOME and KDE both take the speed as -1...1 with 0 as the unscaled default.
double unitSpeed(int speed);

// GSettings' mouse schema; none when the schema is not installed.
std::unique_ptr<PointerSettings> openGnome();
// Plasma's files (and KWin's per-device settings on Wayland) under configHome.
std::unique_ptr<PointerSettings> makeKde(const QString &configHome, bool wayland);
// The X server's pointer control; none without an X display.
std::unique_ptr<PointerSettings> openX11();

} // namespace pointer_backends
