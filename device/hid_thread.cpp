#include "device/hid_thread.h"

#include <hidapi/hidapi.h>

uchar secrecyCode[8] = {};

Hid_Thread::Hid_Thread(QObject *parent) : QThread(parent) {}

Hid_Thread::~Hid_Thread()
{
    stopQueue();
    stopDeviceWatch();
    closeCmdDevice();
    if (eventHandle)
        hid_close(eventHandle);
}

int Hid_Thread::scanDevices()
{
    // The queued commands use the table being replaced.
    waitIdle();
    DeviceList found = loadDeviceTable();
    for (auto &device : found)
        findInterfaces(*device);
    stopDeviceWatch();
    devices = std::move(found);
    for (size_t i = 0; i < devices.size(); ++i) {
        if (!devices[i]->cmdPath.isEmpty())
            return static_cast<int>(i);
    }
    return -1;
}

void Hid_Thread::selectDevice(int index)
{
    waitIdle();
    currentDevice = index;
    if (index < 0 || index >= static_cast<int>(devices.size()))
        return;
    // A code of any other length leaves the previous one in force.
    const QByteArray code = devices[static_cast<size_t>(index)]->sCode.toLatin1();
    if (code.size() == 6) {
        for (int i = 0; i < 6; ++i)
            secrecyCode[i + 1] = static_cast<uchar>(code[i]);
    }
}

QString Hid_Thread::unopenableInterface(int index)
{
    waitIdle();
    const DeviceEntry *device = entry(index);
    if (!device)
        return {};
    for (const QString &path : {device->cmdPath, device->eventPath}) {
        if (path.isEmpty())
            continue;
        bool timedOut = false;
        const auto deadline =
            HidIo::Clock::now() + std::chrono::milliseconds(transport::kExchangeBoundMs);
        hid_device *handle = io.open(path.toStdString(), deadline, &timedOut);
        if (!handle)
            return path;
        io.closeLater(handle);
    }
    return {};
}
