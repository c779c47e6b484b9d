// The virtual TK700 as the program sees it through hidapi: enumeration, handles, reads, unplug
// and the injected faults.

#include "hid_client.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QtTest>

#include <dlfcn.h>
#include <future>

using namespace simtest;

class TestSimHidapi : public QObject
{
    Q_OBJECT

private slots:
    void exportsEveryHidapiFunction();
    void enumerationFilters_data();
    void enumerationFilters();
    void enumerationDescribesBothInterfaces();
    void openRefusedByFaultAndUnknownPath();
    void unplugFailsEveryCallOfAnOpenHandle();
    void readTimesOutWithZero();
    void dpiPressArrivesOnEventInterface();
    void waitingReadGetsLaterPress();
    void silentFeatureBreaksTheHandle();
    void silentReadHoldsCommandInputBack();
    void silentWriteIsNeverAnswered();
    void dropAfterClosesTheConnectionOnce();
    void garbageReplyReplacesTheAnswer();
    void repliesThatDoNotCheckOut_data();
    void repliesThatDoNotCheckOut();
    void tornReadStopsOneBlock();
    void replugLosesHandlesAndTheUnfinishedBlock();
    void faultNamesAreChecked();
    void armedFaultMeetsOnlyItsExchange();

private:
    static constexpr int kGraceMs = 5000; // the library's own wait beyond a request's time-out
};

void TestSimHidapi::exportsEveryHidapiFunction()
{
    // Every function of the installed header must come from the stand-in, or the program would
    // fall through to the real library for it.
    static const char *const kFunctions[] = {"hid_init",
                                             "hid_exit",
                                             "hid_enumerate",
                                             "hid_free_enumeration",
                                             "hid_open",
                                             "hid_open_path",
                                             "hid_write",
                                             "hid_read_timeout",
                                             "hid_read",
                                             "hid_set_nonblocking",
                                             "hid_send_feature_report",
                                             "hid_get_feature_report",
                                             "hid_get_input_report",
                                             "hid_close",
                                             "hid_get_manufacturer_string",
                                             "hid_get_product_string",
                                             "hid_get_serial_number_string",
                                             "hid_get_device_info",
                                             "hid_get_indexed_string",
                                             "hid_error",
                                             "hid_version",
                                             "hid_version_str"};
    const QByteArray stub = qgetenv("TK700_HIDAPI_SIM");
    QVERIFY(!stub.isEmpty());
    void *library = dlopen(stub.constData(), RTLD_NOW | RTLD_NOLOAD);
    QVERIFY2(library, "the stand-in is not preloaded");
    for (const char *name : kFunctions) {
        void *symbol = dlsym(library, name);
        QVERIFY2(symbol, name);
        Dl_info info{};
        QVERIFY(dladdr(symbol, &info));
        QCOMPARE(QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalFilePath(),
                 QFileInfo(QString::fromLocal8Bit(stub)).canonicalFilePath());
    }
    dlclose(library);
    QCOMPARE(hid_version()->minor, 13);
    QCOMPARE(QByteArray(hid_version_str()), QByteArray("0.13.1"));
}

void TestSimHidapi::enumerationFilters_data()
{
    QTest::addColumn<int>("vid");
    QTest::addColumn<int>("pid");
    QTest::addColumn<int>("count");
    QTest::newRow("any") << 0 << 0 << 2;
    QTest::newRow("exact") << 0x04d9 << 0xa09f << 2;
    QTest::newRow("vendor only") << 0x04d9 << 0 << 2;
    QTest::newRow("product only") << 0 << 0xa09f << 2;
    QTest::newRow("other product") << 0x04d9 << 0xa0a0 << 0;
    QTest::newRow("other vendor") << 0x1234 << 0 << 0;
}

void TestSimHidapi::enumerationFilters()
{
    QFETCH(int, vid);
    QFETCH(int, pid);
    QFETCH(int, count);
    VirtualMouse mouse;
    QVERIFY(mouse.start());
    hid_device_info *devices =
        hid_enumerate(static_cast<unsigned short>(vid), static_cast<unsigned short>(pid));
    int found = 0;
    for (hid_device_info *d = devices; d; d = d->next)
        ++found;
    hid_free_enumeration(devices);
    QCOMPARE(found, count);
}

