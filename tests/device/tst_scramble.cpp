// Checksum and per-device scrambling of the feature report.

#include "device/hid_thread.h"
#include "device/scramble.h"

#include <QRandomGenerator>
#include <QtTest>

namespace
{

QByteArray bytes(const uchar *p, int n)
{
    return {reinterpret_cast<const char *>(p), n};
}

void keyFromCode(const char *code, uchar key[8])
{
    key[0] = key[7] = 0;
    for (int i = 0; i < 6; ++i)
        key[i + 1] = static_cast<uchar>(code[i]);
}

} // namespace

class TestScramble : public QObject
{
    Q_OBJECT

private slots:
    void checksum_data()
    {
        QTest::addColumn<QByteArray>("codeAndParams");
        QTest::addColumn<int>("expected");
        QTest::newRow("01 and zeros") << QByteArray::fromHex("01000000000000") << 0xFE;
        QTest::newRow("report rate 2") << QByteArray::fromHex("01020000000000") << 0xFC;
        QTest::newRow("get current dpi") << QByteArray::fromHex("8b000000000000") << 0x74;
        QTest::newRow("gun data") << QByteArray::fromHex("04000102030400") << 0xF1;
        QTest::newRow("lift-off") << QByteArray::fromHex("0700027d010000") << 0x78;
        QTest::newRow("sum wraps") << QByteArray::fromHex("ffffffffffffff") << 0x06;
    }
    void checksum()
    {
        QFETCH(QByteArray, codeAndParams);
        QFETCH(int, expected);
        Hid_Thread link;
        QCOMPARE(int(link.hidCS(reinterpret_cast<uchar *>(codeAndParams.data()))), expected);
    }

    // Vectors worked out by hand from the scrambling rule (pair swap, key XOR, 3-bit rotation of
    // the 64-bit big-endian value, nibble-swapped table added).
    void knownVectors_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QByteArray>("scrambled");
        QTest::newRow("rate, default code")
            << QByteArray::fromHex("01020000000000fc") << QByteArray("520147")
            << QByteArray::fromHex("760545d7b03def47");
        QTest::newRow("8B, default code")
            << QByteArray::fromHex("8b00000000000074") << QByteArray("520147")
            << QByteArray::fromHex("760105d7a48def47");
        QTest::newRow("8B, other code")
            << QByteArray::fromHex("8b00000000000074") << QByteArray("123456")
            << QByteArray::fromHex("76e105efbc85e747");
    }
    void knownVectors()
    {
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, code);
        QFETCH(QByteArray, scrambled);
        uchar key[8];
        keyFromCode(code.constData(), key);
        Hid_Thread link;
        QByteArray p = plain;
        link.USBDataEncryption(reinterpret_cast<uchar *>(p.data()), key);
        QCOMPARE(p.toHex(' '), scrambled.toHex(' '));
        link.USBDataDecipher(reinterpret_cast<uchar *>(p.data()), key);
        QCOMPARE(p.toHex(' '), plain.toHex(' '));
    }

    void roundTripRandomBlocksAndKeys()
    {
        QRandomGenerator rng(700);
        Hid_Thread link;
        int changed = 0;
        for (int round = 0; round < 20000; ++round) {
            uchar block[8], key[8];
            for (uchar &b : block)
                b = static_cast<uchar>(rng.bounded(256));
            for (uchar &b : key)
                b = static_cast<uchar>(rng.bounded(256));
            const QByteArray before = bytes(block, 8);
            link.USBDataEncryption(block, key);
            changed += bytes(block, 8) != before;
            link.USBDataDecipher(block, key);
            QCOMPARE(bytes(block, 8), before);
        }
        // Scrambling that left the bytes as they were would pass the round trip too.
        QVERIFY(changed > 19900);
    }

    void onlyKeyBytesOneToSixMatter()
    {
        uchar a[8] = {1, 2, 3, 4, 5, 6, 7, 8}, b[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        uchar key1[8] = {0x00, 1, 2, 3, 4, 5, 6, 0x00};
        uchar key2[8] = {0xAA, 1, 2, 3, 4, 5, 6, 0x55};
        scrambleReport(a, key1);
        scrambleReport(b, key2);
        QCOMPARE(bytes(a, 8), bytes(b, 8));
        uchar key3[8] = {0x00, 1, 2, 3, 4, 5, 7, 0x00};
        uchar c[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        scrambleReport(c, key3);
        QVERIFY(bytes(a, 8) != bytes(c, 8));
    }
};

QTEST_GUILESS_MAIN(TestScramble)
#include "tst_scramble.moc"
