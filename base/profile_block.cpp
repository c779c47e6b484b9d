#include "base/profile_block.h"

#include <algorithm>
#include <vector>

namespace profile_block
{

namespace
{

using Block = std::array<uchar, kProfileBlockSize>;
using Image = uchar (*)[kProfileBlockSize];

bool isBlock(int b)
{
    return b >= 0 && b < kProfileBlocks;
}

// The read as a step for the link's thread. While it is queued the block is the step's.
std::function<bool(Hid_Thread &)> readStep(BlockStates *states, Image image, int b)
{
    {
        std::lock_guard<std::mutex> lock(states->mutex);
        ++states->pending[size_t(b)];
    }
    return [states, image, b](Hid_Thread &link) {
        Block fresh{};
        const bool ok = link.hid560_8CH_readProfile(fresh.data(), uchar(b));
        std::lock_guard<std::mutex> lock(states->mutex);
        if (ok)
            std::copy(fresh.begin(), fresh.end(), image[b]);
        states->unread[size_t(b)] = !ok;
        if (--states->pending[size_t(b)] == 0)
            states->gaveUp[size_t(b)] = false;
        return ok;
    };
}

// The whole change on the link's thread: the blocks still unread when it runs are read first (an
// earlier step may have read them since it was queued).
bool changeInStep(DeviceContext &ctx, int first, int last, int lastSent, const Patch &patch)
{
    BlockStates *states = ctx.blockStates;
    const Image image = ctx.profileImage;
    return ctx.link->queueSteps([=](Hid_Thread &link) {
        std::vector<int> unread;
        bool allRead = true;
        {
            std::lock_guard<std::mutex> lock(states->mutex);
            for (int b = first; b <= lastSent; ++b) {
                if (!states->unread[size_t(b)])
                    continue;
                if (states->gaveUp[size_t(b)])
                    allRead = false;
                else
                    unread.push_back(b);
            }
        }
        std::vector<std::pair<int, Block>> read;
        std::vector<int> failed;
        for (int b : unread) {
            if (!allRead)
                break;
            Block fresh{};
            if (link.hid560_8CH_readProfile(fresh.data(), uchar(b)))
                read.emplace_back(b, fresh);
            else
                failed.push_back(b);
            allRead = failed.empty();
        }
        std::vector<std::pair<int, Block>> sent;
        {
            std::lock_guard<std::mutex> lock(states->mutex);
            for (const auto &[b, bytes] : read) {
                std::copy(bytes.begin(), bytes.end(), image[b]);
                states->unread[size_t(b)] = false;
            }
            for (int b : failed)
                states->gaveUp[size_t(b)] = states->pending[size_t(b)] > 1;
            if (allRead) {
                for (int b = first; b <= last; ++b)
                    if (patch)
                        patch(b, image[b]);
                for (int b = first; b <= lastSent; ++b) {
                    Block bytes{};
                    std::copy(image[b], image[b] + kProfileBlockSize, bytes.begin());
                    sent.emplace_back(b, bytes);
                }
            }
            for (int b = first; b <= last; ++b)
                if (--states->pending[size_t(b)] == 0)
                    states->gaveUp[size_t(b)] = false;
        }
        if (!allRead)
            return false;
        bool ok = true;
        for (auto &[b, bytes] : sent)
            ok = link.hid560_0CH_setProfile(bytes.data(), uchar(b)) && ok;
        return ok;
    });
}

} // namespace

bool read(DeviceContext &ctx, int b)
{
    if (!ctx.link || !isBlock(b))
        return false;
    if (!ctx.blockStates)
        return ctx.link->hid560_8CH_readProfile(ctx.profileImage[b], uchar(b));
    return ctx.link->queueSteps(readStep(ctx.blockStates, ctx.profileImage, b));
}

void readLater(DeviceContext &ctx, int b)
{
    if (!ctx.link || !isBlock(b))
        return;
    if (!ctx.blockStates) {
        ctx.link->hid560_8CH_readProfile(ctx.profileImage[b], uchar(b));
        return;
    }
    ctx.link->post(readStep(ctx.blockStates, ctx.profileImage, b));
}

bool change(DeviceContext &ctx, int first, int last, int lastSent, const Patch &patch)
{
    if (!isBlock(first) || !isBlock(last) || lastSent < first || lastSent > last)
        return false;
    if (BlockStates *states = ctx.blockStates) {
        std::unique_lock<std::mutex> lock(states->mutex);
        bool inStep = false;
        for (int b = first; b <= last; ++b)
            inStep = inStep || states->pending[size_t(b)] > 0 ||
                     (b <= lastSent && states->unread[size_t(b)]);
        if (inStep) {
            // Without a link an unread block cannot be read: nothing is changed or sent.
            if (!ctx.link)
                return false;
            for (int b = first; b <= last; ++b)
                ++states->pending[size_t(b)];
            lock.unlock();
            return changeInStep(ctx, first, last, lastSent, patch);
        }
    }
    // A true copy, and no step holds it: changed here and sent (held back to a batch's end).
    if (patch)
        for (int b = first; b <= last; ++b)
            patch(b, ctx.profileImage[b]);
    if (!ctx.link)
        return false;
    bool ok = true;
    for (int b = first; b <= lastSent; ++b)
        ok = ctx.link->hid560_0CH_setProfile(ctx.profileImage[b], uchar(b)) && ok;
    return ok;
}

} // namespace profile_block