void TestSimHidapi::enumerationDescribesBothInterfaces()
{
    VirtualMouse mouse;
    QVERIFY(mouse.start());
    hid_device_info *devices = hid_enumerate(0, 0);
    QVERIFY(devices && devices->next && !devices->next->next);
    const hid_device_info *command = devices;
    const hid_device_info *event = devices->next;
    QCOMPARE(QByteArray(command->path), QByteArray(kCommandPath));
    QCOMPARE(QByteArray(event->path), QByteArray(kEventPath));
    QCOMPARE(command->usage_page, 0xff00);
    QCOMPARE(command->usage, 0xff00);
    QCOMPARE(command->interface_number, 0);
    QCOMPARE(event->usage_page, 0xff01);
    QCOMPARE(event->usage, 0xff01);
    QCOMPARE(event->interface_number, 1);
    for (const hid_device_info *d : {command, event}) {
        QCOMPARE(d->vendor_id, 0x04d9);
        QCOMPARE(d->product_id, 0xa09f);
        QCOMPARE(QString::fromWCharArray(d->manufacturer_string), QStringLiteral("Talvemark"));
        QCOMPARE(QString::fromWCharArray(d->product_string), QStringLiteral("TK700"));
        QCOMPARE(QString::fromWCharArray(d->serial_number), QStringLiteral("SIM0001"));
        QCOMPARE(d->bus_type, HID_API_BUS_USB);
    }
    hid_free_enumeration(devices);

    // hid_open takes the first match, as hidapi does; the strings come from the same record.
    Handle dev(hid_open(0x04d9, 0xa09f, nullptr));
    QVERIFY(dev);
    wchar_t text[32];
    QCOMPARE(hid_get_product_string(dev.get(), text, 32), 0);
    QCOMPARE(QString::fromWCharArray(text), QStringLiteral("TK700"));
    QCOMPARE(hid_get_serial_number_string(dev.get(), text, 4), 0);
    QCOMPARE(QString::fromWCharArray(text), QStringLiteral("SIM")); // cut to the buffer
    const hid_device_info *info = hid_get_device_info(dev.get());
    QVERIFY(info);
    QCOMPARE(QByteArray(info->path), QByteArray(kCommandPath));
    QVERIFY(!Handle(hid_open(0x04d9, 0xa09f, L"OTHER")));
}

void TestSimHidapi::openRefusedByFaultAndUnknownPath()
{
    VirtualMouse mouse;
    QVERIFY(mouse.start());
    QVERIFY(mouse.fault("refuse-open"));
    QVERIFY(!openPath(kCommandPath));
    QVERIFY(!openPath("tk700-sim:if7"));
    const QJsonArray refused = entriesOfKind(mouse.log(), "refused");
    QCOMPARE(refused.size(), 2);
    QCOMPARE(refused.at(0)["iface"].toInt(), 0);
    QCOMPARE(refused.at(1)["iface"].toInt(), -1);

    QVERIFY(mouse.fault("none"));
    QVERIFY(openPath(kCommandPath));
    const QJsonArray log = mouse.log();
    QCOMPARE(entriesOfKind(log, "open").size(), 1);
    QCOMPARE(entriesOfKind(log, "close").size(), 1);
}

void TestSimHidapi::unplugFailsEveryCallOfAnOpenHandle()
{
    VirtualMouse mouse;
    QVERIFY(mouse.start());
    Handle command = openPath(kCommandPath);
    Handle event = openPath(kEventPath);
    QVERIFY(command && event);
    QVERIFY(mouse.unplug());

    QCOMPARE(sendFeature(command.get(), request(fromHex("8b"))), -1);
    QVERIFY(getFeature(command.get()).isNull());
    QCOMPARE(writeReport(command.get(), chunk(QByteArray(4, '\1'), 0)), -1);
    QCOMPARE(readReport(command.get(), 33, 0), QByteArray("error"));
    QCOMPARE(readReport(event.get(), 4, 100), QByteArray("error"));
    QVERIFY(!hid_enumerate(0, 0));
    QVERIFY(!openPath(kCommandPath));
    QCOMPARE(entriesOfKind(mouse.log(), "close").size(), 2);
    QCOMPARE(mouse.state()["plugged"].toBool(), false);

    QVERIFY(mouse.plug());
    // The old handle belongs to the old connection and stays dead.
    QCOMPARE(sendFeature(command.get(), request(fromHex("8b"))), -1);
    Handle again = openPath(kCommandPath);
    QVERIFY(again);
    QCOMPARE(sendFeature(again.get(), request(fromHex("8b"))), 9);
}

void TestSimHidapi::readTimesOutWithZero()
{
    VirtualMouse mouse;
    QVERIFY(mouse.start());
    Handle event = openPath(kEventPath);
    QVERIFY(event);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(readReport(event.get(), 4, 300), QByteArray());
    QVERIFY2(clock.elapsed() >= 250, "the read did not wait for its time-out");

    QCOMPARE(hid_set_nonblocking(event.get(), 1), 0);
    unsigned char buffer[4];
    QCOMPARE(hid_read(event.get(), buffer, sizeof(buffer)), 0);
    QVERIFY(entriesOfKind(mouse.log(), "in").isEmpty());
}

