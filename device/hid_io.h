#pragma once

// The hidapi calls of the command interface run here, on one helper thread, one after the other in
// the order they were asked for. The caller waits for each at most until the deadline of its
// exchange. A call it gave up on still runs to its end before the next one starts, so no two
// calls on the mouse ever overlap, and a handle that was given up is closed only after its last
// call has returned.

#include <chrono>
#include <functional>
#include <memory>
#include <string>

struct hid_device_;
using hid_device = struct hid_device_;

// Opens the HID interface at `path` for blocking calls; null when it cannot be opened. Every
// interface the link uses is opened through here.
hid_device *openHidInterface(const std::string &path);

class HidIo
{
public:
    using Clock = std::chrono::steady_clock;

    HidIo();
    ~HidIo(); // waits briefly for a call in progress, then leaves it to finish on its own
    HidIo(const HidIo &) = delete;
    HidIo &operator=(const HidIo &) = delete;

    // Opens `path` and makes the handle blocking. Null when the open failed or did not finish by
    // `deadline` (*timedOut tells which; a handle that arrives too late is closed).
    hid_device *open(const std::string &path, Clock::time_point deadline, bool *timedOut);
    // Runs `call`. False when it did not finish by `deadline`: the handle it uses must then be
    // given up with closeLater().
    bool run(std::function<int()> call, Clock::time_point deadline, int *result);
    // Closes `handle` once every call asked for before has returned.
    void closeLater(hid_device *handle);

private:
    struct Job;
    struct Shared;
    bool wait(const std::shared_ptr<Job> &job, Clock::time_point deadline);
    void enqueue(const std::shared_ptr<Job> &job);
    static void work(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> shared;
};
