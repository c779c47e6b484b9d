// The firmware of the virtual TK700 seen over hidapi: commands of both families land in the
// state, queries answer from it, data blocks, the checksum and scrambling.

#include "hid_client.h"

#include <QtTest>

using namespace simtest;

class TestSimFirmware : public QObject
{
    Q_OBJECT

private slots:
    void commandsUpdateState_data();
    void commandsUpdateState();
    void queriesAnswerFromState_data();
    void queriesAnswerFromState();
    void checksumRule_data();
    void checksumRule();
    void invalidRequestIsIgnored();
    void blockTakesEffectWhenComplete();
    void newRequestAbandonsUnfinishedBlock();
    void profileBlockRoundTrip();
    void scrambledRequestIsDecoded_data();
    void scrambledRequestIsDecoded();
    void wrongCodeIsRejected_data();
    void wrongCodeIsRejected();
    void scrambledQueryReply();
    void blockReadReplyIsPlain();

private:
    static std::unique_ptr<VirtualMouse> startMouse(const QString &family, bool encode = false,
                                                    const QString &code = QString());
    static QJsonObject lastFeatureOut(VirtualMouse &mouse);
};

std::unique_ptr<VirtualMouse> TestSimFirmware::startMouse(const QString &family, bool encode,
                                                          const QString &code)
{
    VirtualMouse::Options options;
    options.family = family;
    options.encode = encode;
    options.scode = code;
    auto mouse = std::make_unique<VirtualMouse>(options);
    return mouse->start() ? std::move(mouse) : nullptr;
}

QJsonObject TestSimFirmware::lastFeatureOut(VirtualMouse &mouse)
{
    const QJsonArray out = entriesOfKind(mouse.log(), "feature-out");
    return out.isEmpty() ? QJsonObject() : out.last().toObject();
}

void TestSimFirmware::commandsUpdateState_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QJsonObject>("expected");

    const QByteArray b4 = seeded(4, 1);
    const QByteArray b8 = seeded(8, 2);
    const QByteArray b24 = seeded(24, 3);
    const QByteArray b64 = seeded(64, 4);
    const QByteArray b128 = seeded(128, 5);
    const auto row = [](const char *name, const char *family, const char *command,
                        const QByteArray &block, const QJsonObject &expected) {
        QTest::newRow(name) << QString::fromLatin1(family) << fromHex(command) << block << expected;
    };

    row("553 01 report rate", "553", "0104", {}, {{"reportRate", 4}});
    row("553 02 key matrix", "553", "0203", {}, {{"currentKeyMatrix", 3}});
    row("553 03 keyboard options", "553", "0301020344", {}, {{"keyboardOptions", "01 02 03 44"}});
    row("553 04 gun slot index 1", "553", "04000510f601", {},
        {{"gun.1", json(R"({"count": 5, "x": 16, "y": 246})")}});
    row("553 07 lift-off", "553", "0700027d01", {},
        {{"liftOff", json(R"({"stage": 2, "enabled": true, "params": "00 02 7d 01 00 00"})")}});
    row("553 0B current stage", "553", "0b05", {}, {{"dpiStage", 5}});
    row("553 0C fixed colour", "553", "0c102030", {}, {{"fixedColour", "10 20 30"}});
    row("553 0D effect", "553", "0d010203", {}, {{"effect", "01 02 03"}});
    row("553 10 type 2, 4 bytes", "553", "100204", b4,
        {{"stageColourType", 2}, {"stageColours", hex(b4)}});
    row("553 10 type 0, 24 bytes", "553", "100018", b24, {{"stageColours", hex(b24)}});
    row("553 11 stage table", "553", "110608", b8, {{"dpiCount", 6}, {"dpiTable", hex(b8)}});
    row("553 12 key matrix 3", "553", "12034008", b64, {{"keyMatrices.2", hex(b64)}});
    row("553 13 macro 12", "553", "130c80", b128, {{"macros.11", hex(b128)}});
    row("553 16 slave attributes", "553", "160040", b64, {{"slaveAttributes", hex(b64)}});

    row("560 01 keyboard options", "560", "010801", {}, {{"keyboardOptions", "08 01"}});
    row("560 02 current profile", "560", "0203", {}, {{"currentProfile", 3}});
    row("560 03 rate of mode 2", "560", "030204", {}, {{"reportRates", json("[1, 4, 1, 1]")}});
    row("560 04 stage of mode 3", "560", "040306", {}, {{"dpiStages", json("[2, 2, 6, 2]")}});
    row("560 04 stage of active mode", "560", "040105", {}, {{"dpiStage", 5}});
    row("560 09 lift-off on", "560", "09037d", {},
        {{"liftOff.stage", 3}, {"liftOff.enabled", true}});
    row("560 0C profile 4", "560", "0c0480", b128, {{"profiles.4", hex(b128)}});
    row("560 0D key matrix 1", "560", "0d0180", b128, {{"keyMatrices.0", hex(b128)}});
    row("560 0F macro 1", "560", "0f0180", b128, {{"macros.0", hex(b128)}});
    row("560 10 stage colours", "560", "100018", b24, {{"stageColours", hex(b24)}});
    row("560 16 slave attributes", "560", "160040", b64, {{"slaveAttributes", hex(b64)}});
}

