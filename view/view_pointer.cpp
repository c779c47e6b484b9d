// The QML API's slots for the desktop's pointer settings: the platform's settings store, driven by
// the system page's conversions.

#include "controller/pointer_settings.h"
#include "platform/desktop_pointer_settings.h"
#include "view/myqquickview.h"

bool myQQuickView::mouseSetCursorSpeed(uint cursorSpeed)
{
    return setCursorSpeed(*desktopPointerSettings(), cursorSpeed);
}

bool myQQuickView::mouseSetVerticalScrollLines(uint lines)
{
    return setVerticalScrollLines(*desktopPointerSettings(), lines);
}

bool myQQuickView::mouseSetDoubleClickSpeed(uint speed)
{
    return setDoubleClickSpeed(*desktopPointerSettings(), speed);
}
