// Profile files: export to and import from ".pf" files, reset from the factory profile, copy of one
// slot over another, and what a refused or failed operation leaves behind.

#include "controller/profiles.h"
#include "support/mouse_rig.h"

#include <QDir>
#include <QtTest>

namespace
{

QString slotFile(int slot)
{
    return QStringLiteral("modules/setting/p%1.bin").arg(slot + 1);
}

// Gives every slot a file of its own, so that a copy or a stray write shows.
void markSlots(SettingsStore &settings)
{
    for (int slot = 0; slot < SettingsStore::kProfileCount; ++slot) {
        settings.setCurrentProfile(slot);
        settings.setData(QStringLiteral("test/slot"), slot);
        settings.currentProfileSettings().sync();
    }
    settings.setCurrentProfile(0);
}

QList<QByteArray> allSlots(const TestRuntime &runtime)
{
    QList<QByteArray> files;
    for (int slot = 0; slot < SettingsStore::kProfileCount; ++slot)
        files << runtime.read(slotFile(slot));
    return files;
}

enum Operation { Import, Export, Reset, Copy };

} // namespace

class TestProfiles : public QObject
{
    Q_OBJECT

private slots:
    void exportSlot_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::newRow("new file") << false;
        QTest::newRow("replaces an existing file") << true;
    }
    void exportSlot()
    {
        QFETCH(bool, existing);
        MouseRig rig;
        QVERIFY(rig.start());
        const QString target = rig.runtime.path("out/mine.pf");
        QVERIFY(QDir().mkpath(rig.runtime.path("out")));
        if (existing)
            QVERIFY(rig.runtime.write("out/mine.pf", QByteArray(5000, 'x')));
        // A change the settings object still holds goes out with the file.
        rig.settings->setData("mouse/lod", 9);
        DeviceContext ctx = rig.context();
        QVERIFY(Profiles(ctx).exportFile(0, target));
        const QByteArray p1 = rig.runtime.read(slotFile(0));
        QVERIFY(p1.contains("lod=9"));
        QCOMPARE(rig.runtime.read("out/mine.pf"), p1);
    }

    void importIntoCurrentSlot()
    {
        MouseRig rig;
        QVERIFY(rig.start());
        markSlots(*rig.settings);
        const QList<QByteArray> before = allSlots(rig.runtime);
        const QByteArray imported = "[mouse]\nlod=7\n[mouseKeyMatrix]\n0=4, 0, 0, 0\n";
        QVERIFY(rig.runtime.write("friend.pf", imported));
        rig.settings->setCurrentProfile(3);
        DeviceContext ctx = rig.context();
        QVERIFY(Profiles(ctx).importFile(3, rig.runtime.path("friend.pf")));

        QCOMPARE(rig.settings->data("mouse/lod", false).toInt(), 7);
        QCOMPARE(rig.settings->data("test/slot", false), QVariant());
        QCOMPARE(rig.runtime.read(slotFile(3)), imported);
        for (int slot = 0; slot < SettingsStore::kProfileCount; ++slot)
            if (slot != 3)
                QCOMPARE(rig.runtime.read(slotFile(slot)), before[slot]);
    }

    void resetSlot()
    {
        MouseRig rig;
        QVERIFY(rig.start());
        markSlots(*rig.settings);
        const QList<QByteArray> before = allSlots(rig.runtime);
        DeviceContext ctx = rig.context();
        QVERIFY(Profiles(ctx).reset(2));
        const QByteArray factory = rig.runtime.read("modules/setting/pD.bin");
        QVERIFY(!factory.isEmpty());
        QCOMPARE(rig.runtime.read(slotFile(2)), factory);
        for (int slot = 0; slot < SettingsStore::kProfileCount; ++slot)
            if (slot != 2)
                QCOMPARE(rig.runtime.read(slotFile(slot)), before[slot]);
        rig.settings->setCurrentProfile(2);
        QCOMPARE(rig.settings->data("test/slot", false), QVariant());
    }

    void copySlot_data()
    {
        QTest::addColumn<int>("dest");
        QTest::addColumn<int>("src");
        QTest::newRow("5 over 0") << 0 << 5;
        QTest::newRow("0 over 5") << 5 << 0;
        QTest::newRow("onto itself") << 3 << 3;
    }
    void copySlot()
    {
        QFETCH(int, dest);
        QFETCH(int, src);
        MouseRig rig;
        QVERIFY(rig.start());
        markSlots(*rig.settings);
        const QList<QByteArray> before = allSlots(rig.runtime);
        rig.settings->setCurrentProfile(dest);
        DeviceContext ctx = rig.context();
        QVERIFY(Profiles(ctx).copy(dest, src));

        QList<QByteArray> expected = before;
        expected[dest] = before[src];
        QCOMPARE(allSlots(rig.runtime), expected);
        QCOMPARE(rig.settings->data("test/slot", false).toInt(), src);
    }

    void refused_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("other");
        QTest::addColumn<QString>("file");
        QTest::newRow("import of a missing file") << int(Import) << 1 << 0 << "none/x.pf";
        QTest::newRow("import of a folder") << int(Import) << 1 << 0 << "modules";
        QTest::newRow("import into -1") << int(Import) << -1 << 0 << "any.pf";
        QTest::newRow("import into 10") << int(Import) << 10 << 0 << "any.pf";
        QTest::newRow("export 10") << int(Export) << 10 << 0 << "any.pf";
        QTest::newRow("reset 10") << int(Reset) << 10 << 0 << "";
        QTest::newRow("reset without pD.bin") << int(Reset) << 1 << 0 << "";
        QTest::newRow("copy over 10") << int(Copy) << 10 << 0 << "";
        QTest::newRow("copy from -1") << int(Copy) << 0 << -1 << "";
    }
    // A refused or failed operation changes no file.
    void refused()
    {
        QFETCH(int, operation);
        QFETCH(int, slot);
        QFETCH(int, other);
        QFETCH(QString, file);
        MouseRig rig;
        QVERIFY(rig.start());
        markSlots(*rig.settings);
        const QList<QByteArray> before = allSlots(rig.runtime);
        QVERIFY(rig.runtime.write("any.pf", "[mouse]\nlod=1\n"));
        if (QByteArray(QTest::currentDataTag()).contains("pD.bin"))
            QVERIFY(QFile::remove(rig.runtime.path("modules/setting/pD.bin")));
        rig.settings->setCurrentProfile(1);
        DeviceContext ctx = rig.context();
        Profiles profiles(ctx);
        const QString path = rig.runtime.path(file);
        const bool done = operation == Import   ? profiles.importFile(slot, path)
                          : operation == Export ? profiles.exportFile(slot, path).ok()
                          : operation == Reset  ? profiles.reset(slot).ok()
                                                : profiles.copy(slot, other).ok();
        QVERIFY(!done);
        QCOMPARE(allSlots(rig.runtime), before);
        QCOMPARE(rig.runtime.read("any.pf"), QByteArray("[mouse]\nlod=1\n"));
        QCOMPARE(rig.settings->data("test/slot", false).toInt(), 1);
        QVERIFY(!QFile::exists(rig.runtime.path("modules/setting/p0.bin")));
        QVERIFY(!QFile::exists(rig.runtime.path("modules/setting/p11.bin")));
    }
};

QTEST_GUILESS_MAIN(TestProfiles)
#include "tst_profiles.moc"
