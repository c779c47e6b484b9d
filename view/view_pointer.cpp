// The QML API's slots for the desktop's pointer settings: the platform's settings store, driven by
// the system page's conversions.

#include "controller/pointer_settings.h"
#include "platform/desktop_pointer_settings.h"
#include "view/myqquickview.h"

void myQQuickView::mouseSetCursorSpeed(uint cursorSpeed)
{
    setCursorSpeed(*desktopPointerSettings(), cursorSpeed);
}

void myQQuickView::mouseSetVerticalScrollLines(uint lines)
{
    setVerticalScrollLines(*desktopPointerSettings(), lines);
}

void myQQuickView::mouseSetDoubleClickSpeed(uint speed)
{
    setDoubleClickSpeed(*desktopPointerSettings(), speed);
}
