// The model under the simulator, without sockets: checksum, scrambling, and firmware details
// that are awkward to reach over hidapi.

#include "firmware.h"
#include "scramble.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace tk700sim;

namespace
{

FeatureReport report(const QByteArray &hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    FeatureReport r{};
    for (int i = 0; i < bytes.size() && i < 9; ++i)
        r[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bytes[i]);
    return r;
}

QByteArray toHex(const FeatureReport &r)
{
    return QByteArray(reinterpret_cast<const char *>(r.data()), 9).toHex();
}

FeatureReport withChecksum(const QByteArray &hex)
{
    FeatureReport r = report(hex);
    setChecksum(r);
    return r;
}

} // namespace

class TestSimModel : public QObject
{
    Q_OBJECT

private slots:
    void checksum_data();
    void checksum();
    void scrambleKnownAnswers_data();
    void scrambleKnownAnswers();
    void scrambleRoundTrip();
    void otherCodeDiffersEverywhere();
    void blockLengthComesFromTheRequest();
    void blockReadIsReleasedByTheFeatureRead();
    void powerCycleForgetsTransfers();
};

void TestSimModel::checksum_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("checksum");
    QTest::newRow("01") << QByteArray("0001000000000000") << 0xFE;
    QTest::newRow("8b") << QByteArray("008b000000000000") << 0x74;
    QTest::newRow("gun 1 2 3 4") << QByteArray("0004000102030400") << 0xF1;
    QTest::newRow("553 lift-off") << QByteArray("000700027d010000") << 0x78;
    QTest::newRow("560 lift-off off") << QByteArray("0009007d00000000") << 0x79;
    QTest::newRow("560 lift-off 3") << QByteArray("0009037d00000000") << 0x76;
    QTest::newRow("sum wraps") << QByteArray("00ffffffffffffff") << 0x06;
}

void TestSimModel::checksum()
{
    QFETCH(QByteArray, request);
    QFETCH(int, checksum);
    FeatureReport r = report(request);
    r[0] = 0x55; // the report ID is not part of the sum
    QCOMPARE(int(featureChecksum(r)), checksum);
    setChecksum(r);
    QVERIFY(checksumValid(r));
}

void TestSimModel::scrambleKnownAnswers_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QByteArray>("plain");     // bytes 1..8
    QTest::addColumn<QByteArray>("scrambled"); // bytes 1..8
    // Worked out by hand from the written steps, one byte at a time.
    QTest::newRow("520147 rate 2")
        << "520147" << QByteArray("01020000000000fc") << QByteArray("760545d7b03def47");
    QTest::newRow("520147 8b") << "520147" << QByteArray("8b00000000000074")
                               << QByteArray("760105d7a48def47");
    QTest::newRow("520147 reply 83")
        << "520147" << QByteArray("8301020344000032") << QByteArray("78dfd5d79c4dd757");
    QTest::newRow("123456 stage 5")
        << "123456" << QByteArray("0b050000000000ef") << QByteArray("76e5bdefa085e747");
    QTest::newRow("631258 profile 3")
        << "631258" << QByteArray("02030000000000fa") << QByteArray("760d1ddfa04df747");
    QTest::newRow("520147 any bytes")
        << "520147" << QByteArray("a54dca182530bb1d") << QByteArray("f5d850b1fb1db598");
    QTest::newRow("987654 any bytes")
        << "987654" << QByteArray("174494d6493c9d5c") << QByteArray("58daf9a9a8ab4be8");
}

void TestSimModel::scrambleKnownAnswers()
{
    QFETCH(QString, code);
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, scrambled);
    const ScrambleKey key(code.toStdString());
    FeatureReport r = report("00" + plain);
    key.scramble(r);
    QCOMPARE(toHex(r), "00" + QByteArray::fromHex(scrambled).toHex());
    key.unscramble(r);
    QCOMPARE(toHex(r), "00" + QByteArray::fromHex(plain).toHex());
}

void TestSimModel::scrambleRoundTrip()
{
    QRandomGenerator random(700);
    for (const char *code : {"520147", "000000", "999999", "A1b2C3"}) {
        const ScrambleKey key(code);
        for (int n = 0; n < 2000; ++n) {
            FeatureReport original{};
            for (auto &byte : original)
                byte = static_cast<std::uint8_t>(random.bounded(256));
            FeatureReport r = original;
            key.scramble(r);
            QCOMPARE(r[0], original[0]); // the report ID is never touched
            key.unscramble(r);
            QCOMPARE(toHex(r), toHex(original));
        }
    }
}

void TestSimModel::otherCodeDiffersEverywhere()
{
    QCOMPARE(otherCode("520147"), std::string("631258"));
    QCOMPARE(otherCode("999999"), std::string("000000"));
    const std::string mixed = otherCode("ab12cd");
    for (std::size_t i = 0; i < mixed.size(); ++i)
        QVERIFY(mixed[i] != "ab12cd"[i]);
}

void TestSimModel::blockLengthComesFromTheRequest()
{
    Firmware firmware(Family::F553, kDefaultScrambleCode, false);
    // Slave attributes announced as 32 bytes: one chunk completes the command, zero-filled.
    firmware.featureOut(withChecksum("0016002000000000"));
    std::vector<std::uint8_t> data(32, 0xAB);
    firmware.output(data.data(), data.size());
    Bytes expected(64, 0);
    std::fill(expected.begin(), expected.begin() + 32, 0xAB);
    QVERIFY(firmware.state().slaveAttributes == expected);

    // Output with no block announced changes nothing.
    firmware.output(data.data(), data.size());
    QVERIFY(firmware.state().slaveAttributes == expected);
}

void TestSimModel::blockReadIsReleasedByTheFeatureRead()
{
    Firmware firmware(Family::F560, kDefaultScrambleCode, false);
    firmware.featureOut(withChecksum("008c0100000000"));
    // Another request before the feature read withdraws the block.
    firmware.featureOut(withChecksum("0082000000000000"));
    firmware.featureIn();
    QVERIFY(firmware.takeInputReports().empty());

    firmware.featureOut(withChecksum("008c0900000000"));
    firmware.featureIn();
    const std::vector<Bytes> reports = firmware.takeInputReports();
    QCOMPARE(reports.size(), std::size_t(4));
    for (const Bytes &r : reports)
        QVERIFY(r == Bytes(kReportLength, 0)); // no such profile: zeros
    QVERIFY(firmware.takeInputReports().empty());
}

void TestSimModel::powerCycleForgetsTransfers()
{
    Firmware firmware(Family::F553, kDefaultScrambleCode, false);
    firmware.featureOut(withChecksum("00110308000000"));
    std::vector<std::uint8_t> half(4, 0x11);
    firmware.output(half.data(), half.size());
    firmware.powerCycle();
    firmware.output(half.data(), half.size());
    QVERIFY(firmware.state().dpiTable != Bytes(8, 0x11));
    QCOMPARE(int(firmware.state().dpiCount), 8); // the announced count of 3 never took effect
}

QTEST_GUILESS_MAIN(TestSimModel)
#include "tst_sim_model.moc"
