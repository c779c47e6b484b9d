// The 560 command family: a few direct commands, per-mode repetitions and 128-byte blocks.

#include "device/commands.h"
#include "device/hid_thread.h"

#include <cstring>
#include <vector>

using namespace command;

bool Hid_Thread::hid560_01H_SetKeyboardoption(uchar byte1, uchar byte2)
{
    return queueSet([=] { return runSet(f560::SetKeyboardoption, {byte1, byte2}); });
}

bool Hid_Thread::hid560_02H_SetCurrentProfile(uchar profile)
{
    return queueSet([=] { return runSet(f560::SetCurrentProfile, {profile}); });
}

bool Hid_Thread::hid560_03H_SetReportRate(uchar rate)
{
    return queueSet([=] { return setPerMode(f560::SetReportRate, rate); });
}

bool Hid_Thread::hid560_04H_SetCurrentDPI(uchar stage)
{
    return queueSet([=] { return setPerMode(f560::SetCurrentDPI, stage); });
}

bool Hid_Thread::hid560_09H_Lod(uchar stage, uchar en)
{
    return queueSet([=] { return runSet(f560::Lod, {en != 0 ? stage : uchar(0x00), kLodConst}); });
}

bool Hid_Thread::sendProfileBlock(const uchar *src128, uchar profileData)
{
    return runSet(f560::SetProfile, {profileData, kLen128}, src128, f560::SetProfile.block);
}

bool Hid_Thread::hid560_0DH_SetKeyMatrix(uchar *src64, uchar indexAddOne)
{
    // The firmware takes a 128-byte block; the second half is always zero.
    std::vector<uchar> block(f560::SetKeyMatrix.block, 0);
    std::memcpy(block.data(), src64, 64);
    return queueSet([=, b = std::move(block)] {
        return runSet(f560::SetKeyMatrix, {indexAddOne, kLen128}, b.data(), int(b.size()));
    });
}

bool Hid_Thread::hid560_0FH_SetMacroKey(uchar macroId, uchar *src128)
{
    std::vector<uchar> block(src128, src128 + f560::SetMacroKey.block);
    return queueSet([=, b = std::move(block)] {
        return runSet(f560::SetMacroKey, {macroId, kLen128}, b.data(), int(b.size()));
    });
}

bool Hid_Thread::hid560_81H_GetKeyboardoption(uchar &byte1, uchar &byte2)
{
    return queueQuery([&] { return runQuery(f560::GetKeyboardoption, {}, {&byte1, &byte2}); });
}

bool Hid_Thread::hid560_82H_GetCurrentProfile(uchar &byte1)
{
    return queueQuery([&] { return runQuery(f560::GetCurrentProfile, {}, {&byte1}); });
}

bool Hid_Thread::hid560_84H_GetCurrentDPI(uchar &byte1, uchar &byte2)
{
    return queueQuery([&] { return runQuery(f560::GetCurrentDPI, {byte1}, {&byte1, &byte2}); });
}

bool Hid_Thread::hid560_8CH_readProfile(uchar *src128, uchar profileNo)
{
    if (QThread::currentThread() != this) {
        // A block read back shows what the batch has written so far. A step on the link's thread
        // was queued after the blocks held back before it (post, queueSteps).
        std::lock_guard<std::mutex> lock(queueMutex);
        flushBlocksLocked();
    }
    return queueQuery([&] {
        if (!takeToken(f560::ReadProfile))
            return false;
        buildRequest(f560::ReadProfile.code, {profileNo});
        // Only a block that came whole replaces the caller's bytes.
        if (!hidGetTransfer(f560::ReadProfile.block))
            return false;
        std::memcpy(src128, bulkBuffer, f560::ReadProfile.block);
        return true;
    });
}
