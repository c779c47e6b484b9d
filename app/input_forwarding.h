#pragma once

// What start-up registers with the input capture, with the tray widget as context.

#include "input/input_hook.h"

// Observed keys and buttons go to the main view, which queues them into the QML root.
void forwardKeyboard(quint8 usage, bool isDown, void *context);
void forwardMouse(quint8 button, bool isDown, qint32 x, qint32 y, void *context);

// The tag a copy-data message must carry to be shown.
constexpr quint32 kCopyDataTag = 0x250F;
// Shows the text of a copy-data message in a warning box titled like the widget's window.
void showCopyData(const CopyData *data, void *context);
