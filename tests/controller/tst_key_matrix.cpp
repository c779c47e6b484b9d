// Button assignment against the virtual TK700 of both families: what the mouse holds after a save,
// a reset of the gun tables and a table switch, and what the profile file holds.

#include "controller/key_matrix.h"
#include "controller/stored_settings.h"
#include "support/mouse_rig.h"

#include <QtTest>

namespace
{

using Entry = std::array<int, 4>;
using Entries = QMap<int, Entry>;

// Sixteen entries of `base`, except those given.
QVariantList uiTable(const Entry &base, const Entries &except = {})
{
    QVariantList out;
    for (int n = 0; n < 16; ++n)
        for (int v : except.value(n, base))
            out << v;
    return out;
}

QByteArray patched(QByteArray table, const Entries &entries)
{
    for (auto it = entries.begin(); it != entries.end(); ++it)
        for (int i = 0; i < 4; ++i)
            table[it.key() * 4 + i] = char(it.value()[i]);
    return table;
}

QByteArray bytes(const Entry &e)
{
    return patched(QByteArray(4, 0), {{0, e}});
}

QByteArray repeated(const Entry &e)
{
    return bytes(e).repeated(16);
}

// A firmware table whose every byte tells where it came from.
Entry fw(int n)
{
    return {0x40 + n, 0x50 + n, 0x60 + n, 0x70 + n};
}

QByteArray fwTable()
{
    Entries all;
    for (int n = 0; n < 16; ++n)
        all[n] = fw(n);
    return patched(QByteArray(64, 0), all);
}

void storeFwTable(SettingsStore &settings)
{
    for (int n = 0; n < 16; ++n)
        settings.setData(QStringLiteral("mouseFwKeyMatrix/%1").arg(n),
                         QVariantList{fw(n)[0], fw(n)[1], fw(n)[2], fw(n)[3]});
}

// What a mouse of `family` holds of a 64-byte table: the 560 family keeps 128 bytes.
QString held(const QString &family, const QByteArray &table)
{
    return hex(family == "560" ? table + QByteArray(64, 0) : table);
}

const Entry kOfficeDefaults[16] = {
    {0, 0, 0xF0, 0},    {0, 0, 0xF1, 0},    {0, 0, 0xF2, 0},    {0, 0, 0xF4, 0},
    {0, 0, 0xF3, 0},    {5, 0, 1, 0},       {5, 0, 2, 0},       {5, 0, 4, 0},
    {1, 0x1D, 0x0A, 0}, {2, 0x01, 0x1D, 0}, {3, 0, 0x83, 0x01}, {3, 0, 0xB7, 0},
    {6, 0, 0x94, 0x01}, {7, 0, 0xE0, 0x16}, {0xFF, 0, 0x01, 0}, {0xFF, 0, 0x02, 0},
};

// One button each: what the page gives, and what each family must receive.
struct Translation {
    const char *what;
    Entry ui, to553, to560;
};
const Translation kTranslations[16] = {
    {"left button", {0, 0, 0xF0, 0}, {1, 0, 0xF0, 0}, {1, 0, 0xF0, 0}},
    {"double fire", {0, 0, 0x1E, 2}, {10, 0, 0x1E, 2}, {10, 0, 0x1E, 2}},
    {"fire key", {1, 0x1D, 0x0A, 3}, {10, 0x1D, 0x0A, 3}, {10, 0x1D, 0x0A, 3}},
    {"macro 5", {4, 0, 5, 0}, {9, 0, 6, 0}, {9, 0, 6, 0}},
    {"sniper key", {5, 0, 4, 0}, {7, 0, 4, 1}, {11, 0, 1, 1}},
    {"DPI+", {5, 0, 1, 0}, {7, 0, 1, 0}, {7, 0, 1, 0}},
    {"Windows 0x23/2", {6, 0, 0x23, 2}, {3, 0, 0x23, 2}, {3, 0, 0x23, 2}},
    {"Windows 0x94/1", {6, 0, 0x94, 1}, {3, 0, 0x94, 1}, {3, 0, 0x94, 1}},
    {"Windows 0x2C/0x1B", {6, 0, 0x2C, 0x1B}, {0, 0, 0x2C, 0x1B}, {0, 0, 0x2C, 0x1B}},
    {"Windows 0x21/2", {6, 0, 0x21, 2}, {3, 0, 0x21, 2}, {3, 0, 0x21, 2}},
    {"key combination", {2, 0x01, 0x1D, 0}, {0, 0x01, 0x1D, 0}, {0, 0x01, 0x1D, 0}},
    {"media key", {3, 0, 0xB7, 0}, {3, 0, 0xB7, 0}, {3, 0, 0xB7, 0}},
    {"shortcut", {7, 0, 0xE0, 0x16}, {0, 0, 0xE0, 0x16}, {0, 0, 0xE0, 0x16}},
    {"type 0xFF", {0xFF, 0, 0x02, 0}, {4, 0, 0x02, 0}, {4, 0, 0x02, 0}},
    {"unknown type", {9, 1, 2, 3}, {9, 1, 2, 3}, {9, 1, 2, 3}},
    {"low byte of 0x1F1", {0, 0, 0x1F1, 0}, {1, 0, 0xF1, 0}, {1, 0, 0xF1, 0}},
};

} // namespace