void TestSimHidapi::dpiPressArrivesOnEventInterface()
{
    VirtualMouse mouse;
    QVERIFY(mouse.start());
    Handle command = openPath(kCommandPath);
    Handle event = openPath(kEventPath);
    QVERIFY(command && event);
    QVERIFY(mouse.pressDpi(3));
    QCOMPARE(readReport(command.get(), 33, 0), QByteArray()); // not on the command interface
    QCOMPARE(readReport(event.get(), 4, 2000), fromHex("06070003"));
    QCOMPARE(readReport(event.get(), 4, 0), QByteArray()); // delivered once
    QCOMPARE(mouse.state()["dpiStage"].toInt(), 3);

    const QJsonArray in = entriesOfKind(mouse.log(), "in");
    QCOMPARE(in.size(), 1);
    QCOMPARE(in.at(0)["iface"].toInt(), 1);
    QCOMPARE(in.at(0)["bytes"].toString(), QStringLiteral("06 07 00 03"));
    QVERIFY(!mouse.command("press-dpi").contains("ok")); // a stage is required
}

void TestSimHidapi::waitingReadGetsLaterPress()
{
    VirtualMouse mouse;
    QVERIFY(mouse.start());
    Handle event = openPath(kEventPath);
    QVERIFY(event);
    // A blocking read is already waiting in the simulator when the button is pressed.
    auto reader = std::async(std::launch::async, [dev = event.get()] {
        unsigned char buffer[4] = {0};
        const int n = hid_read(dev, buffer, sizeof(buffer));
        return n < 0 ? QByteArray("error") : QByteArray(reinterpret_cast<char *>(buffer), n);
    });
    QTest::qWait(200);
    QVERIFY(reader.wait_for(std::chrono::seconds(0)) == std::future_status::timeout);
    QVERIFY(mouse.pressDpi(8));
    if (reader.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        mouse.unplug(); // ends the blocking read, so the test cannot hang
        QFAIL("the waiting read did not get the report");
    }
    QCOMPARE(reader.get(), fromHex("06070008"));
}

void TestSimHidapi::silentFeatureBreaksTheHandle()
{
    VirtualMouse mouse;
    QVERIFY(mouse.start());
    QVERIFY(mouse.fault("silent-feature"));
    Handle dev = openPath(kCommandPath);
    QVERIFY(dev);
    QCOMPARE(sendFeature(dev.get(), request(fromHex("8b"))), 9);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(getFeature(dev.get()).isNull());
    QVERIFY2(clock.elapsed() >= kGraceMs - 500, "gave up before the control time-out");
    // From then on the handle fails at once, even after the fault is gone.
    QVERIFY(mouse.fault("none"));
    clock.restart();
    QCOMPARE(sendFeature(dev.get(), request(fromHex("8b"))), -1);
    QVERIFY(clock.elapsed() < kGraceMs);
    QVERIFY(entriesOfKind(mouse.log(), "feature-in").isEmpty());
    QCOMPARE(query(request(fromHex("8b"))), request(fromHex("8b02")));
}

void TestSimHidapi::silentReadHoldsCommandInputBack()
{
    VirtualMouse::Options options;
    options.family = "560";
    VirtualMouse mouse(options);
    QVERIFY(mouse.start());
    QVERIFY(mouse.fault("silent-read"));
    Handle command = openPath(kCommandPath);
    Handle event = openPath(kEventPath);
    QVERIFY(command && event);
    QCOMPARE(sendFeature(command.get(), request(fromHex("8c01"))), 9);
    QCOMPARE(getFeature(command.get()).size(), 9);
    QCOMPARE(readReport(command.get(), 33, 300), QByteArray());
    // The event interface is not affected.
    QVERIFY(mouse.pressDpi(2));
    QCOMPARE(readReport(event.get(), 4, 2000), fromHex("06070002"));

    QVERIFY(mouse.fault("none"));
    QCOMPARE(readReport(command.get(), 33, 2000).size(), kReportLength);
}

void TestSimHidapi::silentWriteIsNeverAnswered()
{
    VirtualMouse mouse;
    QVERIFY(mouse.start());
    QVERIFY(mouse.fault("silent-write"));
    Handle dev = openPath(kCommandPath);
    QVERIFY(dev);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(writeReport(dev.get(), chunk(seeded(32, 1), 0)), -1);
    QVERIFY2(clock.elapsed() >= kGraceMs - 500, "gave up before the control time-out");
    QVERIFY(entriesOfKind(mouse.log(), "out").isEmpty());
}

