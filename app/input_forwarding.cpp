#include "app/input_forwarding.h"

#include "app/widget.h"
#include "view/dialogs.h"
#include "view/myqquickview.h"
#include "view/ui_controler.h"

#include <cstring>

void forwardKeyboard(quint8 usage, bool isDown, void *context)
{
    if (auto *widget = static_cast<Widget *>(context))
        widget->controler->mainView->detectKeyboard(isDown, usage);
}

void forwardMouse(quint8 button, bool isDown, qint32 x, qint32 y, void *context)
{
    // Coordinates left of or above the primary screen arrive as their unsigned 32-bit values.
    if (auto *widget = static_cast<Widget *>(context))
        widget->controler->mainView->detectMouse(isDown, button, quint32(x), quint32(y));
}

void showCopyData(const CopyData *data, void *context)
{
    auto *widget = static_cast<Widget *>(context);
    if (!widget || !data || data->dwData != kCopyDataTag || !data->lpData)
        return;
    // The text ends at its first NUL; a length that counts more (or less) is not a message.
    // Reads at most one byte past the stated length, where the channel puts a NUL.
    const QString text =
        QString::fromUtf8(data->lpData, qsizetype(strnlen(data->lpData, size_t(data->cbData) + 1)));
    if (quint32(text.toUtf8().size()) != data->cbData)
        return;
    Dialogs::instance().warning(nullptr, widget->windowTitle(), text);
}