void TestSimFirmware::commandsUpdateState()
{
    QFETCH(QString, family);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, block);
    QFETCH(QJsonObject, expected);
    auto mouse = startMouse(family);
    QVERIFY(mouse);
    const QJsonObject before = mouse->state();
    QVERIFY(sendCommand(request(command), block));
    const QJsonObject after = mouse->state();
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        QVERIFY2(at(before, it.key()) != it.value(), "the row does not change the state");
        QCOMPARE(at(after, it.key()), it.value());
    }
    QCOMPARE(lastFeatureOut(*mouse)["valid"].toBool(), true);
}

void TestSimFirmware::queriesAnswerFromState_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QByteArrayList>("setup");
    QTest::addColumn<int>("press");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("reply"); // bytes 1..7; byte 0 is the report ID

    QTest::newRow("553 83 options")
        << "553" << QByteArrayList{"0301020344"} << 0 << fromHex("83") << fromHex("8301020344");
    QTest::newRow("553 8B set stage")
        << "553" << QByteArrayList{"0b05"} << 0 << fromHex("8b") << fromHex("8b05");
    QTest::newRow("553 8B pressed stage")
        << "553" << QByteArrayList{} << 7 << fromHex("8b") << fromHex("8b07");
    QTest::newRow("553 87 logo works")
        << "553" << QByteArrayList{} << 0 << fromHex("8700") << fromHex("8700000000");
    QTest::newRow("560 81 options")
        << "560" << QByteArrayList{"010801"} << 0 << fromHex("81") << fromHex("810801");
    QTest::newRow("560 82 profile")
        << "560" << QByteArrayList{"0203"} << 0 << fromHex("82") << fromHex("8203");
    QTest::newRow("560 84 mode asked")
        << "560" << QByteArrayList{"040306"} << 0 << fromHex("8403") << fromHex("840306");
    QTest::newRow("560 84 other mode")
        << "560" << QByteArrayList{"040306"} << 0 << fromHex("8401") << fromHex("840102");
    QTest::newRow("560 84 press in profile 2")
        << "560" << QByteArrayList{"0202"} << 5 << fromHex("8402") << fromHex("840205");
    QTest::newRow("560 87 logo works")
        << "560" << QByteArrayList{} << 0 << fromHex("8700") << fromHex("8700000000");
}

void TestSimFirmware::queriesAnswerFromState()
{
    QFETCH(QString, family);
    QFETCH(QByteArrayList, setup);
    QFETCH(int, press);
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, reply);
    auto mouse = startMouse(family);
    QVERIFY(mouse);
    for (const QByteArray &command : setup)
        QVERIFY(sendCommand(request(fromHex(command.constData()))));
    if (press)
        QVERIFY(mouse->pressDpi(press));
    const QByteArray answer = simtest::query(request(query));
    QCOMPARE(answer.size(), 9);
    QCOMPARE(answer.left(8), request(reply).left(8));
}

void TestSimFirmware::checksumRule_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<bool>("valid");
    QTest::newRow("01 -> fe") << fromHex("0001000000000000fe") << true;
    QTest::newRow("01 -> ff") << fromHex("0001000000000000ff") << false;
    QTest::newRow("gun 1 2 3 4") << fromHex("0004000102030400f1") << true;
    QTest::newRow("lift-off 2 on") << fromHex("000700027d01000078") << true;
    QTest::newRow("lift-off, bit flipped") << fromHex("000700027d00000078") << false;
    QTest::newRow("8b") << fromHex("008b00000000000074") << true;
    QTest::newRow("byte 7 counts") << fromHex("000700027d01000573") << true;
}

