// Sensor conversions, and the DPI stage table, active stage and lift-off distance as the virtual
// TK700 of each family ends up holding them.

#include "controller/dpi_settings.h"
#include "support/mouse_rig.h"

#include <QtTest>

namespace
{

QVariantList numbers(std::initializer_list<int> values)
{
    QVariantList out;
    for (int v : values)
        out << v;
    return out;
}

const QVariantList kSteps500 = numbers({500, 1000, 1500, 2000, 2500, 3000, 3500, 4000});
const QVariantList kAllOn = numbers({1, 1, 1, 1, 1, 1, 1, 1});

// Stage values of a "3389" table in which stages 1 and 3 need the high-range bit.
const QVariantList kHighRange = numbers({100, 12800, 200, 13000, 400, 500, 600, 700, 99999});

// Bytes 82..100 of a 560 profile block: high-range masks, two axes of stage codes, stage mask.
QByteArray stageBytes(uchar highX, uchar highY, const QByteArray &codes, uchar mask)
{
    return QByteArray(1, char(highX)) + char(highY) + codes + codes + char(mask);
}

} // namespace

class TestDpi : public QObject
{
    Q_OBJECT

private slots:
    void sensorCode_data()
    {
        QTest::addColumn<QString>("sensor");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("highRange");
        // clang-format off
        QTest::newRow("4090 400")            << "4090" << 400   << 3    << false;
        QTest::newRow("4090 5000")           << "4090" << 5000  << 49   << false;
        QTest::newRow("4090 5200")           << "4090" << 5200  << 0x5A << false;
        QTest::newRow("4090 12000")          << "4090" << 12000 << 0x7C << false;
        QTest::newRow("unknown is 4090")     << "PMW"  << 5200  << 0x5A << false;
        QTest::newRow("empty is 4090")       << ""     << 400   << 3    << false;
        QTest::newRow("3360 100")            << "3360" << 100   << 0    << false;
        QTest::newRow("3360 16000")          << "3360" << 16000 << 159  << false;
        QTest::newRow("3389 12750")          << "3389" << 12750 << 255  << false;
        QTest::newRow("3389 12800")          << "3389" << 12800 << 0    << true;
        QTest::newRow("3389 13000")          << "3389" << 13000 << 4    << true;
        QTest::newRow("3050 250")            << "3050" << 250   << 1    << false;
        QTest::newRow("3050 800")            << "3050" << 800   << 4    << false;
        QTest::newRow("3050 2000")           << "3050" << 2000  << 8    << false;
        QTest::newRow("3050 2500 overflows") << "3050" << 2500  << 0    << false;
        QTest::newRow("3305 401")            << "3305" << 401   << 2    << false;
        QTest::newRow("3305 3200")           << "3305" << 3200  << 8    << false;
        QTest::newRow("3305 3201 overflows") << "3305" << 3201  << 0    << false;
        QTest::newRow("5050 125")            << "5050" << 125   << 1    << false;
        QTest::newRow("5050 1375")           << "5050" << 1375  << 11   << false;
        QTest::newRow("5050 1376 overflows") << "5050" << 1376  << 0    << false;
        QTest::newRow("3320 500")            << "3320" << 500   << 0x21 << false;
        QTest::newRow("3320 501")            << "3320" << 501   << 0x22 << false;
        QTest::newRow("3320 7000")           << "3320" << 7000  << 0x2E << false;
        QTest::newRow("3320 7001 overflows") << "3320" << 7001  << 0    << false;
        // clang-format on
    }
    void sensorCode()
    {
        QFETCH(QString, sensor);
        QFETCH(int, dpi);
        QFETCH(int, code);
        QFETCH(bool, highRange);
        bool high = !highRange;
        QCOMPARE(int(DpiSettings::code(sensor, dpi, &high)), code);
        QCOMPARE(high, highRange);
    }

