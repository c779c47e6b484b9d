// Lighting against the virtual TK700 of both families: what the mouse holds after each operation.

#include "controller/lighting.h"
#include "support/mouse_rig.h"

#include <QtTest>

#include <cstring>

namespace
{

QString zeros(int n)
{
    return hex(QByteArray(n, 0));
}

QByteArray bytes(const QVariantList &values)
{
    QByteArray out;
    for (const QVariant &v : values)
        out += char(v.toInt());
    return out;
}

QString join(const QStringList &parts)
{
    return parts.join(QLatin1Char(' '));
}

} // namespace

class TestLighting : public QObject
{
    Q_OBJECT

private slots:
    void slaveAttributes_data()
    {
        QTest::addColumn<int>("effect");
        QTest::addColumn<QVariantList>("colours");
        QTest::addColumn<QString>("block"); // brightness 50, speed 3, direction 1

        QVariantList tooMany = numbers(50);
        tooMany[0] = 256 + 7;
        tooMany[1] = -1;
        tooMany[2] = QStringLiteral("33");
        QTest::newRow("effect 6 sends no colours")
            << 6 << numbers(45) << join({"32 00 32 03 01", zeros(59)});
        QTest::newRow("short list padded with zeros")
            << 1 << QVariantList{10, 20, 30} << join({"32 01 32 03 01 0a 14 1e", zeros(56)});
        QTest::newRow("long list clipped, low bytes")
            << 3 << tooMany
            << join({"32 03 32 03 01 07 ff 21", hex(bytes(numbers(42, 4))), zeros(14)});
    }
    void slaveAttributes()
    {
        QFETCH(int, effect);
        QFETCH(QVariantList, colours);
        QFETCH(QString, block);

        MouseRig rig("553");
        QVERIFY(rig.start());
        DeviceContext c = rig.context();
        Lighting(c).setLedType(uchar(effect), 50, 3, 1, colours);
        QCOMPARE(rig.commands(), QStringList{"16 00"});
        QCOMPARE(rig.state("slaveAttributes"), block);
    }

    void effect553_data()
    {
        QTest::addColumn<bool>("colourful");
        QTest::addColumn<bool>("is55328");
        QTest::addColumn<int>("effect");
        QTest::addColumn<int>("option1");
        QTest::addColumn<int>("option2");
        QTest::addColumn<QString>("sent");

        QTest::newRow("colourful 8: full brightness, speed step 2")
            << true << false << 8 << 2 << 4 << "08 ff 0f";
        QTest::newRow("colourful 3 is no effect") << true << false << 3 << 0 << 4 << "00 00 00";
        QTest::newRow("colourful 0: brightness only") << true << false << 0 << 3 << 1 << "01 40 00";
        QTest::newRow("colourful 1: speed only") << true << false << 1 << 4 << 4 << "03 00 01";
        QTest::newRow("colourful 10, option1 off the table")
            << true << false << 10 << 5 << 2 << "0a 80 00";
        QTest::newRow("colourful 9, option2 off the table")
            << true << false << 9 << 0 << 5 << "09 00 0f";
        QTest::newRow("colourful 11 is no effect") << true << false << 11 << 1 << 1 << "00 00 00";
        QTest::newRow("single 4 option1 2") << false << false << 4 << 2 << 0 << "02 03 02";
        QTest::newRow("single 4 option1 2, 55328") << false << true << 4 << 2 << 0 << "02 03 03";
        QTest::newRow("single 0 by option2, 55328") << false << true << 0 << 0 << 4 << "01 0a 01";
        QTest::newRow("single 2 by option1") << false << false << 2 << 1 << 0 << "03 18 02";
        QTest::newRow("single 2, option1 off the table")
            << false << true << 2 << 7 << 0 << "03 00 01";
        QTest::newRow("single unknown effect") << false << false << 5 << 1 << 1 << "00 00 02";
        QTest::newRow("single unknown effect, 55328") << false << true << 5 << 1 << 1 << "00 00 00";
    }
    void effect553()
    {
        QFETCH(bool, colourful);
        QFETCH(bool, is55328);
        QFETCH(int, effect);
        QFETCH(int, option1);
        QFETCH(int, option2);
        QFETCH(QString, sent);

        MouseRig rig("553");
        rig.model.isColorful = colourful;
        rig.model.is55328 = is55328;
        QVERIFY(rig.start());
        DeviceContext c = rig.context();
        Lighting(c).setEffect(uchar(effect), uchar(option1), uchar(option2));
        QCOMPARE(rig.commands().size(), 1);
        QCOMPARE(rig.state("effect"), sent);
    }