class TestKeyMatrix : public QObject
{
    Q_OBJECT

private slots:
    // The shipped factory profile holds the office defaults, and as firmware defaults the same
    // table as a 553-family mouse takes it.
    void factoryFirmwareTable()
    {
        MouseRig rig;
        QVERIFY(rig.start());
        QSettings factory(rig.runtime.path("modules/setting/pD.bin"), QSettings::IniFormat);
        KeyTable office = {};
        for (int i = 0; i < 64; ++i)
            office[i] = uchar(kOfficeDefaults[i / 4][i % 4]);
        const KeyTable device = KeyMatrix::translate(office, false);
        for (int n = 0; n < 16; ++n) {
            QStringList stored, firmware;
            for (int i = 0; i < 4; ++i) {
                stored << QString::number(office[n * 4 + i]);
                firmware << QString::number(device[n * 4 + i]);
            }
            QCOMPARE(factory.value(QString("mouseKeyMatrix/%1").arg(n)).toStringList(), stored);
            QCOMPARE(factory.value(QString("mouseFwKeyMatrix/%1").arg(n)).toStringList(), firmware);
        }
    }

    void translation_data()
    {
        QTest::addColumn<QString>("family");
        QTest::newRow("553") << "553";
        QTest::newRow("560") << "560";
    }
    // Every kind of entry in one table; without gun buttons that is exactly one command.
    void translation()
    {
        QFETCH(QString, family);
        MouseRig rig(family);
        QVERIFY(rig.start());
        QVariantList ui;
        for (const Translation &t : kTranslations)
            for (int v : t.ui)
                ui << v;
        rig.mouse->clearLog();
        DeviceContext ctx = rig.context();
        QVERIFY(KeyMatrix(ctx).set(0, ui, uiTable({2, 0, 4, 0}), true, {1, 2, 3}));

        QCOMPARE(rig.commands(), QStringList(family == "560" ? "0d 01" : "12 01"));
        const QByteArray table = rig.block("keyMatrices", 0);
        for (int n = 0; n < 16; ++n) {
            const Translation &t = kTranslations[n];
            QVERIFY2(table.mid(qsizetype(n) * 4, 4) == bytes(family == "560" ? t.to560 : t.to553),
                     t.what);
        }
    }

