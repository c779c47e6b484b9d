// The skeleton every firmware command follows; the families fill in the bytes.

#include "device/commands.h"
#include "device/hid_thread.h"
#include "device/scramble.h"

#include <QDebug>

#include <cstring>

void Hid_Thread::buildRequest(uchar code, std::initializer_list<uchar> params)
{
    Q_ASSERT(params.size() <= 6);
    std::memset(outReport, 0, sizeof outReport);
    outReport[report::kIdByte] = 0;
    outReport[report::kCodeByte] = code;
    int i = report::kFirstParamByte;
    for (uchar p : params)
        outReport[i++] = p;
    outReport[report::kChecksumByte] = hidCS(outReport + report::kCodeByte);
}

bool Hid_Thread::beginCommand(const command::Definition &def, std::initializer_list<uchar> params)
{
    if (!waitHidFree()) {
        if (def.failure)
            qDebug() << def.failure;
        return false;
    }
    buildRequest(def.code, params);
    return true;
}

void Hid_Thread::pauseAfter(const command::Definition &def)
{
    if (def.pauseAfter)
        QThread::msleep(8);
}

bool Hid_Thread::runSet(const command::Definition &def, std::initializer_list<uchar> params,
                        const uchar *block, int blockLength)
{
    if (!beginCommand(def, params))
        return false;
    if (block && blockLength > 0)
        std::memcpy(bulkBuffer, block, static_cast<size_t>(blockLength));
    const bool ok = hidSetTransfer(block ? blockLength : 0, def.settle);
    pauseAfter(def);
    return ok;
}

bool Hid_Thread::runQuery(const command::Definition &def, std::initializer_list<uchar> params,
                          std::initializer_list<uchar *> results, int firstReplyByte)
{
    if (!beginCommand(def, params))
        return false;
    // A failed exchange hands the caller's own values back.
    int i = firstReplyByte;
    for (uchar *r : results)
        inReport[i++] = *r;
    const bool ok = hidGetTransfer(0);
    i = firstReplyByte;
    for (uchar *r : results)
        *r = inReport[i++];
    pauseAfter(def);
    return ok;
}

void Hid_Thread::setPerMode(const command::Definition &def, uchar value)
{
    if (!waitHidFree()) {
        qDebug() << def.failure;
        return;
    }
    // The token is taken once; each exchange gives it back when it ends.
    for (uchar mode = command::kFirstMode; mode <= command::kLastMode; ++mode) {
        buildRequest(def.code, {mode, value});
        hidSetTransfer(0, def.settle);
        // Gun-capable mice take the value for the first mode only.
        if (traits && traits->gunCapable())
            break;
    }
}

bool Hid_Thread::hid_87H_GetLEDInstructFunction(uchar type, uchar &option1, uchar &option2,
                                                uchar &option3)
{
    if (!beginCommand(command::GetLEDInstructFunction, {type}))
        return false;
    if (!hidGetTransfer(0))
        return false;
    option1 = inReport[3];
    option2 = inReport[4];
    option3 = inReport[5];
    return true;
}
