// Linux: the pointer settings go where the running desktop keeps them, so that its own settings
// panel shows them and its settings daemon applies them: GSettings on GNOME-style desktops,
// KDE's configuration files on Plasma, and the X server's pointer control where neither exists.

#include "platform/pointer_settings_linux.h"

#include "platform/config_home.h"
#include "platform/desktop_pointer_settings.h"
#include "platform/window_input_observer.h"

#include <QDebug>
#include <QStringList>

#include <dlfcn.h>

namespace pointer_backends
{

// GIO is loaded the first time the pointer settings are written, not at start-up: most runs never
// touch them. Only the headers are used at build time; GLib itself is loaded with Qt anyway.
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

} // namespace pointer_backends

namespace
{

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

} // namespace

using namespace pointer_backends;

std::unique_ptr<PointerSettings> desktopPointerSettings()
{
    if (sessionIsOneOf({"KDE"}) ||
        qEnvironmentVariable("KDE_FULL_SESSION") == QLatin1String("true"))
        return makeKde(userConfigHome(), isWaylandSession());
    // Desktops whose settings daemon applies GNOME's mouse schema.
    if (sessionIsOneOf({"GNOME", "Unity", "Budgie", "Pantheon"})) {
        if (auto gnome = openGnome())
            return gnome;
    }
    // Under Wayland the X server only serves X programs; its pointer control would not reach the
    // desktop's pointer.
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        if (auto x11 = openX11())
            return x11;
    }
    return std::make_unique<NoPointerSettings>();
}
