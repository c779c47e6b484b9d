// Every firmware command of both families against the virtual TK700: the request bytes as the
// mouse received them, the data block, and what the mouse holds afterwards.

#include "device/hid_thread.h"
#include "support/bytes.h"
#include "support/test_runtime.h"
#include "support/virtual_mouse.h"

#include <QJsonArray>
#include <QtTest>

#include <atomic>
#include <functional>
#include <memory>

namespace
{

struct Traits : DeviceTraits {
    bool gun = false;
    bool gunCapable() const override { return gun; }
    bool family560() const override { return false; }
};

uchar *u(QByteArray &b)
{
    return reinterpret_cast<uchar *>(b.data());
}

// One command row: how to send it, the requests and data the mouse must have seen, and the state
// it must hold afterwards (key -> value of the simulator's state dump).
struct Row {
    const char *name;
    std::function<void(Hid_Thread &)> send;
    QStringList requests; // plain feature reports, hex
    QByteArray data;      // the data block as it arrived, padding included
    QList<QPair<QString, QJsonValue>> state;
};

QByteArray data64 = pattern(64, 1);
QByteArray data128 = pattern(128, 0x40);
QByteArray colours = pattern(24, 1);
QByteArray stages = QByteArray::fromHex("0102030405060780");

const QList<Row> &rows553()
{
    static const QList<Row> rows = {
        {"01H report rate",
         [](Hid_Thread &h) { h.hid553_01H_SetReportRate(2); },
         {"00 01 02 00 00 00 00 00 fc"},
         {},
         {{"reportRate", 2}}},
        {"02H current key matrix",
         [](Hid_Thread &h) { h.hid553_02H_SetCurrentKeyMatrix(1); },
         {"00 02 01 00 00 00 00 00 fc"},
         {},
         {{"currentKeyMatrix", 1}}},
        {"03H keyboard option",
         [](Hid_Thread &h) { h.hid553_03H_SetKeyboardoption(1, 2, 3, 0x40); },
         {"00 03 01 02 03 40 00 00 b6"},
         {},
         {{"keyboardOptions", "01 02 03 40"}}},
        {"04H gun data",
         [](Hid_Thread &h) { h.hid553_04H_SetGunData(1, 2, 3, 4); },
         {"00 04 00 01 02 03 04 00 f1"},
         {},
         {}},
        {"04H gun data slot 2",
         [](Hid_Thread &h) { h.hid553_04H_SetGunData(5, 6, 0xfb, 1); },
         {"00 04 00 05 06 fb 01 00 f4"},
         {},
         {}},
        {"07H lift-off",
         [](Hid_Thread &h) { h.hid553_07H_Lod(2, 1); },
         {"00 07 00 02 7d 01 00 00 78"},
         {},
         {}},
        {"0BH current DPI",
         [](Hid_Thread &h) { h.hid553_0BH_SetCurrentDPI(3); },
         {"00 0b 03 00 00 00 00 00 f1"},
         {},
         {{"dpiStage", 3}}},
        {"0CH fixed colour",
         [](Hid_Thread &h) {
             uchar c[3] = {10, 20, 30};
             h.hid553_0CH_SetFixLEDColor(c);
         },
         {"00 0c 0a 14 1e 00 00 00 b7"},
         {},
         {{"fixedColour", "0a 14 1e"}}},
        {"0DH effect",
         [](Hid_Thread &h) { h.hid553_0DH_SetRGBLedEffect(8, 255, 15); },
         {"00 0d 08 ff 0f 00 00 00 dc"},
         {},
         {{"effect", "08 ff 0f"}}},
        {"10H stage colours type 2",
         [](Hid_Thread &h) { h.hid553_10H_SetLED8StageColor(2, u(colours)); },
         {"00 10 02 04 00 00 00 00 e9"},
         colours.left(4) + QByteArray(28, 0),
         {{"stageColourType", 2}}},
        {"10H stage colours type 1",
         [](Hid_Thread &h) { h.hid553_10H_SetLED8StageColor(1, u(colours)); },
         {"00 10 01 18 00 00 00 00 d6"},
         colours + QByteArray(8, 0),
         {{"stageColourType", 1}, {"stageColours", hex(colours)}}},
        {"11H DPI table",
         [](Hid_Thread &h) { h.hid553_11H_SetDPISet(8, u(stages)); },
         {"00 11 08 08 00 00 00 00 de"},
         stages + QByteArray(24, 0),
         {{"dpiTable", hex(stages)}, {"dpiCount", 8}}},
        {"12H key matrix 3",
         [](Hid_Thread &h) { h.hid553_12H_SetKeyMatrix(u(data64), 3); },
         {"00 12 03 40 08 00 00 00 a2"},
         data64,
         {}},
        {"13H macro 5",
         [](Hid_Thread &h) { h.hid553_13H_SetMacroKey(5, u(data128)); },
         {"00 13 05 80 00 00 00 00 67"},
         data128,
         {}},
        {"16H slave attributes",
         [](Hid_Thread &h) { h.hid553_16H_SetSlaveAttritube(u(data64)); },
         {"00 16 00 40 00 00 00 00 a9"},
         data64,
         {{"slaveAttributes", hex(data64)}}},
    };
    return rows;
}

const QList<Row> &rows560()
{
    static const QList<Row> rows = {
        {"01H keyboard option",
         [](Hid_Thread &h) { h.hid560_01H_SetKeyboardoption(8, 1); },
         {"00 01 08 01 00 00 00 00 f5"},
         {},
         {{"keyboardOptions", "08 01"}}},
        {"02H current profile",
         [](Hid_Thread &h) { h.hid560_02H_SetCurrentProfile(3); },
         {"00 02 03 00 00 00 00 00 fa"},
         {},
         {{"currentProfile", 3}}},
        {"03H report rate, every mode",
         [](Hid_Thread &h) { h.hid560_03H_SetReportRate(2); },
         {"00 03 01 02 00 00 00 00 f9", "00 03 02 02 00 00 00 00 f8", "00 03 03 02 00 00 00 00 f7",
          "00 03 04 02 00 00 00 00 f6"},
         {},
         {{"reportRates", QJsonArray{2, 2, 2, 2}}}},
        {"04H current DPI, every mode",
         [](Hid_Thread &h) { h.hid560_04H_SetCurrentDPI(3); },
         {"00 04 01 03 00 00 00 00 f7", "00 04 02 03 00 00 00 00 f6", "00 04 03 03 00 00 00 00 f5",
          "00 04 04 03 00 00 00 00 f4"},
         {},
         {{"dpiStages", QJsonArray{3, 3, 3, 3}}}},
        {"09H lift-off off",
         [](Hid_Thread &h) { h.hid560_09H_Lod(3, 0); },
         {"00 09 00 7d 00 00 00 00 79"},
         {},
         {}},
        {"09H lift-off on",
         [](Hid_Thread &h) { h.hid560_09H_Lod(3, 1); },
         {"00 09 03 7d 00 00 00 00 76"},
         {},
         {}},
        {"0CH profile block 2",
         [](Hid_Thread &h) { h.hid560_0CH_setProfile(u(data128), 2); },
         {"00 0c 02 80 00 00 00 00 71"},
         data128,
         {}},
        {"0DH key matrix 2, second half zero",
         [](Hid_Thread &h) {
             // What lies after the caller's 64 bytes must not reach the mouse.
             QByteArray b = data64 + QByteArray(64, char(0xEE));
             h.hid560_0DH_SetKeyMatrix(u(b), 2);
         },
         {"00 0d 02 80 00 00 00 00 70"},
         data64 + QByteArray(64, 0),
         {}},
        {"0FH macro 12",
         [](Hid_Thread &h) { h.hid560_0FH_SetMacroKey(12, u(data128)); },
         {"00 0f 0c 80 00 00 00 00 64"},
         data128,
         {}},
    };
    return rows;
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<Hid_Thread> link;
    Traits traits;

    bool startMouse(const QString &family)
    {
        link.reset();
        mouse = std::make_unique<VirtualMouse>(VirtualMouse::Options{family, false, QString()});
        if (!mouse->start())
            return false;
        link = std::make_unique<Hid_Thread>();
        link->traits = &traits;
        const int index = link->scanDevices();
        link->selectDevice(index);
        return index == 1;
    }

    void runRows(const QList<Row> &rows)
    {
        for (const Row &row : rows) {
            mouse->clearLog();
            row.send(*link);
            const QStringList requests = mouse->requests();
            const QByteArray data = mouse->outputData();
            QVERIFY2(requests == row.requests,
                     qPrintable(QString("%1: sent %2").arg(row.name, requests.join(" | "))));
            QVERIFY2(hex(data) == hex(row.data),
                     qPrintable(QString("%1: data %2").arg(row.name, hex(data))));
            QVERIFY2(link->hidFree, row.name);
            const QJsonObject state = mouse->state();
            for (const auto &[key, value] : row.state)
                QVERIFY2(state[key] == value,
                         qPrintable(QString("%1: %2 is %3")
                                        .arg(row.name, key,
                                             QString::fromUtf8(
                                                 QJsonDocument(QJsonObject{{key, state[key]}})
                                                     .toJson(QJsonDocument::Compact)))));
        }
    }

private slots:
    void init()
    {
        runtime = std::make_unique<TestRuntime>();
        QVERIFY(runtime->isValid());
        traits.gun = false;
    }
    void cleanup()
    {
        link.reset();
        mouse.reset();
        runtime.reset();
    }

    void family553()
    {
        QVERIFY(startMouse("553"));
        runRows(rows553());
        const QJsonObject state = mouse->state();
        QCOMPARE(state["keyMatrices"].toArray()[2].toString(), hex(data64));
        QCOMPARE(state["macros"].toArray()[4].toString(), hex(data128));
        QCOMPARE(state["gun"].toArray()[1].toObject()["y"].toInt(), 0xfb);
        QCOMPARE(state["liftOff"].toObject()["stage"].toInt(), 2);
        QCOMPARE(state["liftOff"].toObject()["enabled"].toBool(), true);
    }

    void family560()
    {
        QVERIFY(startMouse("560"));
        runRows(rows560());
        const QJsonObject state = mouse->state();
        QCOMPARE(state["profiles"].toArray()[2].toString(), hex(data128));
        QCOMPARE(state["keyMatrices"].toArray()[1].toString(), hex(data64 + QByteArray(64, 0)));
        QCOMPARE(state["macros"].toArray()[11].toString(), hex(data128));
    }

    void perModeStopsAfterFirstModeOnGunMice()
    {
        QVERIFY(startMouse("560"));
        traits.gun = true;
        mouse->clearLog();
        link->hid560_03H_SetReportRate(2);
        link->hid560_04H_SetCurrentDPI(5);
        QCOMPARE(mouse->requests(),
                 QStringList({"00 03 01 02 00 00 00 00 f9", "00 04 01 05 00 00 00 00 f5"}));
        QCOMPARE(mouse->state()["dpiStages"].toArray()[0].toInt(), 5);
    }

    void queries553AnswerFromTheMouse()
    {
        QVERIFY(startMouse("553"));
        link->hid553_03H_SetKeyboardoption(0x11, 0x22, 0x33, 0x44);
        link->hid553_0BH_SetCurrentDPI(4);
        uchar b1 = 0, b2 = 0, b3 = 0, b4 = 0;
        link->hid553_83H_GetKeyboardoption(b1, b2, b3, b4);
        QCOMPARE(QList<int>({b1, b2, b3, b4}), QList<int>({0x11, 0x22, 0x33, 0x44}));
        uchar stage = 0;
        link->hid553_8BH_GetCurrentDPI(stage);
        QCOMPARE(int(stage), 4);
        // The DPI button changes the stage the mouse reports.
        QVERIFY(mouse->pressDpi(6));
        link->hid553_8BH_GetCurrentDPI(stage);
        QCOMPARE(int(stage), 6);
        uchar o1 = 9, o2 = 9, o3 = 9;
        QVERIFY(link->hid_87H_GetLEDInstructFunction(0, o1, o2, o3));
        const char options[3] = {char(o1), char(o2), char(o3)};
        QCOMPARE(hex(QByteArray(options, 3)), mouse->state()["logoLed"].toString());
    }

    void queries560AnswerFromTheMouse()
    {
        QVERIFY(startMouse("560"));
        link->hid560_01H_SetKeyboardoption(0x08, 0x02);
        link->hid560_02H_SetCurrentProfile(2);
        link->hid560_04H_SetCurrentDPI(7);
        uchar b1 = 0, b2 = 0;
        link->hid560_81H_GetKeyboardoption(b1, b2);
        QCOMPARE(QList<int>({b1, b2}), QList<int>({0x08, 0x02}));
        uchar profile = 0;
        link->hid560_82H_GetCurrentProfile(profile);
        QCOMPARE(int(profile), 2);
        uchar mode = 1, stage = 0;
        link->hid560_84H_GetCurrentDPI(mode, stage);
        QCOMPARE(int(mode), 1);
        QCOMPARE(int(stage), 7);

        QByteArray block = pattern(128, 7);
        link->hid560_0CH_setProfile(u(block), 4);
        QByteArray read(128, 0);
        mouse->clearLog();
        link->hid560_8CH_readProfile(u(read), 4);
        QCOMPARE(hex(read), hex(block));
        int inputs = 0;
        for (const QJsonValue &v : mouse->log())
            inputs += v.toObject()["kind"] == "in";
        QCOMPARE(inputs, 4);
    }

    void blockReadKeepsCallerBytesOfMissingChunks()
    {
        QVERIFY(startMouse("560"));
        QVERIFY(mouse->fault("silent-read"));
        QByteArray read(128, char(0x5A));
        link->hid560_8CH_readProfile(u(read), 1);
        QCOMPARE(read, QByteArray(128, char(0x5A)));
        QVERIFY(link->hidFree);
    }

    // A reply counts only with the command's echo and a checksum that fits, after unscrambling
    // where the mouse scrambles: otherwise the query fails and hands the caller's values back.
    void repliesThatDoNotCheckOut_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("encode");
        QTest::addColumn<QString>("fault");
        QTest::newRow("553 wrong echo") << "553" << false << "wrong-echo";
        QTest::newRow("553 wrong checksum") << "553" << false << "wrong-checksum";
        QTest::newRow("553 scrambled, wrong echo") << "553" << true << "wrong-echo";
        QTest::newRow("553 scrambled, other code") << "553" << true << "wrong-scode";
        QTest::newRow("560 wrong echo") << "560" << false << "wrong-echo";
        QTest::newRow("560 scrambled, wrong checksum") << "560" << true << "wrong-checksum";
    }
    void repliesThatDoNotCheckOut()
    {
        QFETCH(QString, family);
        QFETCH(bool, encode);
        QFETCH(QString, fault);
        if (encode)
            QVERIFY(runtime->write(
                "modules/setting/apConfig.bin",
                "[common]\ndeviceCount=2\n[1]\nvid=04d9\npid=a09f\nusagePage=ff00\nusage=ff00\n"
                "usagePage2=ff01\nusage2=ff01\nisEncode=true\nsCode=123456\n"));
        mouse = std::make_unique<VirtualMouse>(VirtualMouse::Options{family, encode, "123456"});
        QVERIFY(mouse->start());
        link = std::make_unique<Hid_Thread>();
        link->traits = &traits;
        link->selectDevice(link->scanDevices());
        uchar o1 = 7, o2 = 8, o3 = 9;
        QVERIFY(link->hid_87H_GetLEDInstructFunction(0, o1, o2, o3)); // the healthy mouse answers
        QVERIFY(mouse->fault(fault));

        o1 = 7, o2 = 8, o3 = 9;
        QVERIFY(!link->hid_87H_GetLEDInstructFunction(0, o1, o2, o3));
        QCOMPARE(QList<int>({o1, o2, o3}), QList<int>({7, 8, 9}));
        uchar b1 = 1, b2 = 2, b3 = 3, b4 = 4;
        if (family == "553") {
            QVERIFY(!link->hid553_83H_GetKeyboardoption(b1, b2, b3, b4));
            QVERIFY(!link->hid553_8BH_GetCurrentDPI(b1));
        } else {
            QVERIFY(!link->hid560_81H_GetKeyboardoption(b1, b2));
            QVERIFY(!link->hid560_82H_GetCurrentProfile(b3));
            QVERIFY(!link->hid560_84H_GetCurrentDPI(b4, b1));
            // The block read's reply travels plain; it must check out all the same.
            QByteArray block(128, char(0x33));
            if (!encode) {
                QVERIFY(!link->hid560_8CH_readProfile(u(block), 1));
                QCOMPARE(block, QByteArray(128, char(0x33)));
            }
        }
        QCOMPARE(QList<int>({b1, b2, b3, b4}), QList<int>({1, 2, 3, 4}));
        QVERIFY(link->hidFree);
        // Sets read no reply, so a bad reply does not stop them.
        QTest::ignoreMessage(QtDebugMsg, "HID SUCCESS");
        QVERIFY(link->hid553_16H_SetSlaveAttritube(u(data64)));
    }