    // Only eight stages exist: extra values are ignored, missing ones stay 0.
    void convertedStages()
    {
        const StageCodes high = DpiSettings::convert("3389", kHighRange);
        QCOMPARE(hex(high.codes.data(), 8), QString("02 00 04 04 08 0a 0c 0e"));
        QCOMPARE(int(high.highRange), 0x0A);
        const StageCodes few = DpiSettings::convert("3320", numbers({500, 1000}));
        QCOMPARE(hex(few.codes.data(), 8), QString("21 22 00 00 00 00 00 00"));
        QCOMPARE(int(few.highRange), 0);
    }

    void stageTable553_data()
    {
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<QVariantList>("enabled");
        QTest::addColumn<QString>("table");
        QTest::newRow("all enabled") << kSteps500 << kAllOn << "21 22 23 24 25 26 27 28";
        QTest::newRow("stage 3 disabled")
            << kSteps500 << numbers({1, 1, 1, 0, 1, 1, 1, 1}) << "21 22 23 80 25 26 27 28";
        QTest::newRow("missing flags count as enabled")
            << kSteps500 << numbers({1, 0}) << "21 80 23 24 25 26 27 28";
        QTest::newRow("extra values and flags ignored")
            << kSteps500 + numbers({9000, 500}) << kAllOn + numbers({0, 0})
            << "21 22 23 24 25 26 27 28";
        QTest::newRow("missing values are 0")
            << numbers({500, 1000}) << numbers({1, 1, 1, 1, 1, 1, 1, 0})
            << "21 22 00 00 00 00 00 80";
    }
    void stageTable553()
    {
        QFETCH(QVariantList, values);
        QFETCH(QVariantList, enabled);
        QFETCH(QString, table);
        MouseRig rig("553");
        QVERIFY(rig.start());
        rig.mouse->clearLog();
        DeviceContext ctx = rig.context();
        // The stage count plays no part on this family.
        DpiSettings(ctx).setStages(3, "3320", values, enabled);
        QCOMPARE(rig.commands(), QStringList("11 08"));
        const QJsonObject state = rig.mouse->state();
        QCOMPARE(state["dpiTable"].toString(), table);
        QCOMPARE(state["dpiCount"].toInt(), 8);
    }

    void profileBlocks560_data()
    {
        QTest::addColumn<bool>("gun");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("sensor");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<QByteArray>("bytes"); // 82..100
        QTest::addColumn<QStringList>("sent");
        const QByteArray steps = QByteArray::fromHex("2122232425262728");
        QTest::newRow("five stages, no gun support")
            << false << 5 << "3320" << kSteps500 << stageBytes(0xEE, 0xEE, steps, 0x1F)
            << QStringList("0c 01");
        QTest::newRow("gun support sends blocks 1 to 4")
            << true << 8 << "3320" << kSteps500 << stageBytes(0xEE, 0xEE, steps, 0xFF)
            << QStringList({"0c 01", "0c 02", "0c 03", "0c 04"});
        QTest::newRow("3389 high-range mask, ten stages")
            << false << 10 << "3389" << kHighRange
            << stageBytes(0x0A, 0x0A, QByteArray::fromHex("02000404080a0c0e"), 0xFF)
            << QStringList("0c 01");
        QTest::newRow("no stages") << false << 0 << "3320" << kSteps500
                                   << stageBytes(0xEE, 0xEE, steps, 0) << QStringList("0c 01");
    }
    void profileBlocks560()
    {
        QFETCH(bool, gun);
        QFETCH(int, count);
        QFETCH(QString, sensor);
        QFETCH(QVariantList, values);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, sent);
        MouseRig rig("560", gun);
        QVERIFY(rig.start());
        // Bytes the stage table does not own must reach the mouse as the image holds them.
        for (int b = 0; b < kProfileBlocks; ++b)
            for (int i = 0; i < kProfileBlockSize; ++i)
                rig.image[b][i] = uchar(b == 0 ? 0 : 0xEE);
        const QJsonArray factory = rig.mouse->state()["profiles"].toArray();
        rig.mouse->clearLog();
        DeviceContext ctx = rig.context();
        // Stage 3 off: the flags play no part on this family.
        DpiSettings(ctx).setStages(count, sensor, values, numbers({1, 1, 1, 0}));

