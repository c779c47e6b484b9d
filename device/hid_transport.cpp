// The report transport: every exchange with the mouse passes through here.

#include "device/hid_thread.h"
#include "device/report.h"
#include "device/scramble.h"

#include <QDebug>

#include <hidapi/hidapi.h>

#include <cstring>
#include <vector>

using namespace transport;

// The last chunk always moves a whole chunk length, which may run past the block's end.
static_assert(kBulkCapacity >= 2 * kMaxBlock, "bulkBuffer must hold a block plus a chunk");

// One exchange: one deadline for all of it (from its first call to the mouse), one handle for all
// of its steps, and on every way out the handle closed and the token given back.
class Hid_Thread::ExchangeScope
{
public:
    explicit ExchangeScope(Hid_Thread &link) : link(link)
    {
        link.exchangeDeadline = HidIo::Clock::now() + std::chrono::milliseconds(kExchangeBoundMs);
    }
    ~ExchangeScope()
    {
        link.closeCmdDevice();
        link.exchangeDeadline.reset();
        link.giveTokenBack();
    }

private:
    Hid_Thread &link;
};

DeviceEntry *Hid_Thread::entry(int index) const
{
    if (index < 0 || index >= static_cast<int>(devices.size()))
        return nullptr;
    return devices[static_cast<size_t>(index)].get();
}

bool Hid_Thread::waitHidFree()
{
    std::unique_lock<std::mutex> lock(tokenMutex);
    const bool free =
        tokenFreed.wait_for(lock, std::chrono::milliseconds(kTokenPolls * kTokenPollMs),
                            [this] { return hidFree.load(); });
    if (free)
        hidFree = false;
    return free;
}

void Hid_Thread::giveTokenBack()
{
    {
        std::lock_guard<std::mutex> lock(tokenMutex);
        hidFree = true;
    }
    tokenFreed.notify_all();
}

hid_device *Hid_Thread::openCmdDevice(int index)
{
    DeviceEntry *device = entry(index);
    if (!device || device->cmdPath.isEmpty())
        return nullptr;
    closeCmdDevice();
    const HidIo::Clock::time_point deadline = exchangeDeadline.value_or(
        HidIo::Clock::now() + std::chrono::milliseconds(kExchangeBoundMs));
    bool timedOut = false;
    cmdHandle = io.open(device->cmdPath.toStdString(), deadline, &timedOut);
    if (!cmdHandle && !timedOut) {
        // Gone: later exchanges fail at once until a scan finds the interface again.
        device->cmdPath.clear();
    }
    return cmdHandle;
}

void Hid_Thread::closeCmdDevice()
{
    // After the calls on it have returned; they have, unless one was given up, and then the
    // handle is already gone from here.
    io.closeLater(cmdHandle);
    cmdHandle = nullptr;
}

bool Hid_Thread::ioStep(const std::function<int(hid_device *)> &call, int *result)
{
    hid_device *handle = cmdHandle;
    if (!handle) {
        *result = -1;
        return false;
    }
    const HidIo::Clock::time_point deadline = exchangeDeadline.value_or(HidIo::Clock::now());
    if (io.run([call, handle] { return call(handle); }, deadline, result))
        return true;
    // Out of time: the call may still be running; the handle is closed once it has returned, and
    // nothing else is sent on it.
    cmdHandle = nullptr;
    io.closeLater(handle);
    return false;
}

bool Hid_Thread::sendFeature()
{
    const std::vector<uchar> request(outReport, outReport + report::kFeatureSize);
    int sent = -1;
    return ioStep(
               [request](hid_device *h) {
                   return hid_send_feature_report(h, request.data(), request.size());
               },
               &sent) &&
           sent >= 0;
}

bool Hid_Thread::getFeature()
{
    // A reply that does not come leaves no bytes of an earlier one behind.
    std::memset(inReport, 0, sizeof inReport);
    auto reply = std::make_shared<std::vector<uchar>>(report::kFeatureSize, 0);
    int got = -1;
    if (!ioStep(
            [reply](hid_device *h) {
                return hid_get_feature_report(h, reply->data(), reply->size());
            },
            &got) ||
        got < 0)
        return false;
    std::memcpy(inReport, reply->data(), report::kFeatureSize);
    return true;
}

