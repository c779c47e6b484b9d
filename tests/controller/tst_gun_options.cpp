// Report rate, keyboard option, XY sensitivity, selected gun and the gun records: what lands in
// the files and what the virtual TK700 of each family ends up holding.

#include "controller/gun_data.h"
#include "controller/mouse_options.h"
#include "support/mouse_rig.h"

#include <QtTest>

namespace
{

const char *const kGunFile = "modules/gun/gunData.bin";

// What a fresh settings object reads from the gun file.
QVariant gunValue(const TestRuntime &runtime, const QString &name)
{
    QSettings file(runtime.path(kGunFile), QSettings::IniFormat);
    return file.value(QStringLiteral("gunData/") + name);
}

QStringList strings(const QVariant &v)
{
    return v.toStringList();
}

} // namespace

class TestGunOptions : public QObject
{
    Q_OBJECT

private:
    // The gun file and the profile entries need no mouse.
    struct Offline {
        TestRuntime runtime;
        SettingsStore settings;
        ProfileImage image = {};
        DeviceContext context{MouseModel{true, true, QStringLiteral("553"), false}, nullptr,
                              settings, image};
    };

private slots:
    void profileEntries()
    {
        Offline o;
        QVERIFY(o.runtime.isValid());
        // The factory profiles carry both groups; two profiles here lack them.
        for (int profile : {0, 3}) {
            o.settings.profile(profile).remove("XYSensitive");
            o.settings.profile(profile).remove("selectGun");
        }
        MouseOptions options(o.context);
        QCOMPARE(options.xySensitivity("0"), QVariant(4));
        QCOMPARE(options.selectedGun("2"), QVariant(QString()));

        QVERIFY(o.settings.setCurrentProfile(3));
        options.setXySensitivity("1", 7);
        options.setSelectedGun("2", QStringLiteral("AKM"));
        QCOMPARE(options.xySensitivity("1").toInt(), 7);
        QCOMPARE(options.selectedGun("2").toString(), QStringLiteral("AKM"));
        o.settings.profile(3).sync();
        QSettings p4(o.runtime.path("modules/setting/p4.bin"), QSettings::IniFormat);
        QCOMPARE(p4.value("XYSensitive/1").toInt(), 7);
        QCOMPARE(p4.value("selectGun/2").toString(), QStringLiteral("AKM"));
        // Another profile still has neither.
        QVERIFY(o.settings.setCurrentProfile(0));
        QCOMPARE(options.xySensitivity("1"), QVariant(4));
        QCOMPARE(options.selectedGun("2"), QVariant(QString()));
    }

    void reportRate_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("isGun");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("held");

