#include "device/hid_io.h"

#include <hidapi/hidapi.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace
{
// How long the destructor waits for a call in progress before it leaves the thread to itself.
constexpr auto kStopWait = std::chrono::milliseconds(300);
} // namespace

struct HidIo::Job {
    std::function<void(Job &)> work;
    // Runs after `work` when the caller had given up while it ran (an open then closes its handle).
    std::function<void(Job &)> late;
    bool essential = false; // runs even when given up or stopping: closes
    bool finished = false;
    bool abandoned = false;
    int result = -1;
    hid_device *handle = nullptr;
};

struct HidIo::Shared {
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable done;
    std::deque<std::shared_ptr<Job>> jobs;
    bool stopping = false;
    bool exited = false;
};

hid_device *openHidInterface(const std::string &path)
{
    hid_device *handle = hid_open_path(path.c_str());
    if (handle)
        hid_set_nonblocking(handle, 0);
    return handle;
}

HidIo::HidIo() : shared(std::make_shared<Shared>())
{
    std::thread(&HidIo::work, shared).detach();
}

HidIo::~HidIo()
{
    std::unique_lock<std::mutex> lock(shared->mutex);
    shared->stopping = true;
    shared->wake.notify_all();
    // A call stuck in the kernel must not hold up the program's exit; the thread keeps the shared
    // state alive and ends by itself.
    shared->done.wait_for(lock, kStopWait, [this] { return shared->exited; });
}

void HidIo::work(std::shared_ptr<Shared> shared)
{
    std::unique_lock<std::mutex> lock(shared->mutex);
    for (;;) {
        shared->wake.wait(lock, [&] { return shared->stopping || !shared->jobs.empty(); });
        if (shared->jobs.empty())
            break;
        const std::shared_ptr<Job> job = shared->jobs.front();
        shared->jobs.pop_front();
        if ((job->abandoned || shared->stopping) && !job->essential) {
            job->finished = true;
            continue;
        }
        lock.unlock();
        job->work(*job);
        lock.lock();
        job->finished = true;
        shared->done.notify_all();
        if (job->abandoned && job->late) {
            lock.unlock();
            job->late(*job);
            lock.lock();
        }
    }
    shared->exited = true;
    shared->done.notify_all();
}

void HidIo::enqueue(const std::shared_ptr<Job> &job)
{
    std::lock_guard<std::mutex> lock(shared->mutex);
    shared->jobs.push_back(job);
    shared->wake.notify_one();
}

bool HidIo::wait(const std::shared_ptr<Job> &job, Clock::time_point deadline)
{
    std::unique_lock<std::mutex> lock(shared->mutex);
    if (shared->done.wait_until(lock, deadline, [&] { return job->finished; }))
        return true;
    job->abandoned = true;
    return false;
}

hid_device *HidIo::open(const std::string &path, Clock::time_point deadline, bool *timedOut)
{
    *timedOut = Clock::now() >= deadline;
    if (*timedOut)
        return nullptr;
    auto job = std::make_shared<Job>();
    job->work = [path](Job &j) { j.handle = openHidInterface(path); };
    job->late = [](Job &j) {
        if (j.handle)
            hid_close(j.handle);
    };
    enqueue(job);
    *timedOut = !wait(job, deadline);
    return *timedOut ? nullptr : job->handle;
}

bool HidIo::run(std::function<int()> call, Clock::time_point deadline, int *result)
{
    *result = -1;
    if (Clock::now() >= deadline)
        return false;
    auto job = std::make_shared<Job>();
    job->work = [call = std::move(call)](Job &j) { j.result = call(); };
    enqueue(job);
    if (!wait(job, deadline))
        return false;
    *result = job->result;
    return true;
}

void HidIo::closeLater(hid_device *handle)
{
    if (!handle)
        return;
    auto job = std::make_shared<Job>();
    job->essential = true;
    job->work = [handle](Job &) { hid_close(handle); };
    enqueue(job);
}
