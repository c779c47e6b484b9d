// X11 without a settings store: the X server's pointer control.

#include "platform/pointer_settings_linux.h"

// Xlib last: it defines macros such as Bool and None that clash with Qt's headers.
#include <X11/Xlib.h>

namespace pointer_backends
{
namespace
{

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

std::unique_ptr<PointerSettings> openX11()
{
    return X11PointerSettings::open();
}

} // namespace pointer_backends
