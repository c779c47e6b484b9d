// The report transport against the virtual TK700: chunking, waits, scrambling, and the transfer
// token coming back on every failure.

#include "device/hid_thread.h"
#include "device/scramble.h"
#include "support/bytes.h"
#include "support/test_runtime.h"
#include "support/virtual_mouse.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QtTest>

#include <cstring>
#include <memory>
#include <thread>

namespace
{

QList<QJsonObject> entries(const QJsonArray &log, const QString &kind)
{
    QList<QJsonObject> out;
    for (const QJsonValue &v : log)
        if (v.toObject()["kind"] == kind)
            out << v.toObject();
    return out;
}

} // namespace

class TestTransport : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<Hid_Thread> link;

    bool connectTo(const VirtualMouse::Options &options = VirtualMouse::Options())
    {
        mouse = std::make_unique<VirtualMouse>(options);
        if (!mouse->start())
            return false;
        link = std::make_unique<Hid_Thread>();
        const int index = link->scanDevices();
        link->selectDevice(index);
        mouse->clearLog();
        return index >= 0;
    }

    // Builds a request as the command layer does.
    void request(std::initializer_list<uchar> codeAndParams)
    {
        std::memset(link->outReport, 0, 9);
        int i = 1;
        for (uchar b : codeAndParams)
            link->outReport[i++] = b;
        link->outReport[8] = link->hidCS(link->outReport + 1);
    }

    void useTable(const QByteArray &deviceGroups, int count)
    {
        QByteArray ini = "[common]\ndeviceCount=" + QByteArray::number(count) + "\n" + deviceGroups;
        QVERIFY(runtime->write("modules/setting/apConfig.bin", ini));
    }

