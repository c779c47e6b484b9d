#pragma once

// Desktop-wide key and button events from the X server's RECORD extension, delivered on the GUI
// thread to the hook procedures. Kept apart: the X11 headers' macros clash with Qt's names.

#include <QtGlobal>

#include <memory>

// X key codes and button numbers, as both observers see them, fed to the hook procedures.
void reportXKey(int xKeycode, bool isDown);
void reportXButton(int xButton, bool isDown, qint32 x, qint32 y);

class XRecordObserver
{
public:
    XRecordObserver();
    ~XRecordObserver();
    // False when no X display can be observed.
    bool start();

private:
    struct Connection;
    std::unique_ptr<Connection> connection;
};
