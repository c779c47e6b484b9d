// The view's lighting, gun, option and pointer slots as QML calls them: QML's values reach the
// mouse, the files and the desktop's settings converted as the slots promise.

#include "support/mouse_rig.h"
#include "view/myqquickview.h"

#include <QTemporaryDir>
#include <QtTest>

class TestViewSettings : public QObject
{
    Q_OBJECT

private slots:
    void lightingSlots()
    {
        MouseRig rig("553");
        QVERIFY(rig.start());
        myQQuickView view;
        view.deviceLink = rig.link.get();
        view.isColorful = true;
        view.is55328 = true;

        view.mouseSetRGBEffect(8, 2, 4);
        QCOMPARE(rig.state("effect"), QStringLiteral("08 ff 0f"));
        view.mouseSetLedType(6, 50, 3, 0, numbers(45));
        QCOMPARE(rig.state("slaveAttributes").left(14), QStringLiteral("32 00 32 03 00"));
        view.mouseSetRGBColor(1, {9, 8, 7});
        QCOMPARE(rig.state("fixedColour"), QStringLiteral("09 08 07"));
        view.ui_10H_SetLED8StageColor(2, numbers(8));
        QCOMPARE(rig.state("stageColours"), QStringLiteral("21 43 65 87"));
        QCOMPARE(view.ui_90H_GetLED8StageColor(2), QVariantList({1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}));
        QVERIFY(view.chkIsLogoLedWork());
    }

    void gunAndOptionSlots()
    {
        MouseRig rig("553");
        QVERIFY(rig.start());
        myQQuickView view;
        view.deviceLink = rig.link.get();
        view.isGun = true;
        view.settings.currentProfileSettings().remove("XYSensitive");
        view.settings.currentProfileSettings().remove("selectGun");

        QCOMPARE(view.getXYSensitive(0), QVariant(4));
        QCOMPARE(view.getselectGun(2), QVariant(QString()));
        view.setXYSensitive(1, 6);
        view.setSelectGun(0, 3);
        QCOMPARE(view.getXYSensitive(1).toInt(), 6);
        QCOMPARE(view.getselectGun(0).toInt(), 3);

        view.mouseSetReportRate(4);
        QCOMPARE(rig.mouse->state()["reportRate"].toInt(), 4);
        view.mouseSetKeyboardoption(0, 0, 1, 0);
        QCOMPARE(view.GetKeyboardoption(), QVariantList({0, 0, 1, 0}));
        view.mouseSendGundata(2, {3, 4, 5});
        QCOMPARE(rig.mouse->state()["gun"].toArray().at(1).toObject()["y"].toInt(), 0xfb);

        view.mouseSaveGundata(7, {"G36", "L-Click", 9, 1, 2, 0});
        QCOMPARE(view.getGunData(7), QVariantList({"G36", "L-Click", "9", "1", "2", "0"}));
        view.modifyGundata(1, {"Scar", "L-Click", 10, 0, -10, 0, "7"});
        QCOMPARE(view.getGunData("Scar"), QVariantList({"L-Click", "10", "0", "-10", "0"}));
        QVERIFY(!view.getGunDataKey().contains("7"));

        // Rows as QML hands them over: [index, six values] each.
        view.mouseSaveGundataRows({QVariantList{0, "M416", "L-Click", "9", "0", "5", "12"},
                                   QVariantList{2, "M16A4", "L-Click", "9", "0", "8", "0"}});
        QCOMPARE(view.getGunData(0), QVariantList({"M416", "L-Click", "9", "0", "5", "12"}));
        QCOMPARE(view.getGunData(2), QVariantList({"M16A4", "L-Click", "9", "0", "8", "0"}));
    }

    // A KDE session whose files live in a private folder shows what each slot computed.
    void pointerSlots()
    {
        QTemporaryDir config;
        QVERIFY(config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        TestRuntime runtime;
        QVERIFY(runtime.isValid());
        myQQuickView view;
        const auto file = [&](const char *name) {
            QFile f(config.filePath(name));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };

        view.mouseSetCursorSpeed(0);
        QCOMPARE(file("kcminputrc"), "[Mouse]\nXLbInptPointerAcceleration=-1.000\n");
        view.mouseSetCursorSpeed(10);
        QCOMPARE(file("kcminputrc"), "[Mouse]\nXLbInptPointerAcceleration=1.000\n");
        view.mouseSetDoubleClickSpeed(0);
        QCOMPARE(file("kdeglobals"), "[KDE]\nDoubleClickInterval=900\n");
        view.mouseSetDoubleClickSpeed(10);
        view.mouseSetVerticalScrollLines(3);
        QTest::ignoreMessage(QtDebugMsg, "setVerticalScrollLines Failed");
        view.mouseSetVerticalScrollLines(0);
        QCOMPARE(file("kdeglobals"), "[KDE]\nDoubleClickInterval=200\nWheelScrollLines=3\n");
    }
};

QTEST_MAIN(TestViewSettings)
#include "tst_view_settings.moc"