        QTest::newRow("553") << "553" << false << "reportRate" << QJsonValue(2);
        QTest::newRow("560, every mode")
            << "560" << false << "reportRates" << QJsonValue(QJsonArray{2, 2, 2, 2});
        QTest::newRow("560 gun, first mode")
            << "560" << true << "reportRates" << QJsonValue(QJsonArray{2, 1, 1, 1});
    }
    void reportRate()
    {
        QFETCH(QString, family);
        QFETCH(bool, isGun);
        QFETCH(QString, key);
        QFETCH(QJsonValue, held);

        MouseRig rig(family);
        rig.model.isGun = isGun;
        QVERIFY(rig.start());
        DeviceContext c = rig.context();
        MouseOptions(c).setReportRate(2);
        QCOMPARE(rig.mouse->state()[key], held);
    }

    void keyboardOption()
    {
        MouseRig rig("553");
        QVERIFY(rig.start());
        DeviceContext c = rig.context();
        MouseOptions options(c);
        options.setKeyboardOption(1, 2, 0x30, 0x44);
        QCOMPARE(rig.state("keyboardOptions"), QStringLiteral("01 02 30 44"));
        QCOMPARE(options.keyboardOption(), QVariantList({1, 2, 0x30, 0x44}));

        // A mouse that cannot be reached reads as zeros, not as the last answer.
        QVERIFY(rig.mouse->fault("refuse-open"));
        QCOMPARE(options.keyboardOption(), QVariantList({0, 0, 0, 0}));
    }

    void gunRecords()
    {
        Offline o;
        QVERIFY(o.runtime.isValid());
        GunData guns(o.context);
        QCOMPARE(guns.keys(), QStringList({"0", "1", "2", "3", "4", "5"}));
        QCOMPARE(guns.record("1"), QVariantList({"AKM", "L-Click", "10", "0", "10", "0"}));
        QCOMPARE(guns.record("9"), QVariantList());

        // Six values are kept, in order; more are cut off.
        QVERIFY(guns.save("2", {"M4", "L-Click", 12, -3, 7, 30, "extra"}));
        QCOMPARE(strings(gunValue(o.runtime, "2")),
                 QStringList({"M4", "L-Click", "12", "-3", "7", "30"}));
        QCOMPARE(guns.record("2").size(), 6);

        // Rename: the old key goes, five values stand under the new name.
        QVERIFY(guns.modify(1, {"Scar", "L-Click", 10, 0, -10, 0, "M16A4"}));
        QVERIFY(guns.modify(1, {"Vector", "R-Click", 8, 1, 2, 5, "4"}));
        QVERIFY(!gunValue(o.runtime, "4").isValid());
        QCOMPARE(strings(gunValue(o.runtime, "Vector")),
                 QStringList({"R-Click", "8", "1", "2", "5"}));
        QVERIFY(guns.keys().contains("Scar"));

        QVERIFY(guns.modify(0, {"Scar"}));
        QVERIFY(!gunValue(o.runtime, "Scar").isValid());
        QVERIFY(!guns.keys().contains("Scar"));
    }

    // Several records in one write; one refused record stores none of them.
    void gunRecordsTogether()
    {
        Offline o;
        QVERIFY(o.runtime.isValid());
        GunData guns(o.context);
        QVERIFY(guns.save({{"0", {"M416", "L-Click", "9", 0, 5, 12}},
                           {"2", {"M16A4", "L-Click", "9", 0, 8, 0, "extra"}}}));
        QCOMPARE(strings(gunValue(o.runtime, "0")),
                 QStringList({"M416", "L-Click", "9", "0", "5", "12"}));
        QCOMPARE(strings(gunValue(o.runtime, "2")),
                 QStringList({"M16A4", "L-Click", "9", "0", "8", "0"}));

        const QByteArray before = o.runtime.read(kGunFile);
        QVERIFY(!guns.save(
            {{"1", {"AKM", "L-Click", "9", 0, 7, 0}}, {"a/b", {"AKM", "L-Click", "9", 0, 7, 0}}}));
        QVERIFY(!guns.save({{"1", {"AKM", "L-Click", "9", 0, 7, 0}}, {"3", {"Short", 1}}}));
        QCOMPARE(o.runtime.read(kGunFile), before);
    }

    // Refused edits leave the file byte for byte as it was.
    void gunRecordsRefused_data()
    {
        QTest::addColumn<int>("operation"); // -1: save under "3", else modify with this type
        QTest::addColumn<QVariantList>("values");

        QTest::newRow("save with five values") << -1 << QVariantList{"A", "L-Click", 1, 2, 3};
        QTest::newRow("rename without the old name")
            << 1 << QVariantList{"A", "L-Click", 1, 2, 3, 4};
        QTest::newRow("remove with no name") << 0 << QVariantList{};
        // An empty name would address the whole group.
        QTest::newRow("remove an empty name") << 0 << QVariantList{""};
        QTest::newRow("rename into a sub-group")
            << 1 << QVariantList{"a/b", "L-Click", 1, 2, 3, 4, "0"};
        QTest::newRow("unknown type") << 2 << QVariantList{"0", "L-Click", 1, 2, 3, 4, "1"};
    }
    void gunRecordsRefused()
    {
        QFETCH(int, operation);
        QFETCH(QVariantList, values);

        Offline o;
        QVERIFY(o.runtime.isValid());
        const QByteArray before = o.runtime.read(kGunFile);
        GunData guns(o.context);
        const bool done =
            (operation < 0 ? guns.save("3", values) : guns.modify(operation, values)).ok();
        QVERIFY(!done);
        QCOMPARE(o.runtime.read(kGunFile), before);
    }

    void gunFileMissing()
    {
        Offline o;
        QVERIFY(o.runtime.isValid());
        QVERIFY(QFile::remove(o.runtime.path(kGunFile)));
        GunData guns(o.context);
        QVERIFY(!guns.save("2", {"M4", "L-Click", 12, 0, 7, 0}));
        QVERIFY(!guns.modify(1, {"Scar", "L-Click", 10, 0, -10, 0, "M16A4"}));
        QVERIFY(!guns.modify(0, {"0"}));
        QCOMPARE(guns.keys(), QStringList());
        QCOMPARE(guns.record("0"), QVariantList());
        QVERIFY(!QFileInfo::exists(o.runtime.path(kGunFile)));
    }

    void send553_data()
    {
        QTest::addColumn<int>("option3");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QVariantList>("data");
        QTest::addColumn<QJsonObject>("held");

        QTest::newRow("Y negated")
            << 1 << 1 << QVariantList{3, 4, 5} << QJsonObject{{"count", 3}, {"x", 4}, {"y", 0xfb}};
        QTest::newRow("Y as given")
            << 0 << 2 << QVariantList{3, 4, 5} << QJsonObject{{"count", 3}, {"x", 4}, {"y", 5}};
        QTest::newRow("values from the gun file as text")
            << 9 << 3 << QVariantList{"0", "-10", "-10"}
            << QJsonObject{{"count", 0}, {"x", 0xf6}, {"y", 10}};
    }
    void send553()
    {
        QFETCH(int, option3);
        QFETCH(int, slot);
        QFETCH(QVariantList, data);
        QFETCH(QJsonObject, held);

        MouseRig rig("553");
        rig.model.isGun = true;
        QVERIFY(rig.start());
        rig.link->hid553_03H_SetKeyboardoption(0, 0, uchar(option3), 0);
        rig.mouse->clearLog();
        DeviceContext c = rig.context();
        GunData(c).send(slot, data);
        QCOMPARE(rig.commands(), QStringList({"83 00", "04 00"}));
        QCOMPARE(rig.mouse->state()["gun"].toArray().at(slot - 1).toObject(), held);
    }

    void send560()
    {
        MouseRig rig("560");
        rig.model.isGun = true;
        QVERIFY(rig.start());
        std::fill(std::begin(rig.image[3]), std::end(rig.image[3]), uchar(0xFF));
        DeviceContext c = rig.context();
        GunData(c).send(2, {0, -3, 9});
        QCOMPARE(rig.commands(), QStringList{"0c 03"});
        const QByteArray held = rig.deviceBlock(3);
        QCOMPARE(hex(held.mid(78, 4)), QStringLiteral("f0 00 fd 09"));
        QCOMPARE(quint8(held.at(65)), quint8(0xFB));
        QCOMPARE(held.left(65) + held.mid(66, 12) + held.mid(82), QByteArray(123, char(0xFF)));
    }

    // Nothing reaches the mouse or the profile image.
    void sendRefused_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("isGun");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QVariantList>("data");

        QTest::newRow("not a gun model") << "553" << false << 1 << QVariantList{3, 4, 5};
        QTest::newRow("slot 0") << "553" << true << 0 << QVariantList{1, 2, 3};
        QTest::newRow("slot 4 would be past the last block")
            << "560" << true << 4 << QVariantList{1, 2, 3};
        QTest::newRow("two values") << "560" << true << 1 << QVariantList{1, 2};
    }
    void sendRefused()
    {
        QFETCH(QString, family);
        QFETCH(bool, isGun);
        QFETCH(int, slot);
        QFETCH(QVariantList, data);

        MouseRig rig(family);
        rig.model.isGun = isGun;
        QVERIFY(rig.start());
        DeviceContext c = rig.context();
        GunData(c).send(slot, data);
        QCOMPARE(rig.requests(), QStringList());
        for (int b = 0; b < kProfileBlocks; ++b)
            QCOMPARE(rig.imageBlock(b), QByteArray(kProfileBlockSize, 0));
    }
};

QTEST_GUILESS_MAIN(TestGunOptions)
#include "tst_gun_options.moc"
