#include "controller/pointer_settings.h"

#include <QDebug>

#include <climits>

namespace
{

// Values past what an int holds are out of every desktop's range; they stay out of range
// instead of wrapping into it.
int saturated(qint64 value)
{
    return int(qBound(qint64(INT_MIN), value, qint64(INT_MAX)));
}

bool report(bool ok, const char *failure)
{
    if (!ok)
        qDebug() << failure;
    return ok;
}

} // namespace

bool setCursorSpeed(PointerSettings &platform, uint cursorSpeed)
{
    const qint64 speed = cursorSpeed == 0 ? 1 : 2 * qint64(cursorSpeed);
    return report(platform.setPointerSpeed(saturated(speed)), "setCursorSpeed Failed");
}

bool setDoubleClickSpeed(PointerSettings &platform, uint speed)
{
    const qint64 milliseconds = 900 - 70 * qint64(speed);
    return report(platform.setDoubleClickTime(saturated(milliseconds)),
                  "setDoubleClickSpeed Failed");
}

bool setVerticalScrollLines(PointerSettings &platform, uint lines)
{
    return report(platform.setWheelScrollLines(saturated(lines)), "setVerticalScrollLines Failed");
}
