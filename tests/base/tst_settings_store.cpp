// The settings store over real files in a private copy of the runtime data.

#include "base/settings_store.h"
#include "support/test_runtime.h"
#include "view/myqquickview.h"

#include <QDir>
#include <QtTest>

#include <memory>

class TestSettingsStore : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;

private slots:
    void init()
    {
        runtime = std::make_unique<TestRuntime>();
        QVERIFY(runtime->isValid());
    }
    void cleanup() { runtime.reset(); }

    void recoveryReadsFactoryFileWhateverTheProfile()
    {
        QVERIFY(runtime->write("modules/setting/pD.bin", "[mouse]\nlod=168\n"));
        QVERIFY(runtime->write("modules/setting/p6.bin", "[mouse]\nlod=330\n"));
        const QByteArray factory = runtime->read("modules/setting/pD.bin");
        {
            SettingsStore store;
            QVERIFY(store.setCurrentProfile(5));
            QCOMPARE(store.data("mouse/lod", true).toInt(), 168);
            QCOMPARE(store.data("mouse/lod", false).toInt(), 330);
            store.setData("mouse/lod", 3);
            QVERIFY(!store.data("mouse/absent", true).isValid());
        }
        QCOMPARE(runtime->read("modules/setting/pD.bin"), factory);
    }

    void setDataWritesTheCurrentProfileFile()
    {
        const QByteArray p1 = runtime->read("modules/setting/p1.bin");
        {
            SettingsStore store;
            QVERIFY(store.setCurrentProfile(3));
            store.setData("mouse/lod", 5);
        }
        QSettings p4(runtime->path("modules/setting/p4.bin"), QSettings::IniFormat);
        QCOMPARE(p4.value("mouse/lod").toInt(), 5);
        QVERIFY(runtime->read("modules/setting/p4.bin").contains("lod=5"));
        QCOMPARE(runtime->read("modules/setting/p1.bin"), p1);
    }

    void listsFromSingleAndMissingValues()
    {
        SettingsStore store;
        store.setData("mouse/single", 7);
        QCOMPARE(store.dataList("mouse/single", false).size(), 1);
        QCOMPARE(store.dataList("mouse/single", false).first().toInt(), 7);
        QVERIFY(store.dataList("mouse/missing", false).isEmpty());
        store.setData("mouse/list", QVariantList{1, 2, 3});
        QCOMPARE(store.dataList("mouse/list", false).size(), 3);
        // The shipped factory profile holds eight DPI values.
        QCOMPARE(store.dataList("mouse/dpiValueArray", true).size(), 8);
    }

    void profileOutsideRangeIsRefused()
    {
        SettingsStore store;
        QVERIFY(store.setCurrentProfile(9));
        QVERIFY(!store.setCurrentProfile(10));
        QVERIFY(!store.setCurrentProfile(-1));
        QCOMPARE(store.currentProfile(), 9);
    }

    void resetGlobalCopiesDefaultsKeepingTraits()
    {
        QVERIFY(runtime->write(
            "modules/setting/apConfigD.bin",
            runtime->read("modules/setting/apConfigD.bin").replace("icType=553", "icType=560")));
        myQQuickView view;
        QCOMPARE(view.icType, QStringLiteral("553"));
        view.setGlobalData("common/language", "German");
        view.resetApconfig();
        QCOMPARE(runtime->read("modules/setting/apConfig.bin"),
                 runtime->read("modules/setting/apConfigD.bin"));
        QCOMPARE(view.getGlobalData("mouse/icType").toString(), QStringLiteral("560"));
        QCOMPARE(view.getGlobalData("common/language").toString(), QStringLiteral("English"));
        // Traits read at construction stay.
        QCOMPARE(view.icType, QStringLiteral("553"));
        // Later writes land in the new file.
        view.setGlobalData("mouse/profileNo", 2);
        view.settings.global().sync();
        QSettings check(runtime->path("modules/setting/apConfig.bin"), QSettings::IniFormat);
        QCOMPARE(check.value("mouse/profileNo").toInt(), 2);
    }

    void resetGlobalWithoutDefaultsKeepsTheFile_data()
    {
        QTest::addColumn<bool>("asFolder");
        QTest::newRow("defaults missing") << false;
        QTest::newRow("defaults unreadable") << true;
    }
    void resetGlobalWithoutDefaultsKeepsTheFile()
    {
        QFETCH(bool, asFolder);
        QVERIFY(QFile::remove(runtime->path("modules/setting/apConfigD.bin")));
        if (asFolder)
            QVERIFY(QDir().mkdir(runtime->path("modules/setting/apConfigD.bin")));
        const QByteArray before = runtime->read("modules/setting/apConfig.bin");
        SettingsStore store;
        QVERIFY(!store.resetGlobal());
        QCOMPARE(runtime->read("modules/setting/apConfig.bin"), before);
        QCOMPARE(store.globalData("common/deviceCount").toInt(), 2);
    }

    void viewReadsTraitsAtConstruction()
    {
        myQQuickView view;
        QCOMPARE(view.isColorful, true);
        QCOMPARE(view.isGun, true);
        QCOMPARE(view.is55328, false);
        QCOMPARE(view.icType, QStringLiteral("553"));
        QVERIFY(view.gunCapable());
        QVERIFY(!view.family560());
    }

    void viewSlotsConvertAndDelegate()
    {
        myQQuickView view;
        view.setCurrentProfile(2);
        view.setCurrentProfile(12); // refused, stays at 2
        view.setData(QVariant("mouse/mouseRate"), 29);
        view.setDataList(QVariant("mouse/dpiEnableArray"), QVariantList{1, 0, 1});
        QCOMPARE(view.getData("mouse/mouseRate", false).toInt(), 29);
        QCOMPARE(view.getDataList("mouse/dpiEnableArray", false).size(), 3);
        QCOMPARE(view.settings.currentProfile(), 2);
        view.openUpdateExe();
        QCOMPARE(view.getData("mouse/mouseRate", true).toInt(), 163);
    }
};

QTEST_MAIN(TestSettingsStore)
#include "tst_settings_store.moc"