void TestSimHidapi::dropAfterClosesTheConnectionOnce()
{
    VirtualMouse mouse;
    QVERIFY(mouse.start());
    QVERIFY(mouse.fault("drop-after", 2));
    Handle first = openPath(kCommandPath);
    QVERIFY(first);
    QCOMPARE(sendFeature(first.get(), request(fromHex("0b03"))), 9);
    QCOMPARE(sendFeature(first.get(), request(fromHex("0b04"))), 9);
    QCOMPARE(sendFeature(first.get(), request(fromHex("0b05"))), -1);
    QCOMPARE(sendFeature(first.get(), request(fromHex("0b06"))), -1);
    QCOMPARE(mouse.state()["dpiStage"].toInt(), 4); // the dropped request never arrived

    const QJsonArray drops = entriesOfKind(mouse.log(), "drop");
    QCOMPARE(drops.size(), 1);
    QCOMPARE(drops.at(0)["bytes"].toString(), hex(request(fromHex("0b05"))));

    Handle second = openPath(kCommandPath);
    QVERIFY(second);
    QCOMPARE(sendFeature(second.get(), request(fromHex("0b06"))), 9);
    QCOMPARE(mouse.state()["dpiStage"].toInt(), 6);
}

void TestSimHidapi::garbageReplyReplacesTheAnswer()
{
    VirtualMouse mouse;
    QVERIFY(mouse.start());
    const QByteArray truth = query(request(fromHex("8b")));
    QCOMPARE(truth, request(fromHex("8b02")));
    QVERIFY(mouse.fault("garbage-reply"));
    int garbled = 0;
    for (int i = 0; i < 4; ++i) {
        const QByteArray reply = query(request(fromHex("8b")));
        QCOMPARE(reply.size(), 9);
        QCOMPARE(reply.at(0), '\0'); // the report ID is kept
        garbled += reply != truth;
    }
    QVERIFY(garbled > 0);
    QVERIFY(mouse.fault("none"));
    QCOMPARE(query(request(fromHex("8b"))), truth);
}

void TestSimHidapi::repliesThatDoNotCheckOut_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("echoRight");
    QTest::addColumn<bool>("checksumRight");
    QTest::newRow("wrong echo") << "wrong-echo" << false << true;
    QTest::newRow("wrong checksum") << "wrong-checksum" << true << false;
}

void TestSimHidapi::repliesThatDoNotCheckOut()
{
    QFETCH(QString, fault);
    QFETCH(bool, echoRight);
    QFETCH(bool, checksumRight);
    VirtualMouse mouse;
    QVERIFY(mouse.start());
    QVERIFY(mouse.fault(fault));
    const QByteArray reply = query(request(fromHex("8b")));
    QCOMPARE(reply.size(), 9);
    QCOMPARE(reply.at(1) == char(0x8b), echoRight);
    // The checksum of the bytes as they came.
    QCOMPARE(request(reply.mid(1, 7)) == reply, checksumRight);
    QCOMPARE(reply.at(2), char(2)); // the answer itself is the mouse's
    QVERIFY(mouse.fault("none"));
    QCOMPARE(query(request(fromHex("8b"))), request(fromHex("8b02")));
}

void TestSimHidapi::tornReadStopsOneBlock()
{
    VirtualMouse::Options options;
    options.family = "560";
    VirtualMouse mouse(options);
    QVERIFY(mouse.start());
    QVERIFY(mouse.fault("torn-read", 2));
    for (int attempt = 0; attempt < 2; ++attempt) {
        Handle command = openPath(kCommandPath);
        QVERIFY(command);
        QCOMPARE(sendFeature(command.get(), request(fromHex("8c01"))), 9);
        QCOMPARE(getFeature(command.get()).size(), 9);
        int reports = 0;
        while (readReport(command.get(), 33, 300).size() == kReportLength)
            ++reports;
        // The first block stops after two reports; the fault is spent, the next comes whole.
        QCOMPARE(reports, attempt == 0 ? 2 : 4);
    }
    const QJsonArray torn = entriesOfKind(mouse.log(), "torn");
    QCOMPARE(torn.size(), 1);
    QCOMPARE(torn.at(0)["kept"].toInt(), 2);
    QVERIFY(mouse.state()["faults"].toArray().isEmpty());
}