    // The 560 family keeps the effect in bytes 71..73 of blocks 1..4 and gets whole blocks.
    void effect560_data()
    {
        QTest::addColumn<bool>("colourful");
        QTest::addColumn<bool>("isGun");
        QTest::addColumn<int>("effect");
        QTest::addColumn<int>("option1");
        QTest::addColumn<int>("option2");
        QTest::addColumn<QString>("triple");     // in blocks 1..4 of the image
        QTest::addColumn<QString>("block1");     // bytes 71..73 of block 1 as sent
        QTest::addColumn<QStringList>("blocks"); // the blocks sent

        QTest::newRow("colourful, one block") << true << false << 8 << 2 << 4 << "08 ff 0f"
                                              << "08 ff 0f" << QStringList{"0c 01"};
        QTest::newRow("colourful gun, four blocks")
            << true << true << 5 << 1 << 2 << "05 80 07"
            << "05 80 07" << QStringList{"0c 01", "0c 02", "0c 03", "0c 04"};
        QTest::newRow("single colour, block 1 alone ends in 3")
            << false << false << 4 << 2 << 0 << "02 03 02"
            << "02 03 03" << QStringList{"0c 01"};
        QTest::newRow("single colour gun, four blocks")
            << false << true << 2 << 0 << 0 << "03 1e 02"
            << "03 1e 02" << QStringList{"0c 01", "0c 02", "0c 03", "0c 04"};
    }
    void effect560()
    {
        QFETCH(bool, colourful);
        QFETCH(bool, isGun);
        QFETCH(int, effect);
        QFETCH(int, option1);
        QFETCH(int, option2);
        QFETCH(QString, triple);
        QFETCH(QString, block1);
        QFETCH(QStringList, blocks);

        MouseRig rig("560");
        rig.model.isColorful = colourful;
        rig.model.isGun = isGun;
        QVERIFY(rig.start());
        const QByteArray untouched = rig.deviceBlock(4);
        DeviceContext c = rig.context();
        Lighting(c).setEffect(uchar(effect), uchar(option1), uchar(option2));

        QCOMPARE(rig.commands(), blocks);
        QCOMPARE(hex(rig.deviceBlock(1).mid(71, 3)), block1);
        for (int b = 2; b <= 4; ++b)
            QCOMPARE(hex(rig.imageBlock(b).mid(71, 3)), triple);
        if (isGun)
            QCOMPARE(rig.deviceBlock(4), rig.imageBlock(4));
        else
            QCOMPARE(rig.deviceBlock(4), untouched);
        // Only the effect bytes change.
        QCOMPARE(rig.imageBlock(2).left(71) + rig.imageBlock(2).mid(74), QByteArray(125, 0));
    }

    // 553 family: the table twice, except on the 55328, where a black eighth colour asks for one
    // fixed colour (the first) and any other goes out once as type 0.
    void colours553_data()
    {
        QTest::addColumn<bool>("is55328");
        QTest::addColumn<QVariantList>("colours");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("held");

        QVariantList black = numbers(21, 10);
        black << 0 << 0 << 0;
        QVariantList blue = numbers(21, 10);
        blue << 0 << 0 << 255;
        QTest::newRow("table twice") << false << numbers(24) << QStringList{"10 01", "10 01"}
                                     << "stageColours" << hex(bytes(numbers(24)));
        QTest::newRow("55328, black eighth colour")
            << true << black << QStringList{"0c 0a"} << "fixedColour"
            << "0a 0b 0c";
        QTest::newRow("55328, short list: eighth colour padded black")
            << true << QVariantList{200, 100, 50} << QStringList{"0c c8"} << "fixedColour"
            << "c8 64 32";
        QTest::newRow("55328, lit eighth colour")
            << true << blue << QStringList{"10 00"} << "stageColours" << hex(bytes(blue));
    }
    void colours553()
    {
        QFETCH(bool, is55328);
        QFETCH(QVariantList, colours);
        QFETCH(QStringList, commands);
        QFETCH(QString, key);
        QFETCH(QString, held);

        MouseRig rig("553");
        rig.model.is55328 = is55328;
        QVERIFY(rig.start());
        DeviceContext c = rig.context();
        Lighting(c).setColours(1, colours);
        QCOMPARE(rig.commands(), commands);
        QCOMPARE(rig.state(key.toLatin1().constData()), held);
    }

