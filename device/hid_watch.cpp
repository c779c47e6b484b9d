// The connection watch: a loop on the mouse's event interface that passes DPI-button reports on
// and notices when the mouse is gone.

#include "device/hid_thread.h"

#include <QDebug>
#include <QtConcurrent>

#include <hidapi/hidapi.h>

namespace
{
// The event report of a DPI-button press: report ID 6, type 7, then the new stage (1-based).
constexpr int kEventReportSize = 4;
constexpr uchar kDpiReportId = 6;
constexpr uchar kDpiEventType = 7;
constexpr int kDpiStageByte = 3;
constexpr int kEventReadTimeoutMs = 500;
// Keyboard-option bits that the watch sets before listening.
constexpr uchar kOption560FirstByteBit = 0x08;
constexpr uchar kOption553FourthByteBit = 0x40;
} // namespace

hid_device *Hid_Thread::openEventDevice(int index)
{
    DeviceEntry *device = entry(index);
    if (!device || device->eventPath.isEmpty())
        return nullptr;
    closeEventDevice();
    eventHandle = openHidInterface(device->eventPath.toStdString());
    if (!eventHandle)
        device->eventPath.clear();
    return eventHandle;
}

void Hid_Thread::closeEventDevice()
{
    if (eventHandle) {
        hid_close(eventHandle);
        eventHandle = nullptr;
    }
}

void Hid_Thread::stopDeviceWatch()
{
    listening = false;
    listener.waitForFinished();
}

void Hid_Thread::startDeviceWatch(int index)
{
    // Never two loops on eventHandle at once.
    stopDeviceWatch();
    // Read, modify, write: only options the mouse really reported are written back. Posted, so
    // that the caller does not wait for a mouse that may not answer; a failure goes to the link's
    // next report.
    const bool family560 = traits && traits->family560();
    post([family560](Hid_Thread &link) {
        if (family560) {
            uchar byte1 = 0, byte2 = 0;
            return link.hid560_81H_GetKeyboardoption(byte1, byte2) &&
                   link.hid560_01H_SetKeyboardoption(byte1 | kOption560FirstByteBit, byte2);
        }
        uchar byte1 = 0, byte2 = 0, byte3 = 0, byte4 = 0;
        return link.hid553_83H_GetKeyboardoption(byte1, byte2, byte3, byte4) &&
               link.hid553_03H_SetKeyboardoption(byte1, byte2, byte3,
                                                 byte4 | kOption553FourthByteBit);
    });
    listening = true;
    listener = QtConcurrent::run([this, index] { listenDeviceEvents(unsigned(index)); });
}

void Hid_Thread::listenDeviceEvents(unsigned index)
{
    // However the loop ends, nobody listens any more: device changes are acted on again.
    struct Done {
        Hid_Thread &link;
        ~Done()
        {
            link.listening = false;
            emit link.watchEnded();
        }
    } done{*this};
    DeviceEntry *device = entry(int(index));
    if (!device || device->eventPath.isEmpty())
        return;
    while (listening) {
        // The handle stays open while reads succeed; a failed read (the mouse gone, or its node
        // replaced) makes the next round open the interface again, and a failed open ends the
        // watch.
        if (!eventHandle && !openEventDevice(int(index))) {
            qDebug() << "Device removed";
            device->eventPath.clear();
            listening = false;
            emit deviceRemoved();
            return;
        }
        uchar report[kEventReportSize] = {};
        const int got = hid_read_timeout(eventHandle, report, sizeof report, kEventReadTimeoutMs);
        if (got == kEventReportSize && report[0] == kDpiReportId && report[1] == kDpiEventType)
            emit dpiStageReported(report[kDpiStageByte]);
        if (got < 0)
            closeEventDevice();
    }
    closeEventDevice();
}
