// The report transport: every exchange with the mouse passes through here.

#include "device/bounded_write.h"
#include "device/hid_thread.h"
#include "device/scramble.h"

#include <QCoreApplication>
#include <QDebug>

#include <hidapi/hidapi.h>

#include <cstring>
#include <vector>

using namespace transport;

// The last chunk always moves a whole chunk length, which may run past the block's end.
static_assert(kBulkCapacity >= 2 * kMaxBlock, "bulkBuffer must hold a block plus a chunk");

namespace
{

// Gives the token back and closes the handle on every way out of an exchange.
class ExchangeEnd
{
public:
    explicit ExchangeEnd(Hid_Thread &link) : link(link) {}
    ~ExchangeEnd()
    {
        link.closeCmdDevice();
        link.hidFree = true;
    }

private:
    Hid_Thread &link;
};

} // namespace

DeviceEntry *Hid_Thread::entry(int index) const
{
    if (index < 0 || index >= static_cast<int>(devices.size()))
        return nullptr;
    return devices[static_cast<size_t>(index)].get();
}

bool Hid_Thread::waitHidFree()
{
    for (int poll = 0; poll < kTokenPolls; ++poll) {
        if (hidFree) {
            hidFree = false;
            return true;
        }
        QThread::msleep(kTokenPollMs);
        QCoreApplication::processEvents();
    }
    return false;
}

hid_device *Hid_Thread::openCmdDevice(int index)
{
    DeviceEntry *device = entry(index);
    if (!device || device->cmdPath.isEmpty())
        return nullptr;
    closeCmdDevice();
    cmdHandle = hid_open_path(device->cmdPath.toLatin1().constData());
    if (!cmdHandle) {
        // Gone: later exchanges fail at once until a scan finds the interface again.
        device->cmdPath.clear();
        return nullptr;
    }
    hid_set_nonblocking(cmdHandle, 0);
    return cmdHandle;
}

void Hid_Thread::closeCmdDevice()
{
    if (cmdHandle) {
        hid_close(cmdHandle);
        cmdHandle = nullptr;
    }
}

void Hid_Thread::settleWait()
{
    QThread::msleep(kSettleHalfMs);
    QThread::msleep(kSettleHalfMs);
}

bool Hid_Thread::hidGetTransfer(int n)
{
    if (!openCmdDevice(currentDevice)) {
        hidFree = true;
        return false;
    }
    ExchangeEnd end(*this);
    const DeviceEntry &device = *entry(currentDevice);
    const bool encode = device.isEncode;
    const int reportLength = device.reportLength;
    if (encode)
        scrambleReport(outReport + report::kScrambledOffset, secrecyCode);

    if (!openCmdDevice(currentDevice) ||
        hid_send_feature_report(cmdHandle, outReport, report::kFeatureSize) < 0)
        return false;
    inReport[report::kIdByte] = 0;
    if (!openCmdDevice(currentDevice) ||
        hid_get_feature_report(cmdHandle, inReport, report::kFeatureSize) < 0)
        return false;

    if (n <= 0) {
        if (encode)
            unscrambleReport(inReport + report::kScrambledOffset, secrecyCode);
        return true;
    }
    if (n > kMaxBlock || reportLength <= 0)
        return false;

    // The feature reply is not unscrambled on this path, and the data block is never scrambled.
    const int chunkLength = n < reportLength ? n : reportLength;
    std::vector<uchar> chunk(static_cast<size_t>(reportLength) + 1);
    int stored = 0;
    while (stored < n) {
        std::fill(chunk.begin(), chunk.end(), 0);
        if (!openCmdDevice(currentDevice))
            return false;
        // A bounded read: a mouse that never sends the announced data ends the exchange.
        const int got = hid_read_timeout(cmdHandle, chunk.data(), chunk.size(), kChunkTimeoutMs);
        if (got <= 0)
            return false;
        std::memcpy(bulkBuffer + stored, chunk.data(), static_cast<size_t>(chunkLength));
        stored += chunkLength;
    }
    return true;
}

bool Hid_Thread::hidSetTransfer(int n, bool settle)
{
    QCoreApplication::processEvents();
    if (!openCmdDevice(currentDevice)) {
        hidFree = true;
        return false;
    }
    ExchangeEnd end(*this);
    const DeviceEntry &device = *entry(currentDevice);
    const int reportLength = device.reportLength;
    if (device.isEncode)
        scrambleReport(outReport + report::kScrambledOffset, secrecyCode);

    if (!openCmdDevice(currentDevice) ||
        hid_send_feature_report(cmdHandle, outReport, report::kFeatureSize) < 0)
        return false;
    if (settle)
        settleWait();
    if (n <= 0)
        return true;
    if (n > kMaxBlock || reportLength <= 0)
        return false;

    const int chunkLength = n < reportLength ? n : reportLength;
    std::vector<uchar> chunk(static_cast<size_t>(reportLength) + 1, 0);
    for (int sent = 0; sent < n; sent += chunkLength) {
        chunk[0] = 0; // report ID
        std::memcpy(chunk.data() + 1, bulkBuffer + sent, static_cast<size_t>(chunkLength));
        if (!openCmdDevice(currentDevice) ||
            !writeChunk(chunk.data(), static_cast<int>(chunk.size()))) {
            qDebug() << "HID FAIL";
            return false;
        }
        QThread::msleep(kChunkPauseMs);
    }
    qDebug() << "HID SUCCESS";
    if (settle)
        settleWait();
    return true;
}

bool Hid_Thread::writeChunk(const uchar *chunk, int size)
{
    return boundedWrite(cmdHandle, chunk, static_cast<size_t>(size), kChunkTimeoutMs) == size;
}

uchar Hid_Thread::hidCS(uchar *cmd)
{
    return reportChecksum(cmd);
}

void Hid_Thread::USBDataEncryption(uchar FIFOBuf[], uchar SecrecyCode[])
{
    scrambleReport(FIFOBuf, SecrecyCode);
}

void Hid_Thread::USBDataDecipher(uchar FIFOBuf[], uchar SecrecyCode[])
{
    unscrambleReport(FIFOBuf, SecrecyCode);
}