        QCOMPARE(rig.commands(), sent);
        QByteArray block(kProfileBlockSize, char(0xEE));
        block.replace(82, bytes.size(), bytes);
        const QJsonArray held = rig.mouse->state()["profiles"].toArray();
        QCOMPARE(held[0], factory[0]);
        for (int b = 1; b <= 4; ++b) {
            // Every stage block of the image is written; the mouse gets those that were sent.
            QCOMPARE(hex(rig.image[b], kProfileBlockSize), hex(block));
            if (b == 1 || gun)
                QCOMPARE(held[b].toString(), hex(block));
            else
                QCOMPARE(held[b], factory[b]);
        }
    }

    void currentStage_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("gun");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("held");
        QTest::newRow("553") << "553" << false << QStringList("0b 05") << "dpiStage"
                             << QJsonValue(5);
        QTest::newRow("560, every mode")
            << "560" << false << QStringList({"04 01", "04 02", "04 03", "04 04"}) << "dpiStages"
            << QJsonValue(QJsonArray{5, 5, 5, 5});
        QTest::newRow("560 with gun support, mode 1 only")
            << "560" << true << QStringList("04 01") << "dpiStages"
            << QJsonValue(QJsonArray{5, 2, 2, 2});
    }
    void currentStage()
    {
        QFETCH(QString, family);
        QFETCH(bool, gun);
        QFETCH(QStringList, sent);
        QFETCH(QString, key);
        QFETCH(QJsonValue, held);
        MouseRig rig(family, gun);
        QVERIFY(rig.start());
        rig.mouse->clearLog();
        DeviceContext ctx = rig.context();
        DpiSettings(ctx).setCurrentStage(5);
        QCOMPARE(rig.commands(), sent);
        QCOMPARE(rig.mouse->state()[key], held);
    }

    void liftOff_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("en");
        QTest::addColumn<int>("flagsBefore");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("flags");
        QTest::newRow("108 on") << "560" << 108 << 1 << 0x04 << 52 << 0x05;
        QTest::newRow("125 off") << "560" << 125 << 0 << 0x05 << 64 << 0x04;
        QTest::newRow("90, en 2 is off") << "560" << 90 << 2 << 0x01 << 30 << 0x00;
        QTest::newRow("553 takes the 560 block") << "553" << 108 << 1 << 0 << 52 << 0x01;
    }
    void liftOff()
    {
        QFETCH(QString, family);
        QFETCH(int, rate);
        QFETCH(int, en);
        QFETCH(int, flagsBefore);
        QFETCH(int, code);
        QFETCH(int, flags);
        MouseRig rig(family);
        QVERIFY(rig.start());
        rig.image[1][65] = uchar(flagsBefore);
        rig.image[1][84] = 0x33;
        rig.mouse->clearLog();
        DeviceContext ctx = rig.context();
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QString("test %1 %2").arg(code).arg(en)));
        DpiSettings(ctx).setLod(uchar(rate), uchar(en));

        QCOMPARE(rig.commands(), QStringList("0c 01"));
        QCOMPARE(int(rig.image[1][65]), flags);
        QCOMPARE(int(rig.image[1][101]), code);
        if (family == "560") {
            const QByteArray held = rig.block("profiles", 1);
            QCOMPARE(int(uchar(held[65])), flags);
            QCOMPARE(int(uchar(held[101])), code);
            QCOMPARE(int(uchar(held[84])), 0x33); // the rest of the block goes with it
        }
    }
};

QTEST_GUILESS_MAIN(TestDpi)
#include "tst_dpi.moc"