void TestSimHidapi::replugLosesHandlesAndTheUnfinishedBlock()
{
    VirtualMouse mouse;
    QVERIFY(mouse.start());
    const QJsonValue before = mouse.state()["macros"];
    QVERIFY(mouse.fault("replug-after", 1));
    Handle dev = openPath(kCommandPath);
    QVERIFY(dev);
    // The request is taken, then the mouse goes and comes back: the handle is dead.
    QCOMPARE(sendFeature(dev.get(), request(fromHex("130580"))), 9);
    QCOMPARE(writeReport(dev.get(), chunk(seeded(128, 1), 0)), -1);
    QCOMPARE(entriesOfKind(mouse.log(), "replug").size(), 1);
    QCOMPARE(mouse.state()["plugged"].toBool(), true);
    // A new handle works, but the mouse forgot the block it was waiting for.
    Handle again = openPath(kCommandPath);
    QVERIFY(again);
    for (int at = 0; at < 128; at += kReportLength)
        QCOMPARE(writeReport(again.get(), chunk(seeded(128, 1), at)), kReportLength + 1);
    QCOMPARE(mouse.state()["macros"], before);
    QVERIFY(mouse.state()["faults"].toArray().isEmpty());
}

void TestSimHidapi::faultNamesAreChecked()
{
    VirtualMouse mouse;
    QVERIFY(mouse.start());
    QVERIFY(!mouse.fault("no-such-fault"));
    QVERIFY(mouse.fault("silent-read"));
    QVERIFY(mouse.fault("refuse-open"));
    QCOMPARE(mouse.state()["faults"].toArray().size(), 2);
    QVERIFY(mouse.fault("none"));
    QVERIFY(mouse.state()["faults"].toArray().isEmpty());
    QVERIFY(openPath(kCommandPath));
}

// A fault armed "on" a command waits for that command's request, counts the exchange's reports
// from it, and ends with the next request unless it is kept.
void TestSimHidapi::armedFaultMeetsOnlyItsExchange()
{
    VirtualMouse mouse;
    QVERIFY(mouse.start());
    const QJsonValue macros = mouse.state()["macros"];
    auto arm = [&](const QString &name, const QString &on, int count, bool keep = false) {
        return mouse
            .command("fault", {{"name", name}, {"on", on}, {"count", count}, {"keep", keep}})
            .value("ok")
            .toBool();
    };
    {
        // Request and first chunk go through, then the mouse is gone with the block unfinished.
        QVERIFY(arm("unplug-after", "13", 2));
        Handle dev = openPath(kCommandPath);
        QCOMPARE(sendFeature(dev.get(), request(fromHex("0b03"))), 9); // another command
        QCOMPARE(mouse.state()["plugged"].toBool(), true);
        QCOMPARE(sendFeature(dev.get(), request(fromHex("130580"))), 9);
        QCOMPARE(writeReport(dev.get(), chunk(seeded(128, 1), 0)), kReportLength + 1);
        QCOMPARE(writeReport(dev.get(), chunk(seeded(128, 1), kReportLength)), -1);
        QCOMPARE(mouse.state()["plugged"].toBool(), false);
        QCOMPARE(mouse.state()["macros"], macros);
        QCOMPARE(entriesOfKind(mouse.log(), "armed").size(), 1);
        QVERIFY(mouse.plug());
    }
    {
        // Count 0: the request itself never reaches the firmware.
        QVERIFY(arm("unplug-after", "0b", 0));
        Handle dev = openPath(kCommandPath);
        QCOMPARE(sendFeature(dev.get(), request(fromHex("0b05"))), -1);
        QCOMPARE(mouse.state()["dpiStage"].toInt(), 3);
        QVERIFY(mouse.plug());
    }
    const QByteArray truth = query(request(fromHex("8b")));
    QCOMPARE(truth, request(fromHex("8b03")));
    // One exchange only: the next query is answered truly again.
    QVERIFY(arm("garbage-reply", "8b", 0));
    QVERIFY(query(request(fromHex("8b"))) != truth);
    QCOMPARE(query(request(fromHex("8b"))), truth);
    // Kept: it lasts until it is cleared.
    QVERIFY(arm("garbage-reply", "8b", 0, true));
    QVERIFY(query(request(fromHex("8b"))) != truth);
    QVERIFY(query(request(fromHex("8b"))) != truth);
    QVERIFY(mouse.fault("none"));
    QCOMPARE(query(request(fromHex("8b"))), truth);
    QVERIFY(!arm("refuse-open", "8b", 0));
}

QTEST_GUILESS_MAIN(TestSimHidapi)
#include "tst_sim_hidapi.moc"
