// The 553 command family.

#include "device/commands.h"
#include "device/hid_thread.h"

#include <QDebug>

#include <vector>

using namespace command;

namespace
{

QDebug bytesTo(QDebug d, const uchar *p, int n)
{
    for (int i = 0; i < n; ++i)
        d << int(p[i]);
    return d;
}

// The caller's block as it is now: a queued write must not see later changes to it.
std::vector<uchar> copied(const uchar *src, int n)
{
    return std::vector<uchar>(src, src + n);
}

} // namespace

bool Hid_Thread::hid553_01H_SetReportRate(uchar rate)
{
    return queueSet([=] {
        qDebug() << "hid553_01H_SetReportRate =" << int(rate);
        return runSet(f553::SetReportRate, {rate});
    });
}

bool Hid_Thread::hid553_02H_SetCurrentKeyMatrix(uchar currentKeyMatrix)
{
    return queueSet([=] {
        qDebug() << "hid553_02H_SetCurrentKeyMatrix =" << int(currentKeyMatrix);
        return runSet(f553::SetCurrentKeyMatrix, {currentKeyMatrix});
    });
}

bool Hid_Thread::hid553_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    return queueSet([=] {
        qDebug() << "hid553_03H_SetKeyboardoption , byte1-4 =" << int(byte1) << int(byte2)
                 << int(byte3) << int(byte4);
        return runSet(f553::SetKeyboardoption, {byte1, byte2, byte3, byte4});
    });
}

bool Hid_Thread::hid553_04H_SetGunData(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    // The parameters start one byte later than usual.
    return queueSet([=] { return runSet(f553::SetGunData, {0x00, byte1, byte2, byte3, byte4}); });
}

bool Hid_Thread::hid553_07H_Lod(uchar stage, uchar en)
{
    return queueSet([=] { return runSet(f553::Lod, {0x00, stage, kLodConst, en}); });
}

bool Hid_Thread::hid553_0BH_SetCurrentDPI(uchar stage)
{
    return queueSet([=] {
        qDebug() << "hid553_0BH_SetCurrentDPI =" << int(stage);
        return runSet(f553::SetCurrentDPI, {stage});
    });
}

bool Hid_Thread::hid553_0CH_SetFixLEDColor(uchar *src3)
{
    const uchar r = src3[0], g = src3[1], b = src3[2];
    return queueSet([=] { return runSet(f553::SetFixLEDColor, {r, g, b}); });
}

bool Hid_Thread::hid553_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2)
{
    return queueSet([=] {
        qDebug() << "hid553_0DH_SetRGBLedEffect , effect =" << int(effect) << int(option1)
                 << int(option2);
        return runSet(f553::SetRGBLedEffect, {effect, option1, option2});
    });
}

bool Hid_Thread::hid553_10H_SetLED8StageColor(uchar type, uchar *src24)
{
    const int n = type == kPackedColourType ? kPackedColourBytes : kColourBytes;
    const void *where = src24;
    return queueSet([=, bytes = copied(src24, n)] {
        qDebug() << "hid553_10H_SetLED8StageColor , type =" << int(type) << ",src24 =" << where;
        return runSet(f553::SetLED8StageColor, {type, static_cast<uchar>(n)}, bytes.data(), n);
    });
}

bool Hid_Thread::hid553_11H_SetDPISet(uchar dpiStage, uchar *src8)
{
    const int n = f553::SetDPISet.block;
    return queueSet([=, bytes = copied(src8, n)] {
        qDebug() << "hid553_11H_SetDPISet ,dpiStage =" << int(dpiStage);
        bytesTo(qDebug() << "DPI - src8 =", bytes.data(), n);
        return runSet(f553::SetDPISet, {dpiStage, kLen8}, bytes.data(), n);
    });
}

bool Hid_Thread::hid553_12H_SetKeyMatrix(uchar *src64, uchar indexAddOne)
{
    const int n = f553::SetKeyMatrix.block;
    return queueSet([=, bytes = copied(src64, n)] {
        qDebug() << "hid553_12H_SetKeyMatrix , indexAddOne =" << int(indexAddOne);
        return runSet(f553::SetKeyMatrix, {indexAddOne, kLen64, kKeyMatrixConst}, bytes.data(), n);
    });
}

bool Hid_Thread::hid553_13H_SetMacroKey(uchar macroId, uchar *src128)
{
    const int n = f553::SetMacroKey.block;
    const void *where = src128;
    return queueSet([=, bytes = copied(src128, n)] {
        qDebug() << "hid553_13H_SetMacroKey , macroId =" << int(macroId) << ",src128 =" << where;
        return runSet(f553::SetMacroKey, {macroId, kLen128}, bytes.data(), n);
    });
}

bool Hid_Thread::hid553_16H_SetSlaveAttritube(uchar *src64)
{
    const int n = f553::SetSlaveAttritube.block;
    return queueSet([=, bytes = copied(src64, n)] {
        qDebug() << "hid553_16H_SetSlaveAttritube =";
        return runSet(f553::SetSlaveAttritube, {0x00, kLen64}, bytes.data(), n);
    });
}

bool Hid_Thread::hid553_83H_GetKeyboardoption(uchar &byte1, uchar &byte2, uchar &byte3,
                                              uchar &byte4)
{
    return queueQuery([&] {
        return runQuery(f553::GetKeyboardoption, {}, {&byte1, &byte2, &byte3, &byte4});
    });
}

bool Hid_Thread::hid553_8BH_GetCurrentDPI(uchar &byte1)
{
    return queueQuery([&] { return runQuery(f553::GetCurrentDPI, {}, {&byte1}); });
}