    void modeAndStorage_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("send");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("office") << 0 << true << repeated({1, 0, 0xF1, 0});
        QTest::newRow("game") << 1 << true << repeated({3, 0, 0xE9, 0});
        QTest::newRow("other modes are game") << 2 << true << repeated({3, 0, 0xE9, 0});
        QTest::newRow("stored only") << 1 << false << QByteArray(64, 0);
    }
    void modeAndStorage()
    {
        QFETCH(int, mode);
        QFETCH(bool, send);
        QFETCH(QByteArray, sent);
        MouseRig rig("553");
        QVERIFY(rig.start());
        rig.mouse->clearLog();
        DeviceContext ctx = rig.context();
        KeyMatrix keys(ctx);
        QVERIFY(keys.set(mode, uiTable({0, 0, 0xF1, 0}, {{15, {0, 0, 0x1F1, 0}}}),
                         uiTable({3, 0, 0xE9, 0}), send, {1, 2, 3}));
        QCOMPARE(rig.commands().size(), send ? 1 : 0);
        QCOMPARE(hex(rig.block("keyMatrices", 0)), hex(sent));

        // Both tables and the mode reach the file, the numbers as they were given.
        rig.settings->currentProfileSettings().sync();
        QSettings file(rig.runtime.path("modules/setting/p1.bin"), QSettings::IniFormat);
        QCOMPARE(file.value("mouse/mouseMode").toInt(), mode);
        QCOMPARE(file.value("mouseKeyMatrix/15").toStringList(),
                 QStringList({"0", "0", "497", "0"}));
        QCOMPARE(file.value("mouseKeyMatrix2/7").toStringList(),
                 QStringList({"3", "0", "233", "0"}));
        using Entry = std::array<int, 4>;
        QCOMPARE(StoredSettings(*rig.settings, false).storedEntry(1, 7), Entry({3, 0, 233, 0}));
        QCOMPARE(StoredSettings(*rig.settings, true).storedEntry(1, 5), Entry({8, 0, 1, 0}));
        QVERIFY(!StoredSettings(*rig.settings, false).storedEntry(0, 16));
    }

    void gunTables_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QByteArrayList>("tables");
        QTest::addColumn<int>("gunMask");
        const QByteArray plain = repeated({1, 0, 0xF0, 0});
        // Entry 0 carries the slot's period: 10, 20, and 300 as its low byte.
        const Entry period[3] = {{11, 0, 10, 0}, {11, 1, 20, 0}, {11, 2, 0x2C, 0}};
        const Entry f5 = fw(5), f6 = fw(6), f9 = fw(9), f10 = fw(10);
        const Entry on553 = {8, 0, 1, f10[3]};
        QTest::newRow("553") << "553"
                             << QByteArrayList{patched(plain, {{5, {8, 0, 1, 1}},
                                                               {6, {8, 0, 1, 1}},
                                                               {9, {8, 0, 1, 1}},
                                                               {10, {8, 0, 1, 0}}}),
                                               patched(fwTable(), {{0, period[0]},
                                                                   {5, {8, 0, 1, 2}},
                                                                   {6, {8, 0, 1, 0}},
                                                                   {9, {8, 0, 1, 2}},
                                                                   {10, on553}}),
                                               patched(fwTable(), {{0, period[1]},
                                                                   {5, {8, 0, 1, 3}},
                                                                   {6, {8, 0, 1, 0}},
                                                                   {9, {8, 0, 1, 0}},
                                                                   {10, on553}}),
                                               patched(fwTable(), {{0, period[2]},
                                                                   {5, {8, 0, 1, 0}},
                                                                   {6, {8, 0, 1, 0}},
                                                                   {9, {8, 0, 1, 0}},
                                                                   {10, on553}})}
                             << -1;
        const Entry on560 = {8, f10[1], f10[2], f10[3]};
        QTest::newRow("560") << "560"
                             << QByteArrayList{patched(plain, {{5, {8, 0, 1, 0}},
                                                               {6, {8, 0, 1, 0}},
                                                               {9, {8, 0, 1, 0}},
                                                               {10, {8, 0, 7, 0}}}),
                                               patched(fwTable(), {{0, period[0]},
                                                                   {5, {8, f5[1], 3, f5[3]}},
                                                                   {6, {8, f6[1], 0, f6[3]}},
                                                                   {9, {8, f9[1], 3, f9[3]}},
                                                                   {10, on560}}),
                                               patched(fwTable(), {{0, period[1]},
                                                                   {5, {8, f5[1], 3, f5[3]}},
                                                                   {6, {8, f6[1], 0, f6[3]}},
                                                                   {9, {8, f9[1], 0, f9[3]}},
                                                                   {10, on560}}),
                                               patched(fwTable(), {{0, period[2]},
                                                                   {5, {8, f5[1], 0, f5[3]}},
                                                                   {6, {8, f6[1], 0, f6[3]}},
                                                                   {9, {8, f9[1], 0, f9[3]}},
                                                                   {10, on560}})}
                             << 15; // the last button with a known slot (2) sets the mask
    }
    // Gun slots 3, 1, 2 and the unknown slot 7 on buttons 5, 6, 9 and 10 of the game table.
    void gunTables()
    {
        QFETCH(QString, family);
        QFETCH(QByteArrayList, tables);
        QFETCH(int, gunMask);
        MouseRig rig(family, true);
        QVERIFY(rig.start());
        storeFwTable(*rig.settings);
        for (int i = 0; i < kProfileBlockSize; ++i)
            rig.image[0][i] = uchar(0xA0 + i);
        // Move the mouse off the table the save must select.
        if (family == "560")
            rig.link->hid560_02H_SetCurrentProfile(3);
        else
            rig.link->hid553_02H_SetCurrentKeyMatrix(3);
        rig.mouse->clearLog();
        DeviceContext ctx = rig.context();
        const QVariantList game =
            uiTable({0, 0, 0xF0, 0},
                    {{5, {8, 0, 3, 0}}, {6, {8, 0, 1, 0}}, {9, {8, 0, 2, 0}}, {10, {8, 0, 7, 0}}});
        QVERIFY(KeyMatrix(ctx).set(1, uiTable({2, 0, 4, 0}), game, true, {10, 20, 300}));

        const QJsonObject state = rig.mouse->state();
        for (int t = 0; t < 4; ++t)
            QCOMPARE(state["keyMatrices"][t].toString(), held(family, tables[t]));
        if (family == "560") {
            QCOMPARE(rig.commands(),
                     QStringList({"0c 00", "0d 01", "0d 02", "0d 03", "0d 04", "02 01"}));
            QByteArray block0(reinterpret_cast<const char *>(rig.image[0]), kProfileBlockSize);
            QCOMPARE(int(uchar(block0[2])), gunMask);
            QCOMPARE(state["profiles"][0].toString(), hex(block0));
            QCOMPARE(state["currentProfile"].toInt(), 1);
        } else {
            QCOMPARE(rig.commands(), QStringList({"12 01", "12 02", "12 03", "12 04", "02 01"}));
            QCOMPARE(state["currentKeyMatrix"].toInt(), 1);
        }
    }

    void shortLists_data()
    {
        QTest::addColumn<QVariantList>("office");
        QTest::addColumn<QVariantList>("game");
        QTest::addColumn<QVariantList>("periods");
        QTest::addColumn<bool>("accepted");
        const QVariantList plain = uiTable({0, 0, 0xF0, 0});
        const QVariantList gun = uiTable({0, 0, 0xF0, 0}, {{4, {8, 0, 1, 0}}});
        QTest::newRow("office table of 63")
            << plain.mid(0, 63) << plain << QVariantList{1, 2, 3} << false;
        QTest::newRow("empty game table")
            << plain << QVariantList() << QVariantList{1, 2, 3} << false;
        QTest::newRow("gun buttons, two periods") << gun << plain << QVariantList{1, 2} << false;
        QTest::newRow("no gun buttons, no periods") << plain << gun << QVariantList() << true;
        QTest::newRow("longer lists")
            << plain + plain << plain + QVariantList{9} << QVariantList{1, 2, 3, 4} << true;
    }
    // A refused call stores nothing and sends nothing.
    void shortLists()
    {
        QFETCH(QVariantList, office);
        QFETCH(QVariantList, game);
        QFETCH(QVariantList, periods);
        QFETCH(bool, accepted);
        MouseRig rig("553");
        QVERIFY(rig.start());
        const QByteArray before = rig.runtime.read("modules/setting/p1.bin");
        rig.mouse->clearLog();
        DeviceContext ctx = rig.context();
        QCOMPARE(KeyMatrix(ctx).set(0, office, game, true, periods), accepted);
        rig.settings->currentProfileSettings().sync();
        QCOMPARE(rig.commands(), accepted ? QStringList("12 01") : QStringList());
        QCOMPARE(rig.runtime.read("modules/setting/p1.bin") == before, !accepted);
        if (accepted)
            QCOMPARE(hex(rig.block("keyMatrices", 0)), hex(repeated({1, 0, 0xF0, 0})));
    }

    void resetGunTables_data() { translation_data(); }
    // Missing or short firmware entries read as zeros; extra numbers are ignored.
    void resetGunTables()
    {
        QFETCH(QString, family);
        MouseRig rig(family);
        QVERIFY(rig.start());
        storeFwTable(*rig.settings);
        rig.settings->setData("mouseFwKeyMatrix/3", QVariantList{7, 1});
        rig.settings->setData("mouseFwKeyMatrix/12", QVariantList{1, 2, 3, 4, 5});
        rig.settings->currentProfileSettings().remove("mouseFwKeyMatrix/9");
        rig.mouse->clearLog();
        DeviceContext ctx = rig.context();
        KeyMatrix(ctx).resetGunTables();

        const QByteArray expected =
            patched(fwTable(), {{3, {7, 1, 0, 0}}, {9, {0, 0, 0, 0}}, {12, {1, 2, 3, 4}}});
        QCOMPARE(rig.commands(), family == "560" ? QStringList({"0d 02", "0d 03", "0d 04"})
                                                 : QStringList({"12 02", "12 03", "12 04"}));
        QCOMPARE(hex(rig.block("keyMatrices", 0)), held(family, QByteArray(64, 0)));
        for (int t = 1; t < 4; ++t)
            QCOMPARE(hex(rig.block("keyMatrices", t)), held(family, expected));
    }

    void switchTable_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("number");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<int>("active");
        QTest::newRow("553 table 1 is matrix 0") << "553" << 1 << QStringList("02 00") << 0;
        QTest::newRow("560 table 1 is profile 1") << "560" << 1 << QStringList("02 01") << 1;
        QTest::newRow("553 table 0 refused") << "553" << 0 << QStringList() << 3;
        QTest::newRow("560 table 5 refused") << "560" << 5 << QStringList() << 3;
    }
    void switchTable()
    {
        QFETCH(QString, family);
        QFETCH(int, number);
        QFETCH(QStringList, sent);
        QFETCH(int, active);
        MouseRig rig(family);
        QVERIFY(rig.start());
        const bool is560 = family == "560";
        if (is560)
            rig.link->hid560_02H_SetCurrentProfile(3);
        else
            rig.link->hid553_02H_SetCurrentKeyMatrix(3);
        rig.mouse->clearLog();
        DeviceContext ctx = rig.context();
        QCOMPARE(KeyMatrix(ctx).switchTo(number), !sent.isEmpty());
        QCOMPARE(rig.commands(), sent);
        QCOMPARE(rig.mouse->state()[is560 ? "currentProfile" : "currentKeyMatrix"].toInt(), active);
    }
};

QTEST_GUILESS_MAIN(TestKeyMatrix)
#include "tst_key_matrix.moc"