    // A block read reports its result; a torn block leaves the caller's bytes as they were.
    void blockReadComesWholeOrNotAtAll()
    {
        QVERIFY(startMouse("560"));
        QVERIFY(mouse->fault("torn-read", 2));
        QByteArray read(128, char(0x5A));
        QVERIFY(!link->hid560_8CH_readProfile(u(read), 1));
        QCOMPARE(read, QByteArray(128, char(0x5A)));
        // The fault tears one block; the next read comes whole.
        QVERIFY(link->hid560_8CH_readProfile(u(read), 1));
        QCOMPARE(read, VirtualMouse::bytesOf(mouse->state()["profiles"].toArray()[1]));
    }

    // Block writes say whether the whole block arrived: a mouse pulled out, or pulled out and
    // plugged in again at once (which a new handle per step never noticed), is a failure, and the
    // mouse keeps what it had.
    void blockWritesTellTheTruth_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("count");
        QTest::newRow("553 replug after the request") << "553"
                                                      << "replug-after" << 1;
        QTest::newRow("553 replug after two chunks") << "553"
                                                     << "replug-after" << 3;
        QTest::newRow("560 replug after the request") << "560"
                                                      << "replug-after" << 1;
        QTest::newRow("560 unplugged") << "560"
                                       << "unplug" << 0;
    }
    void blockWritesTellTheTruth()
    {
        QFETCH(QString, family);
        QFETCH(QString, fault);
        QFETCH(int, count);
        QVERIFY(startMouse(family));
        const QJsonObject before = mouse->state();
        if (fault == "unplug")
            QVERIFY(mouse->unplug());
        else
            QVERIFY(mouse->fault(fault, count));
        if (fault != "unplug")
            QTest::ignoreMessage(QtDebugMsg, "HID FAIL");
        const bool ok = family == "553" ? link->hid553_13H_SetMacroKey(5, u(data128))
                                        : link->hid560_0CH_setProfile(u(data128), 2);
        QVERIFY(!ok);
        QVERIFY(link->hidFree);
        QVERIFY(mouse->plug());
        QCOMPARE(mouse->state()["macros"], before["macros"]);
        QCOMPARE(mouse->state()["profiles"], before["profiles"]);
        // After a scan the mouse takes the block again, and the command says so.
        link->selectDevice(link->scanDevices());
        QVERIFY(family == "553" ? link->hid553_13H_SetMacroKey(5, u(data128))
                                : link->hid560_0CH_setProfile(u(data128), 2));
    }

    // The 560 per-mode repetition holds the token from the first mode to the last: a command
    // asked for meanwhile, from another thread, waits for it instead of replacing a mode's request
    // with its own; both go through.
    void perModeRepetitionHoldsTheToken()
    {
        QVERIFY(startMouse("560"));
        mouse->clearLog();
        std::atomic<bool> started{false};
        bool other = false;
        std::unique_ptr<QThread> thread(QThread::create([&] {
            started = true;
            other = link->hid560_02H_SetCurrentProfile(3);
        }));
        thread->start();
        QTRY_VERIFY(started);
        QVERIFY(link->hid560_04H_SetCurrentDPI(5));
        QVERIFY(thread->wait(10000));
        QVERIFY(other);
        const QStringList modes = {"00 04 01 05 00 00 00 00 f5", "00 04 02 05 00 00 00 00 f4",
                                   "00 04 03 05 00 00 00 00 f3", "00 04 04 05 00 00 00 00 f2"};
        const QString profile = "00 02 03 00 00 00 00 00 fa";
        const QStringList requests = mouse->requests();
        QVERIFY2(requests == modes + QStringList{profile} ||
                     requests == QStringList{profile} + modes,
                 qPrintable(requests.join(" | ")));
        QCOMPARE(mouse->state()["dpiStages"].toArray(), QJsonArray({5, 5, 5, 5}));
        QVERIFY(link->hidFree);
    }

    // Every command row asked for in one batch: the calls return at once, and the mouse receives
    // the same bytes in the same order as when each waits for its answer. The batch's result
    // arrives when the queue has drained.
    void batchKeepsOrderAndBytes_data()
    {
        QTest::addColumn<QString>("family");
        QTest::newRow("553") << "553";
        QTest::newRow("560") << "560";
    }
    void batchKeepsOrderAndBytes()
    {
        QFETCH(QString, family);
        QVERIFY(startMouse(family));
        const QList<Row> &rows = family == "553" ? rows553() : rows560();
        // A profile block is held back to the end of the batch (see below).
        QStringList expected, heldRequests;
        QByteArray expectedData, heldData;
        for (const Row &row : rows) {
            const bool held = QString(row.name).startsWith("0CH profile");
            (held ? heldRequests : expected) += row.requests;
            (held ? heldData : expectedData) += row.data;
        }
        expected += heldRequests;
        expectedData += heldData;
        mouse->clearLog();
        QSignalSpy progress(link.get(), &Hid_Thread::batchProgress);
        QSignalSpy finished(link.get(), &Hid_Thread::batchFinished);
        link->beginBatch();
        for (const Row &row : rows)
            row.send(*link);
        link->endBatch();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 60000);
        QCOMPARE(finished.first().first().toBool(), true);
        QCOMPARE(progress.last().at(0), progress.last().at(1));
        QCOMPARE(progress.size(), progress.last().at(1).toInt());
        const QStringList sent = mouse->requests();
        const QByteArray data = mouse->outputData();
        QCOMPARE(sent, expected);
        QCOMPARE(hex(data), hex(expectedData));
        QVERIFY(link->hidFree);
    }

    // A query waits for the writes queued before it, and answers from the mouse they changed.
    void queryWaitsForTheWritesBeforeIt()
    {
        QVERIFY(startMouse("553"));
        link->beginBatch();
        QVERIFY(link->hid553_0BH_SetCurrentDPI(6));
        QVERIFY(link->hid553_03H_SetKeyboardoption(0x11, 0x22, 0x33, 0x44));
        uchar stage = 0;
        QVERIFY(link->hid553_8BH_GetCurrentDPI(stage));
        QCOMPARE(int(stage), 6);
        uchar b1 = 0, b2 = 0, b3 = 0, b4 = 0;
        QVERIFY(link->hid553_83H_GetKeyboardoption(b1, b2, b3, b4));
        QCOMPARE(QList<int>({b1, b2, b3, b4}), QList<int>({0x11, 0x22, 0x33, 0x44}));
        QSignalSpy finished(link.get(), &Hid_Thread::batchFinished);
        link->endBatch();
        QCOMPARE(finished.size(), 1); // everything had run: told at once
        QVERIFY(finished.first().first().toBool());
    }

    // A write of a batch that does not reach the mouse makes the whole batch fail; the writes
    // after it are still tried.
    void batchTellsAFailedWrite()
    {
        QVERIFY(startMouse("553"));
        QVERIFY(mouse->fault("silent-write"));
        QTest::ignoreMessage(QtDebugMsg, "HID FAIL");
        QSignalSpy finished(link.get(), &Hid_Thread::batchFinished);
        QSignalSpy progress(link.get(), &Hid_Thread::batchProgress);
        link->beginBatch();
        QVERIFY(link->hid553_12H_SetKeyMatrix(u(data64), 1));
        QVERIFY(link->hid553_01H_SetReportRate(2));
        link->endBatch();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(progress.size(), 2);
        QCOMPARE(progress.last(), QVariantList({2, 2}));
    }

    // Within a batch a profile block is sent once, with the bytes of its last write, after the
    // other writes; a block read in between first sends what is held back.
    void batchSendsEachProfileBlockOnce()
    {
        QVERIFY(startMouse("560"));
        mouse->clearLog();
        QByteArray first = pattern(128, 1), last = pattern(128, 9), other = pattern(128, 4);
        link->beginBatch();
        QVERIFY(link->hid560_0CH_setProfile(u(first), 1));
        QVERIFY(link->hid560_0CH_setProfile(u(other), 3));
        QVERIFY(link->hid560_04H_SetCurrentDPI(2));
        QVERIFY(link->hid560_0CH_setProfile(u(last), 1));
        QSignalSpy finished(link.get(), &Hid_Thread::batchFinished);
        link->endBatch();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
        QVERIFY(finished.first().first().toBool());
        const QStringList sent = mouse->requests();
        QCOMPARE(sent.size(), 6);
        QCOMPARE(sent.mid(4),
                 QStringList({"00 0c 01 80 00 00 00 00 72", "00 0c 03 80 00 00 00 00 70"}));
        QCOMPARE(mouse->state()["profiles"].toArray()[1].toString(), hex(last));
        QCOMPARE(mouse->state()["profiles"].toArray()[3].toString(), hex(other));

        link->beginBatch();
        QVERIFY(link->hid560_0CH_setProfile(u(first), 2));
        QByteArray read(128, 0);
        QVERIFY(link->hid560_8CH_readProfile(u(read), 2));
        QCOMPARE(hex(read), hex(first));
        link->endBatch();
    }

    // A command that cannot take the token writes its failure line, sends nothing and leaves
    // query results at the caller's values.
    void stuckTokenFailureLines()
    {
        QVERIFY(startMouse("553"));
        mouse->clearLog();
        link->hidFree = false;
        QTest::ignoreMessage(QtDebugMsg, "cmd Failed 83");
        uchar b1 = 1, b2 = 2, b3 = 3, b4 = 4;
        link->hid553_83H_GetKeyboardoption(b1, b2, b3, b4);
        QCOMPARE(QList<int>({b1, b2, b3, b4}), QList<int>({1, 2, 3, 4}));

        QTest::ignoreMessage(QtDebugMsg, "cmd Failed 8BH");
        uchar stage = 42;
        link->hid553_8BH_GetCurrentDPI(stage);
        QCOMPARE(int(stage), 42);

        QTest::ignoreMessage(QtDebugMsg, "cmd Failed");
        uchar o1 = 7, o2 = 8, o3 = 9;
        QVERIFY(!link->hid_87H_GetLEDInstructFunction(0, o1, o2, o3));
        QCOMPARE(QList<int>({o1, o2, o3}), QList<int>({7, 8, 9}));

        QTest::ignoreMessage(QtDebugMsg, "cmd Failed 8c");
        QByteArray block(128, char(0x33));
        link->hid560_8CH_readProfile(u(block), 0);
        QCOMPARE(block, QByteArray(128, char(0x33)));

        QTest::ignoreMessage(QtDebugMsg, "hid560_09H_Lod");
        link->hid560_09H_Lod(1, 1);

        for (const QJsonValue &v : mouse->log())
            QVERIFY(v.toObject()["kind"] != "feature-out");
    }

    void debugLinesReadAsWritten()
    {
        QVERIFY(startMouse("553"));
        QTest::ignoreMessage(QtDebugMsg, "hid553_01H_SetReportRate = 2");
        link->hid553_01H_SetReportRate(2);
        QTest::ignoreMessage(QtDebugMsg, "hid553_03H_SetKeyboardoption , byte1-4 = 1 2 3 4");
        link->hid553_03H_SetKeyboardoption(1, 2, 3, 4);
        QTest::ignoreMessage(QtDebugMsg, "hid553_11H_SetDPISet ,dpiStage = 8");
        QTest::ignoreMessage(QtDebugMsg, "DPI - src8 = 1 2 3 4 5 6 7 128");
        QTest::ignoreMessage(QtDebugMsg, "HID SUCCESS");
        link->hid553_11H_SetDPISet(8, u(stages));
        QTest::ignoreMessage(QtDebugMsg, "hid553_16H_SetSlaveAttritube =");
        QTest::ignoreMessage(QtDebugMsg, "HID SUCCESS");
        link->hid553_16H_SetSlaveAttritube(u(data64));
    }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