    void colours560_data()
    {
        QTest::addColumn<bool>("colourful");
        QTest::addColumn<QVariantList>("colours");
        QTest::addColumn<int>("block");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("table");

        QTest::newRow("colourful: block 0 bytes 24..47")
            << true << numbers(30) << 0 << 24 << bytes(numbers(24));
        QTest::newRow("single colour: block 1 bytes 104..127")
            << false << QVariantList{1, 2, 3} << 1 << 104
            << QByteArray::fromHex("010203") + QByteArray(21, 0);
    }
    void colours560()
    {
        QFETCH(bool, colourful);
        QFETCH(QVariantList, colours);
        QFETCH(int, block);
        QFETCH(int, offset);
        QFETCH(QByteArray, table);

        MouseRig rig("560");
        rig.model.isColorful = colourful;
        QVERIFY(rig.start());
        // What lies next to the colours must reach the mouse unchanged.
        std::memset(rig.image[block], 0xEE, kProfileBlockSize);
        DeviceContext c = rig.context();
        Lighting(c).setColours(1, colours);
        QCOMPARE(rig.commands(), QStringList{QStringLiteral("0c 0%1").arg(block)});
        const QByteArray sent = rig.deviceBlock(block);
        QCOMPARE(sent.mid(offset, 24), table);
        QCOMPARE(sent.left(offset) + sent.mid(offset + 24),
                 QByteArray(kProfileBlockSize - 24, char(0xEE)));
    }

    void stageColours_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("type");
        QTest::addColumn<QVariantList>("colours");
        QTest::addColumn<QString>("sent");

        QTest::newRow("type 2 packs nibbles") << "553" << 2 << numbers(24) << "21 43 65 87";
        QTest::newRow("type 2 keeps low nibbles only")
            << "553" << 2 << QVariantList{0x1F, 0x2E, 0xF3, 0x04, 0, 0, 9} << "ef 43 00 09";
        QTest::newRow("type 1 short list padded")
            << "553" << 1 << QVariantList{7, 8, 9} << join({"07 08 09", zeros(21)});
        QTest::newRow("560 family takes the 553 command")
            << "560" << 2 << numbers(8) << "21 43 65 87";
    }
    void stageColours()
    {
        QFETCH(QString, family);
        QFETCH(int, type);
        QFETCH(QVariantList, colours);
        QFETCH(QString, sent);

        MouseRig rig(family);
        QVERIFY(rig.start());
        rig.settings->setCurrentProfile(2);
        DeviceContext c = rig.context();
        Lighting lighting(c);
        lighting.setStageColours(uchar(type), colours);
        QCOMPARE(rig.commands(), QStringList{QStringLiteral("10 0%1").arg(type)});
        QCOMPARE(rig.state("stageColours"), sent);

        // Kept in the current profile as given, read back as numbers.
        rig.settings->profile(2).sync();
        QSettings file(rig.runtime.path("modules/setting/p3.bin"), QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("mouse/dpiColorType%1").arg(type)).toList().size(),
                 colours.size());
        QVariantList expected;
        for (const QVariant &v : colours)
            expected << v.toUInt();
        QCOMPARE(lighting.storedStageColours(uchar(type)), expected);
        QCOMPARE(lighting.storedStageColours(uchar(type + 1)), QVariantList());
    }

    void logoLed()
    {
        MouseRig rig("553");
        QVERIFY(rig.start());
        DeviceContext c = rig.context();
        QVERIFY(Lighting(c).logoLedWorks());
        QCOMPARE(rig.commands(), QStringList{"87 00"});

        QVERIFY(rig.mouse->fault("refuse-open"));
        QVERIFY(!Lighting(c).logoLedWorks());

        c.link = nullptr;
        QVERIFY(!Lighting(c).logoLedWorks());
    }
};

QTEST_GUILESS_MAIN(TestLighting)
#include "tst_lighting.moc"