void TestSimFirmware::checksumRule()
{
    QFETCH(QByteArray, report);
    QFETCH(bool, valid);
    auto mouse = startMouse("553");
    QVERIFY(mouse);
    QVERIFY(sendCommand(report));
    const QJsonObject entry = lastFeatureOut(*mouse);
    QCOMPARE(entry["valid"].toBool(), valid);
    QCOMPARE(entry["bytes"].toString(), hex(report));
    QCOMPARE(entry["plain"].toString(), hex(report));
}

void TestSimFirmware::invalidRequestIsIgnored()
{
    auto mouse = startMouse("553");
    QVERIFY(mouse);
    QCOMPARE(simtest::query(request(fromHex("8b"))).left(3), fromHex("008b02"));
    const QJsonObject before = mouse->state();

    QByteArray badStage = request(fromHex("0b05"));
    badStage[8] = static_cast<char>(badStage[8] ^ 0x01);
    QVERIFY(sendCommand(badStage));
    QByteArray badMatrix = request(fromHex("12014008"));
    badMatrix[8] = static_cast<char>(badMatrix[8] + 1);
    QVERIFY(sendCommand(badMatrix, seeded(64, 9)));
    QCOMPARE(mouse->state(), before);

    // A rejected query does not replace the reply prepared by the last good one.
    QByteArray badQuery = request(fromHex("8301"));
    badQuery[8] = 0;
    QCOMPARE(simtest::query(badQuery).left(3), fromHex("008b02"));
    const QJsonArray out = entriesOfKind(mouse->log(), "feature-out");
    QCOMPARE(out.size(), 4);
    for (int i = 1; i < out.size(); ++i)
        QCOMPARE(out.at(i)["valid"].toBool(), false);
}

void TestSimFirmware::blockTakesEffectWhenComplete()
{
    auto mouse = startMouse("553");
    QVERIFY(mouse);
    const QByteArray block = seeded(64, 6);
    Handle dev = openPath(kCommandPath);
    QVERIFY(dev);
    QCOMPARE(sendFeature(dev.get(), request(fromHex("12024008"))), 9);
    QCOMPARE(writeReport(dev.get(), chunk(block, 0)), 33);
    const QString untouched = mouse->state()["keyMatrices"][1].toString();
    QCOMPARE(VirtualMouse::bytesOf(untouched), QByteArray(64, '\0'));
    // The rest of the block may come on another handle, as the host reopens for every step.
    dev = openPath(kCommandPath);
    QCOMPARE(writeReport(dev.get(), chunk(block, 32)), 33);
    QCOMPARE(VirtualMouse::bytesOf(mouse->state()["keyMatrices"][1]), block);

    // A 4-byte block in one zero-padded report keeps exactly its 4 bytes.
    QVERIFY(sendCommand(request(fromHex("100204")), fromHex("a1b2c3d4")));
    QCOMPARE(mouse->state()["stageColours"].toString(), QStringLiteral("a1 b2 c3 d4"));
}

void TestSimFirmware::newRequestAbandonsUnfinishedBlock()
{
    auto mouse = startMouse("553");
    QVERIFY(mouse);
    const QByteArray block = seeded(128, 7);
    Handle dev = openPath(kCommandPath);
    QVERIFY(dev);
    QCOMPARE(sendFeature(dev.get(), request(fromHex("130180"))), 9);
    QCOMPARE(writeReport(dev.get(), chunk(block, 0)), 33);
    QCOMPARE(writeReport(dev.get(), chunk(block, 32)), 33);
    QCOMPARE(sendFeature(dev.get(), request(fromHex("0b04"))), 9);
    QCOMPARE(writeReport(dev.get(), chunk(block, 64)), 33);
    QCOMPARE(writeReport(dev.get(), chunk(block, 96)), 33);
    const QJsonObject state = mouse->state();
    QCOMPARE(VirtualMouse::bytesOf(state["macros"][0]), QByteArray(128, '\0'));
    QCOMPARE(state["dpiStage"].toInt(), 4);
}

