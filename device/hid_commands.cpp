// The skeleton every firmware command follows; the families fill in the bytes.

#include "device/commands.h"
#include "device/hid_thread.h"
#include "device/report.h"

#include <QDebug>

#include <cstring>

void Hid_Thread::buildRequest(uchar code, std::initializer_list<uchar> params)
{
    Q_ASSERT(params.size() <= report::kParams);
    std::memset(outReport, 0, sizeof outReport);
    outReport[report::kIdByte] = 0;
    outReport[report::kCodeByte] = code;
    int i = report::kFirstParamByte;
    for (uchar p : params)
        outReport[i++] = p;
    outReport[report::kChecksumByte] = hidCS(outReport + report::kCodeByte);
}

bool Hid_Thread::takeToken(const command::Definition &def)
{
    if (waitHidFree())
        return true;
    if (def.failure)
        qDebug() << def.failure;
    return false;
}

void Hid_Thread::pauseAfter(const command::Definition &def)
{
    if (def.pauseAfter)
        QThread::msleep(command::kPauseAfterMs);
}

bool Hid_Thread::runSet(const command::Definition &def, std::initializer_list<uchar> params,
                        const uchar *block, int blockLength)
{
    if (!takeToken(def))
        return false;
    buildRequest(def.code, params);
    if (block && blockLength > 0)
        std::memcpy(bulkBuffer, block, static_cast<size_t>(blockLength));
    const bool ok = hidSetTransfer(block ? blockLength : 0, def.settle);
    pauseAfter(def);
    return ok;
}

bool Hid_Thread::runQuery(const command::Definition &def, std::initializer_list<uchar> params,
                          std::initializer_list<uchar *> results, int firstReplyByte)
{
    if (!takeToken(def))
        return false;
    buildRequest(def.code, params);
    const bool ok = hidGetTransfer(0);
    // A query that fails or does not check out hands the caller's own values back. The buffers
    // are the link thread's: nothing else runs between the exchange and here.
    if (ok) {
        int i = firstReplyByte;
        for (uchar *r : results)
            *r = inReport[i++];
    }
    pauseAfter(def);
    return ok;
}

bool Hid_Thread::setPerMode(const command::Definition &def, uchar value)
{
    // Taken once; each exchange gives it back. Nothing can come in between the repetitions: the
    // queue runs the next command only when this one has returned.
    if (!takeToken(def))
        return false;
    bool ok = true;
    for (uchar mode = command::kFirstMode; mode <= command::kLastMode; ++mode) {
        buildRequest(def.code, {mode, value});
        ok = hidSetTransfer(0, def.settle) && ok;
        // Gun-capable mice take the value for the first mode only.
        if (traits && traits->gunCapable())
            break;
    }
    return ok;
}

bool Hid_Thread::hid_87H_GetLEDInstructFunction(uchar type, uchar &option1, uchar &option2,
                                                uchar &option3)
{
    return queueQuery([&] {
        return runQuery(command::GetLEDInstructFunction, {type}, {&option1, &option2, &option3},
                        command::kLedOptionsReplyByte);
    });
}
