// The 560 command family: a few direct commands, per-mode repetitions and 128-byte blocks.

#include "device/commands.h"
#include "device/hid_thread.h"

#include <cstring>

using namespace command;

bool Hid_Thread::hid560_01H_SetKeyboardoption(uchar byte1, uchar byte2)
{
    return runSet(f560::SetKeyboardoption, {byte1, byte2});
}

bool Hid_Thread::hid560_02H_SetCurrentProfile(uchar profile)
{
    return runSet(f560::SetCurrentProfile, {profile});
}

bool Hid_Thread::hid560_03H_SetReportRate(uchar rate)
{
    return setPerMode(f560::SetReportRate, rate);
}

bool Hid_Thread::hid560_04H_SetCurrentDPI(uchar stage)
{
    return setPerMode(f560::SetCurrentDPI, stage);
}

bool Hid_Thread::hid560_09H_Lod(uchar stage, uchar en)
{
    return runSet(f560::Lod, {en != 0 ? stage : uchar(0x00), kLodConst});
}

bool Hid_Thread::hid560_0CH_setProfile(uchar *src128, uchar profileData)
{
    return runSet(f560::SetProfile, {profileData, kLen128}, src128, f560::SetProfile.block);
}

bool Hid_Thread::hid560_0DH_SetKeyMatrix(uchar *src64, uchar indexAddOne)
{
    // The firmware takes a 128-byte block; the second half is always zero.
    uchar block[f560::SetKeyMatrix.block] = {};
    std::memcpy(block, src64, 64);
    return runSet(f560::SetKeyMatrix, {indexAddOne, kLen128}, block, f560::SetKeyMatrix.block);
}

bool Hid_Thread::hid560_0FH_SetMacroKey(uchar macroId, uchar *src128)
{
    return runSet(f560::SetMacroKey, {macroId, kLen128}, src128, f560::SetMacroKey.block);
}

bool Hid_Thread::hid560_81H_GetKeyboardoption(uchar &byte1, uchar &byte2)
{
    return runQuery(f560::GetKeyboardoption, {}, {&byte1, &byte2});
}

bool Hid_Thread::hid560_82H_GetCurrentProfile(uchar &byte1)
{
    return runQuery(f560::GetCurrentProfile, {}, {&byte1});
}

bool Hid_Thread::hid560_84H_GetCurrentDPI(uchar &byte1, uchar &byte2)
{
    return runQuery(f560::GetCurrentDPI, {byte1}, {&byte1, &byte2});
}

bool Hid_Thread::hid560_8CH_readProfile(uchar *src128, uchar profileNo)
{
    if (!takeToken(f560::ReadProfile))
        return false;
    CommandScope command(*this);
    buildRequest(f560::ReadProfile.code, {profileNo});
    // Only a block that came whole replaces the caller's bytes.
    if (!hidGetTransfer(f560::ReadProfile.block))
        return false;
    std::memcpy(src128, bulkBuffer, f560::ReadProfile.block);
    return true;
}