private slots:
    void init()
    {
        runtime = std::make_unique<TestRuntime>();
        QVERIFY(runtime->isValid());
    }
    void cleanup()
    {
        link.reset();
        mouse.reset();
        runtime.reset();
    }

    void scanPicksFirstEntryWithCommandInterface()
    {
        // Entry 0 names only the event interface of the mouse as its command interface; entry 1
        // has the same ids but an interface that is not there; entry 2 is the mouse.
        useTable(
            "[0]\nvid=04d9\npid=a09f\nusagePage=ff02\nusage=ff02\nusagePage2=ff01\nusage2=ff01\n"
            "[1]\nvid=04D9\npid=A09F\nusagePage=ff03\nusage=ff03\n"
            "[2]\nvid=04d9\npid=a09f\nusagePage=ff00\nusage=ff00\nusagePage2=ff01\nusage2=ff01\n",
            3);
        QVERIFY(connectTo());
        QCOMPARE(link->devices.size(), size_t(3));
        QVERIFY(link->devices[0]->cmdPath.isEmpty());
        QVERIFY(!link->devices[0]->eventPath.isEmpty());
        QVERIFY(link->devices[1]->cmdPath.isEmpty());
        QCOMPARE(link->scanDevices(), 2);
        QVERIFY(!link->devices[2]->eventPath.isEmpty());
        QVERIFY(link->devices[2]->cmdPath != link->devices[2]->eventPath);
    }

    void scanFindsNothingWhenUnplugged()
    {
        QVERIFY(connectTo());
        QVERIFY(mouse->unplug());
        QCOMPARE(link->scanDevices(), -1);
        QVERIFY(mouse->plug());
        QCOMPARE(link->scanDevices(), 1);
    }

    // hidapi reads an id of 0 as "any": an entry with one id unset must find nothing.
    void idOfZeroMatchesNothing()
    {
        useTable("[0]\nvid=0\npid=a09f\nusagePage=ff00\nusage=ff00\nusagePage2=ff01\nusage2=ff01\n"
                 "[1]\nvid=04d9\npid=0\nusagePage=ff00\nusage=ff00\nusagePage2=ff01\nusage2=ff01\n",
                 2);
        mouse = std::make_unique<VirtualMouse>();
        QVERIFY(mouse->start());
        link = std::make_unique<Hid_Thread>();
        QCOMPARE(link->scanDevices(), -1);
        for (const auto &entry : link->devices) {
            QVERIFY(entry->cmdPath.isEmpty());
            QVERIFY(entry->eventPath.isEmpty());
        }
    }

    void plainRequestSentAsBuilt()
    {
        QVERIFY(connectTo());
        QVERIFY(link->waitHidFree());
        request({0x01, 0x02});
        QVERIFY(link->hidSetTransfer(0, false));
        const QList<QJsonObject> sent = entries(mouse->log(), "feature-out");
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent[0]["bytes"].toString(), QStringLiteral("00 01 02 00 00 00 00 00 fc"));
        QCOMPARE(sent[0]["valid"].toBool(), true);
        QVERIFY(link->hidFree);
        QVERIFY(!link->cmdHandle);
    }

    void setExchangeChunks_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("reports");
        QTest::newRow("64 bytes") << 64 << 2;
        QTest::newRow("8 bytes") << 8 << 1;
        QTest::newRow("128 bytes") << 128 << 4;
    }
    void setExchangeChunks()
    {
        QFETCH(int, n);
        QFETCH(int, reports);
        QVERIFY(connectTo());
        const QByteArray block = pattern(n, 1, 3);
        std::memset(link->bulkBuffer, 0xEE, sizeof link->bulkBuffer);
        std::memcpy(link->bulkBuffer, block.constData(), size_t(n));
        QVERIFY(link->waitHidFree());
        // A block write of the key-matrix kind; the mouse takes whatever length it announces.
        request({0x12, 0x01, uchar(n), 0x08});
        QTest::ignoreMessage(QtDebugMsg, "HID SUCCESS");
        QVERIFY(link->hidSetTransfer(n, true));
        QVERIFY(link->hidFree);

        const QJsonArray log = mouse->log();
        const QList<QJsonObject> out = entries(log, "out");
        QCOMPARE(out.size(), reports);
        QByteArray data;
        for (const QJsonObject &e : out) {
            const QByteArray report = VirtualMouse::bytesOf(e["bytes"]);
            QCOMPARE(report.size(), 33);
            QCOMPARE(report[0], char(0));
            data += report.mid(1);
        }
        // Short blocks are zero-padded, never filled from what lies behind them.
        QCOMPARE(hex(data), hex(block + QByteArray(reports * 32 - n, 0)));
    }

    // The designed spacing: 128 ms settle after the request, 120 ms after each chunk, 128 ms
    // settle before the close. Generous bounds: this checks the waits exist, not their speed.
    void waitsBetweenReports()
    {
        QVERIFY(connectTo());
        std::memset(link->bulkBuffer, 1, 64);
        QVERIFY(link->waitHidFree());
        request({0x12, 0x01, 0x40, 0x08});
        QVERIFY(link->hidSetTransfer(64, true));
        double featureAt = -1, lastOutAt = -1, closeAfter = -1;
        QList<double> outs;
        // The virtual mouse notes the close as it sees it, which may be a moment after the
        // transfer has returned.
        const auto read = [&] {
            featureAt = lastOutAt = closeAfter = -1;
            outs.clear();
            for (const QJsonValue &v : mouse->log()) {
                const QJsonObject e = v.toObject();
                const double t = e["t"].toDouble();
                if (e["kind"] == "feature-out")
                    featureAt = t;
                else if (e["kind"] == "out") {
                    outs << t;
                    lastOutAt = t;
                } else if (e["kind"] == "close" && lastOutAt >= 0)
                    closeAfter = t;
            }
            return closeAfter >= 0;
        };
        QTRY_VERIFY_WITH_TIMEOUT(read(), 5000);
        QCOMPARE(outs.size(), 2);
        QVERIFY2(outs[0] - featureAt >= 120, qPrintable(QString::number(outs[0] - featureAt)));
        QVERIFY2(outs[1] - outs[0] >= 110, qPrintable(QString::number(outs[1] - outs[0])));
        QVERIFY2(closeAfter - lastOutAt >= 230,
                 qPrintable(QString::number(closeAfter - lastOutAt)));
        QVERIFY(outs[1] - featureAt < 3000);
    }

    void queryReadsWholeChunks()
    {
        QVERIFY(connectTo(VirtualMouse::Options{"560", false, QString()}));
        // Put a block on the mouse, then read it back in four input reports.
        const QByteArray block = pattern(128, 5, 3);
        std::memcpy(link->bulkBuffer, block.constData(), 128);
        QVERIFY(link->waitHidFree());
        request({0x0C, 0x03, 0x80});
        QVERIFY(link->hidSetTransfer(128, true));

        mouse->clearLog();
        std::memset(link->bulkBuffer, 0, sizeof link->bulkBuffer);
        QVERIFY(link->waitHidFree());
        request({0x8C, 0x03});
        QVERIFY(link->hidGetTransfer(128));
        QCOMPARE(hex(QByteArray(reinterpret_cast<char *>(link->bulkBuffer), 128)), hex(block));
        const QList<QJsonObject> in = entries(mouse->log(), "in");
        QCOMPARE(in.size(), 4);
        for (const QJsonObject &e : in)
            QCOMPARE(VirtualMouse::bytesOf(e["bytes"]).size(), 32);
        QVERIFY(link->hidFree);
    }

    void queryWithoutDataReturnsReply()
    {
        QVERIFY(connectTo());
        QVERIFY(link->waitHidFree());
        request({0x8B});
        QVERIFY(link->hidGetTransfer(0));
        QCOMPARE(int(link->inReport[0]), 0);
        QCOMPARE(int(link->inReport[2]), mouse->state()["dpiStage"].toInt());
    }

    void scrambledRequestsReachTheMouseDecoded()
    {
        useTable(
            "[0]\nvid=04d9\npid=a09f\nusagePage=ff00\nusage=ff00\nusagePage2=ff01\nusage2=ff01\n"
            "isEncode=true\nsCode=123456\n",
            1);
        QVERIFY(connectTo(VirtualMouse::Options{"553", true, "123456"}));
        QCOMPARE(int(secrecyCode[1]), int('1'));
        QCOMPARE(int(secrecyCode[6]), int('6'));

        QVERIFY(link->waitHidFree());
        request({0x01, 0x03});
        QByteArray expected(reinterpret_cast<char *>(link->outReport), 9);
        QVERIFY(link->hidSetTransfer(0, false));
        const QList<QJsonObject> sent = entries(mouse->log(), "feature-out");
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent[0]["plain"].toString(), hex(expected));
        QVERIFY(sent[0]["bytes"].toString() != hex(expected));
        QCOMPARE(sent[0]["valid"].toBool(), true);
        QCOMPARE(mouse->state()["reportRate"].toInt(), 3);

        // Replies come back scrambled and are read plain.
        QVERIFY(link->waitHidFree());
        request({0x8B});
        QVERIFY(link->hidGetTransfer(0));
        QCOMPARE(int(link->inReport[2]), mouse->state()["dpiStage"].toInt());

        // A mouse with another code cannot read the request and ignores it.
        QVERIFY(mouse->fault("wrong-scode"));
        mouse->clearLog();
        QVERIFY(link->waitHidFree());
        request({0x01, 0x04});
        link->hidSetTransfer(0, false);
        QCOMPARE(entries(mouse->log(), "feature-out").value(0)["valid"].toBool(), false);
        QCOMPARE(mouse->state()["reportRate"].toInt(), 3);
    }

    // Every failure of an exchange gives the token back and leaves no handle open.
    void tokenReleasedOnFailure_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("query");
        QTest::addColumn<int>("n");
        QTest::newRow("open refused, set") << "refuse-open" << 0 << false << 0;
        QTest::newRow("open refused, query") << "refuse-open" << 0 << true << 0;
        QTest::newRow("silent feature read") << "silent-feature" << 0 << true << 0;
        QTest::newRow("silent chunk read") << "silent-read" << 0 << true << 128;
        QTest::newRow("silent chunk write") << "silent-write" << 0 << false << 64;
        QTest::newRow("dropped mid-write") << "drop-after" << 2 << false << 128;
        QTest::newRow("dropped mid-read") << "drop-after" << 3 << true << 128;
    }
    void tokenReleasedOnFailure()
    {
        QFETCH(QString, fault);
        QFETCH(int, count);
        QFETCH(bool, query);
        QFETCH(int, n);
        QVERIFY(connectTo(VirtualMouse::Options{"560", false, QString()}));
        QVERIFY(mouse->fault(fault, count));
        QVERIFY(link->waitHidFree());
        if (query)
            request({0x8C, 0x01});
        else
            request({0x0C, 0x01, 0x80});
        if (!query && n > 0 && fault != "refuse-open")
            QTest::ignoreMessage(QtDebugMsg, "HID FAIL");
        QElapsedTimer timer;
        timer.start();
        const bool ok = query ? link->hidGetTransfer(n) : link->hidSetTransfer(n, false);
        QVERIFY(!ok);
        QVERIFY(link->hidFree);
        QVERIFY(!link->cmdHandle);
        // A silent mouse ends the exchange within the time-outs rather than hanging.
        QVERIFY2(timer.elapsed() < 15000, qPrintable(QString::number(timer.elapsed())));
        if (fault == "refuse-open") // a failed open forgets the path until the next scan
            QVERIFY(link->devices[1]->cmdPath.isEmpty());
    }

    // Every exchange has one bound, designed waits included: a mouse that stops answering, or a
    // report length that would stretch a block over many seconds, ends it with a failure. The
    // limits asserted are far above the bound and far below what a hang costs.
    void oneBoundPerExchange_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("query");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("reportLength");
        // Silent chunk reads and writes: tokenReleasedOnFailure.
        QTest::newRow("silent feature read") << "silent-feature" << true << 0 << 32;
        QTest::newRow("one-byte reports") << "none" << false << 128 << 1;
    }
    void oneBoundPerExchange()
    {
        QFETCH(QString, fault);
        QFETCH(bool, query);
        QFETCH(int, n);
        QFETCH(int, reportLength);
        useTable("[0]\nvid=04d9\npid=a09f\nusagePage=ff00\nusage=ff00\nusagePage2=ff01\n"
                 "usage2=ff01\nreportLength=" +
                     QByteArray::number(reportLength) + "\n",
                 1);
        mouse = std::make_unique<VirtualMouse>(VirtualMouse::Options{"560", false, QString()});
        QVERIFY(mouse->start());
        link = std::make_unique<Hid_Thread>();
        link->selectDevice(link->scanDevices());
        const QJsonObject before = mouse->state();
        QVERIFY(mouse->fault(fault));
        QVERIFY(link->waitHidFree());
        if (query) {
            request({0x8C, 0x01});
        } else {
            std::memset(link->bulkBuffer, 0x5A, 128);
            request({0x0C, 0x01, 0x80});
            QTest::ignoreMessage(QtDebugMsg, "HID FAIL");
        }
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!(query ? link->hidGetTransfer(n) : link->hidSetTransfer(n, true)));
        QVERIFY2(timer.elapsed() < transport::kExchangeBoundMs + 1500,
                 qPrintable(QString::number(timer.elapsed())));
        QVERIFY(link->hidFree);
        QVERIFY(!link->cmdHandle);
        QVERIFY(mouse->fault("none"));
        QCOMPARE(mouse->state()["profiles"], before["profiles"]);
    }

    // A write that ran out of time may still be under way in the kernel; nothing else goes to the
    // mouse before it has returned (the stand-in gives up on it after its 5 s control time-out).
    void noTwoCallsOverlap()
    {
        QVERIFY(connectTo(VirtualMouse::Options{"560", false, QString()}));
        QVERIFY(mouse->fault("silent-write"));
        QVERIFY(link->waitHidFree());
        request({0x0C, 0x01, 0x80});
        QTest::ignoreMessage(QtDebugMsg, "HID FAIL");
        QVERIFY(!link->hidSetTransfer(128, false));
        QVERIFY(mouse->fault("none"));
        // Tried again at once, then until it goes through.
        bool sent = false;
        for (int attempt = 0; attempt < 20 && !sent; ++attempt) {
            QVERIFY(link->waitHidFree());
            request({0x02, 0x03});
            sent = link->hidSetTransfer(0, false);
        }
        QVERIFY(sent);
        const QJsonArray log = mouse->log();
        const QList<QJsonObject> stalls = entries(log, "stall");
        QCOMPARE(stalls.size(), 1);
        int stalledClosed = -1, laterRequest = -1;
        for (int i = 0; i < log.size(); ++i) {
            const QJsonObject e = log[i].toObject();
            if (e["kind"] == "close" && e["conn"] == stalls[0]["conn"])
                stalledClosed = i;
            if (e["kind"] == "feature-out" && e["plain"].toString().startsWith("00 02 03") &&
                laterRequest < 0)
                laterRequest = i;
        }
        QVERIFY(laterRequest >= 0);
        // The stalled write's handle is closed only once the write has returned.
        QVERIFY2(stalledClosed >= 0 && stalledClosed < laterRequest,
                 "a request went out while a write that had run out of time was still due");
    }

    void exchangeWithoutDeviceFailsAtOnce()
    {
        QVERIFY(connectTo());
        link->currentDevice = 7;
        QVERIFY(link->waitHidFree());
        QVERIFY(!link->hidSetTransfer(0, true));
        QVERIFY(link->hidFree);
        QVERIFY(mouse->log().isEmpty());
    }

    // The wait for a token that is not given back ends after the designed 255 polls of 8 ms; one
    // given back meanwhile, from another thread, is taken at once. Either way the wait handles no
    // events: nothing can run into the caller between two polls.
    void tokenWait_data()
    {
        QTest::addColumn<bool>("givenBack");
        QTest::newRow("stuck: gives up after about two seconds") << false;
        QTest::newRow("given back from another thread") << true;
    }
    void tokenWait()
    {
        QFETCH(bool, givenBack);
        Hid_Thread idle;
        idle.hidFree = false;
        bool handled = false;
        QObject context; // the timer goes with it
        QTimer::singleShot(0, &context, [&handled] { handled = true; });
        std::thread other([&idle, givenBack] {
            if (!givenBack)
                return;
            QThread::msleep(50);
            idle.clearBusy();
        });
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(idle.waitHidFree(), givenBack);
        const qint64 ms = timer.elapsed();
        other.join();
        QVERIFY(!handled);
        QVERIFY(!idle.hidFree);
        if (!givenBack)
            QVERIFY2(ms >= 1500 && ms < 10000, qPrintable(QString::number(ms)));
    }
};

QTEST_GUILESS_MAIN(TestTransport)
#include "tst_transport.moc"