void TestSimFirmware::profileBlockRoundTrip()
{
    auto mouse = startMouse("560");
    QVERIFY(mouse);
    const QByteArray block = seeded(128, 8);
    QVERIFY(sendCommand(request(fromHex("0c0380")), block));
    QCOMPARE(VirtualMouse::bytesOf(mouse->state()["profiles"][3]), block);
    mouse->clearLog();

    // Each step on a new handle, as the host's read exchange does it.
    QCOMPARE(sendFeature(openPath(kCommandPath).get(), request(fromHex("8c03"))), 9);
    QCOMPARE(readReport(openPath(kCommandPath).get(), 33, 100), QByteArray()); // not yet
    QCOMPARE(getFeature(openPath(kCommandPath).get()).left(3), fromHex("008c03"));
    QByteArray back;
    for (int i = 0; i < 4; ++i) {
        const QByteArray report = readReport(openPath(kCommandPath).get(), 33, 2000);
        QCOMPARE(report.size(), kReportLength);
        back += report;
    }
    QCOMPARE(back, block);
    QCOMPARE(readReport(openPath(kCommandPath).get(), 33, 200), QByteArray());

    const QJsonArray in = entriesOfKind(mouse->log(), "in");
    QCOMPARE(in.size(), 4);
    for (const QJsonValue &entry : in)
        QCOMPARE(entry["iface"].toInt(), 0);
}

void TestSimFirmware::scrambledRequestIsDecoded_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("value");
    // Known answers worked out by hand from the scrambling steps.
    QTest::newRow("default code, rate 2") << QString() << fromHex("00760545d7b03def47")
                                          << fromHex("0001020000000000fc") << "reportRate" << 2;
    QTest::newRow("123456, stage 5") << "123456" << fromHex("0076e5bdefa085e747")
                                     << fromHex("000b050000000000ef") << "dpiStage" << 5;
}

void TestSimFirmware::scrambledRequestIsDecoded()
{
    QFETCH(QString, code);
    QFETCH(QByteArray, wire);
    QFETCH(QByteArray, plain);
    QFETCH(QString, key);
    QFETCH(int, value);
    auto mouse = startMouse("553", true, code);
    QVERIFY(mouse);
    QVERIFY(sendCommand(wire));
    const QJsonObject entry = lastFeatureOut(*mouse);
    QCOMPARE(entry["bytes"].toString(), hex(wire));
    QCOMPARE(entry["plain"].toString(), hex(plain));
    QCOMPARE(entry["valid"].toBool(), true);
    QCOMPARE(mouse->state()[key].toInt(), value);
}

void TestSimFirmware::wrongCodeIsRejected_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("wrongCodeFault");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("scrambled with 123456") << QString() << false << fromHex("0076e545efc835e747");
    QTest::newRow("right code, mouse uses another")
        << QString() << true << fromHex("00760545d7b03def47");
    QTest::newRow("scrambled with the default")
        << "123456" << false << fromHex("00760545d7b03def47");
}

void TestSimFirmware::wrongCodeIsRejected()
{
    QFETCH(QString, code);
    QFETCH(bool, wrongCodeFault);
    QFETCH(QByteArray, wire);
    auto mouse = startMouse("553", true, code);
    QVERIFY(mouse);
    if (wrongCodeFault)
        QVERIFY(mouse->fault("wrong-scode"));
    const QJsonObject before = mouse->state();
    QVERIFY(sendCommand(wire)); // "set report rate 2" under some code
    QCOMPARE(lastFeatureOut(*mouse)["valid"].toBool(), false);
    QCOMPARE(mouse->state(), before);
}

void TestSimFirmware::scrambledQueryReply()
{
    auto mouse = startMouse("553", true);
    QVERIFY(mouse);
    QVERIFY(sendCommand(fromHex("007605bdd7b88def47"))); // 0B 05
    // 8B, answered with 8B 05 scrambled
    QCOMPARE(simtest::query(fromHex("00760105d7a48def47")), fromHex("007601bdd7bc8def47"));
    QVERIFY(mouse->fault("wrong-scode"));
    QVERIFY(simtest::query(fromHex("00760105d7a48def47")) != fromHex("007601bdd7bc8def47"));
}

void TestSimFirmware::blockReadReplyIsPlain()
{
    auto mouse = startMouse("560", true);
    QVERIFY(mouse);
    Handle dev = openPath(kCommandPath);
    QVERIFY(dev);
    QCOMPARE(sendFeature(dev.get(), fromHex("007601d5d79c55ef47")), 9); // 8C 01, scrambled
    QCOMPARE(lastFeatureOut(*mouse)["valid"].toBool(), true);
    QCOMPARE(getFeature(dev.get()).left(3), fromHex("008c01"));
    QByteArray back;
    for (int i = 0; i < 4; ++i)
        back += readReport(dev.get(), 33, 2000);
    QCOMPARE(back, VirtualMouse::bytesOf(mouse->state()["profiles"][1]));
}

QTEST_GUILESS_MAIN(TestSimFirmware)
#include "tst_sim_firmware.moc"