bool Hid_Thread::writeChunk(const uchar *chunk, int size)
{
    const std::vector<uchar> data(chunk, chunk + size);
    int written = -1;
    return ioStep([data](hid_device *h) { return hid_write(h, data.data(), data.size()); },
                  &written) &&
           written == size;
}

int Hid_Thread::readChunk(uchar *chunk, int size)
{
    if (!exchangeDeadline)
        return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*exchangeDeadline -
                                                                            HidIo::Clock::now())
                          .count();
    if (left <= 0)
        return -1;
    auto buffer = std::make_shared<std::vector<uchar>>(static_cast<size_t>(size), 0);
    int got = -1;
    // The read ends by itself when the exchange's time is up, so the handle is kept.
    if (!ioStep(
            [buffer, left](hid_device *h) {
                return hid_read_timeout(h, buffer->data(), buffer->size(), int(left));
            },
            &got))
        return -1;
    if (got > 0)
        std::memcpy(chunk, buffer->data(), static_cast<size_t>(got));
    return got;
}

bool Hid_Thread::replyChecksOut(uchar code) const
{
    return report::replyChecksOut(inReport, code);
}

void Hid_Thread::settleWait()
{
    QThread::msleep(kSettleHalfMs);
    QThread::msleep(kSettleHalfMs);
}

const DeviceEntry *Hid_Thread::sendRequest(int n)
{
    if (n < 0 || n > kMaxBlock || !openCmdDevice(currentDevice))
        return nullptr;
    const DeviceEntry *device = entry(currentDevice);
    if (device->isEncode)
        scrambleReport(outReport + report::kScrambledOffset, secrecyCode);
    return sendFeature() ? device : nullptr;
}

bool Hid_Thread::hidGetTransfer(int n)
{
    ExchangeScope exchange(*this);
    const uchar code = outReport[report::kCodeByte];
    const DeviceEntry *device = sendRequest(n);
    if (!device || !getFeature())
        return false;
    if (n == 0) {
        if (device->isEncode)
            unscrambleReport(inReport + report::kScrambledOffset, secrecyCode);
        return replyChecksOut(code);
    }
    // The reply that announces a data block travels plain, and the block is never scrambled.
    const int reportLength = device->reportLength;
    if (!replyChecksOut(code) || reportLength <= 0)
        return false;

    const int chunkLength = n < reportLength ? n : reportLength;
    std::vector<uchar> chunk(static_cast<size_t>(reportLength) + 1);
    for (int stored = 0; stored < n; stored += chunkLength) {
        std::fill(chunk.begin(), chunk.end(), 0);
        // A mouse that stops sending the announced data ends the exchange: a block comes whole.
        if (readChunk(chunk.data(), int(chunk.size())) <= 0)
            return false;
        std::memcpy(bulkBuffer + stored, chunk.data(), static_cast<size_t>(chunkLength));
    }
    return true;
}

bool Hid_Thread::hidSetTransfer(int n, bool settle)
{
    ExchangeScope exchange(*this);
    // Every step goes over the one handle: a mouse that was pulled and plugged in again meanwhile
    // has lost the request, and the next step fails instead of talking to a mouse that knows
    // nothing of it.
    const DeviceEntry *device = sendRequest(n);
    if (!device)
        return false;
    const int reportLength = device->reportLength;
    if (settle)
        settleWait();
    if (n == 0)
        return true;
    if (reportLength <= 0)
        return false;

    const int chunkLength = n < reportLength ? n : reportLength;
    std::vector<uchar> chunk(static_cast<size_t>(reportLength) + 1, 0);
    for (int sent = 0; sent < n; sent += chunkLength) {
        chunk[0] = 0; // report ID
        std::memcpy(chunk.data() + 1, bulkBuffer + sent, static_cast<size_t>(chunkLength));
        if (!writeChunk(chunk.data(), static_cast<int>(chunk.size()))) {
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

uchar Hid_Thread::hidCS(uchar *cmd)
{
    return report::checksum(cmd);
}

void Hid_Thread::USBDataEncryption(uchar FIFOBuf[], uchar SecrecyCode[])
{
    scrambleReport(FIFOBuf, SecrecyCode);
}

void Hid_Thread::USBDataDecipher(uchar FIFOBuf[], uchar SecrecyCode[])
{
    unscrambleReport(FIFOBuf, SecrecyCode);
}
