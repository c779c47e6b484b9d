#include "device/bounded_write.h"

#include <hidapi/hidapi.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace
{

struct PendingWrite {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool abandoned = false;
    int result = -1;
};

} // namespace

int boundedWrite(hid_device *&handle, const unsigned char *data, size_t length, int timeoutMs)
{
    if (!handle)
        return -1;
    auto pending = std::make_shared<PendingWrite>();
    hid_device *device = handle;
    std::vector<unsigned char> copy(data, data + length);
    std::thread([pending, device, copy = std::move(copy)] {
        const int result = hid_write(device, copy.data(), copy.size());
        std::lock_guard<std::mutex> lock(pending->mutex);
        if (pending->abandoned) {
            hid_close(device);
            return;
        }
        pending->result = result;
        pending->finished = true;
        pending->done.notify_one();
    }).detach();

    std::unique_lock<std::mutex> lock(pending->mutex);
    if (pending->done.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [&] { return pending->finished; }))
        return pending->result;
    pending->abandoned = true;
    handle = nullptr;
    return -1;
}
