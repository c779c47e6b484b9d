// The link's queue: commands run on the link's own thread in the order they were asked for, so
// the GUI thread never waits for the mouse unless it needs an answer.

#include "device/commands.h"
#include "device/hid_thread.h"

struct Hid_Thread::Job {
    std::function<bool()> work;
    bool counted = false;             // a write of a batch: its result goes to the batch
    bool posted = false;              // nobody waits for it; its result goes to the next report
    std::function<void(bool)> report; // a posted job that hands the posted results on
    bool done = false;
    bool ok = false;
};

bool Hid_Thread::isBusy() const
{
    if (!hidFree)
        return true;
    std::lock_guard<std::mutex> lock(queueMutex);
    return jobRunning || !jobs.empty() || batchDepth > 0;
}

void Hid_Thread::clearBusy()
{
    // A job that runs holds the token for its own exchange; only a token nobody uses is forced.
    std::lock_guard<std::mutex> lock(queueMutex);
    if (!jobRunning)
        giveTokenBack();
}

bool Hid_Thread::submit(std::function<bool()> work, bool write)
{
    // A command asked for by a command already on the link's thread runs in its place.
    if (QThread::currentThread() == this)
        return work();
    auto job = std::make_shared<Job>();
    job->work = std::move(work);
    std::unique_lock<std::mutex> lock(queueMutex);
    job->counted = write && batchDepth > 0;
    enqueueLocked(job);
    if (job->counted)
        return true;
    queueDone.wait(lock, [&job] { return job->done; });
    return job->ok;
}

bool Hid_Thread::queueSteps(std::function<bool(Hid_Thread &)> steps)
{
    if (QThread::currentThread() != this) {
        std::lock_guard<std::mutex> lock(queueMutex);
        flushBlocksLocked();
    }
    return queueSet([this, steps = std::move(steps)] { return steps(*this); });
}

void Hid_Thread::post(std::function<bool(Hid_Thread &)> steps)
{
    postJob(std::move(steps), {});
}

void Hid_Thread::postReport(std::function<bool(Hid_Thread &)> steps, std::function<void(bool)> done)
{
    postJob(std::move(steps), std::move(done));
}

void Hid_Thread::postJob(std::function<bool(Hid_Thread &)> steps, std::function<void(bool)> done)
{
    auto job = std::make_shared<Job>();
    job->work = [this, steps = std::move(steps)] { return steps(*this); };
    job->posted = true;
    job->report = std::move(done);
    std::lock_guard<std::mutex> lock(queueMutex);
    flushBlocksLocked();
    enqueueLocked(job);
}

void Hid_Thread::run()
{
    std::unique_lock<std::mutex> lock(queueMutex);
    for (;;) {
        queueWake.wait(lock, [this] { return stopping || !jobs.empty(); });
        if (jobs.empty())
            break; // stopping, and everything asked for has run
        const std::shared_ptr<Job> job = jobs.front();
        jobs.pop_front();
        // Work nobody waits for is not worth holding up the program's end.
        const bool dropped = stopping && job->posted;
        jobRunning = true;
        lock.unlock();
        const bool ok = !dropped && job->work();
        if (job->posted) {
            postedOk = postedOk && ok;
            if (job->report) {
                const bool all = postedOk;
                postedOk = true;
                job->report(all);
            }
        }
        lock.lock();
        jobRunning = false;
        job->ok = ok;
        job->done = true;
        bool finished = false;
        bool allOk = true;
        const int done = job->counted ? ++batchDone : 0;
        const int total = batchTotal;
        if (job->counted) {
            batchOk = batchOk && ok;
            finished = takeFinishedBatchLocked(allOk);
        }
        queueDone.notify_all();
        lock.unlock();
        if (job->counted)
            emit batchProgress(done, total);
        if (finished)
            emit batchFinished(allOk);
        lock.lock();
    }
}

void Hid_Thread::beginBatch()
{
    std::lock_guard<std::mutex> lock(queueMutex);
    ++batchDepth;
}

void Hid_Thread::endBatch()
{
    bool finished = false;
    bool allOk = true;
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        if (batchDepth == 0)
            return;
        if (batchDepth == 1) {
            flushBlocksLocked();
            queueReplyCheckLocked();
        }
        --batchDepth;
        // Nothing was queued, or all of it has already run.
        finished = takeFinishedBatchLocked(allOk);
    }
    if (finished)
        emit batchFinished(allOk);
}

void Hid_Thread::flushBlocksLocked()
{
    for (auto &[profileData, bytes] : heldBlocks) {
        auto job = std::make_shared<Job>();
        job->counted = true;
        job->work = [this, p = profileData, b = std::move(bytes)] {
            return sendProfileBlock(b.data(), p);
        };
        enqueueLocked(job);
    }
    heldBlocks.clear();
}

// A scrambled mouse that unscrambles with another code than ours ignores every request without a
// sign, and a set reads no reply, so the batch would be told as written. A query's reply is
// scrambled as well: one that checks out after the batch's writes shows they were understood.
void Hid_Thread::queueReplyCheckLocked()
{
    const DeviceEntry *device = entry(currentDevice);
    if (batchTotal == 0 || !device || !device->isEncode)
        return;
    auto job = std::make_shared<Job>();
    job->counted = true;
    job->work = [this] {
        uchar led[3] = {};
        return runQuery(command::GetLEDInstructFunction, {0}, {&led[0], &led[1], &led[2]},
                        command::kLedOptionsReplyByte);
    };
    enqueueLocked(job);
}

void Hid_Thread::enqueueLocked(const std::shared_ptr<Job> &job)
{
    if (job->counted)
        ++batchTotal;
    if (!isRunning())
        start();
    jobs.push_back(job);
    queueWake.notify_one();
}

bool Hid_Thread::takeFinishedBatchLocked(bool &allOk)
{
    if (batchDepth > 0 || batchDone != batchTotal)
        return false;
    allOk = batchOk;
    batchTotal = batchDone = 0;
    batchOk = true;
    return true;
}

void Hid_Thread::waitIdle()
{
    if (QThread::currentThread() == this)
        return;
    std::unique_lock<std::mutex> lock(queueMutex);
    queueDone.wait(lock, [this] { return jobs.empty() && !jobRunning; });
}

void Hid_Thread::stopQueue()
{
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        flushBlocksLocked();
        stopping = true;
        queueWake.notify_all();
    }
    // What was asked for still goes out: each exchange is bounded.
    wait();
}

bool Hid_Thread::hid560_0CH_setProfile(uchar *src128, uchar profileData)
{
    std::vector<uchar> bytes(src128, src128 + command::f560::SetProfile.block);
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        if (batchDepth > 0 && QThread::currentThread() != this) {
            // Sent when the batch ends, with the bytes of the last of its writes.
            heldBlocks[profileData] = std::move(bytes);
            return true;
        }
    }
    return queueSet([this, b = std::move(bytes), profileData] {
        return sendProfileBlock(b.data(), profileData);
    });
}
