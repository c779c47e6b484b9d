#pragma once

// The operating system's pointer settings for the current user: pointer speed, double-click time
// and wheel scroll lines. The platform layer implements the interface (desktopPointerSettings) and
// writes them where the desktop keeps them; none of this reaches the mouse.

#include <QtGlobal>

class PointerSettings
{
public:
    static constexpr int kMinSpeed = 1;
    static constexpr int kNeutralSpeed = 10; // the speed at which the pointer is not scaled
    static constexpr int kMaxSpeed = 20;

    virtual ~PointerSettings() = default;

    // Each returns false, leaving the setting as it was, when the desktop has no such setting or
    // refuses the value.
    virtual bool setPointerSpeed(int speed) = 0;
    virtual bool setDoubleClickTime(int milliseconds) = 0;
    virtual bool setWheelScrollLines(int lines) = 0;
};

// The system page's three operations. The page passes slider positions 0...10 for speed and
// double-click (speed 2 x position, but at least 1; 900 - 70 x position milliseconds) and the
// wheel's line count as it is. A refusal writes the operation's failure line to the debug output.
bool setCursorSpeed(PointerSettings &platform, uint cursorSpeed);
bool setDoubleClickSpeed(PointerSettings &platform, uint speed);
bool setVerticalScrollLines(PointerSettings &platform, uint lines);
