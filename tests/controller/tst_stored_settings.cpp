// The rules that read what the settings files keep: each setting's default, its validation and
// what it becomes for the mouse, on odd stored texts as owners' files and older versions hold
// them. The window's pages and tk700ctl both read through these.

#include "controller/stored_settings.h"

#include <QtTest>

class TestStoredSettings : public QObject
{
    Q_OBJECT

private slots:
    void rules_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QVariant>("expected");
        // The report-rate list position; what is none of its four is 1000 Hz (code 1).
        QTest::newRow("rate 250 Hz") << "rate" << QVariant("1") << QVariant(4);
        QTest::newRow("rate 500 Hz, trailing text") << "rate" << QVariant(" 2Hz") << QVariant(2);
        QTest::newRow("rate position 3") << "rate" << QVariant(3) << QVariant(1);
        QTest::newRow("rate -1") << "rate" << QVariant(-1) << QVariant(1);
        QTest::newRow("rate no number") << "rate" << QVariant("fast") << QVariant(1);
        QTest::newRow("rate missing") << "rate" << QVariant() << QVariant(1);
        // The lift-off knob: snapped to a mark, then the rule's rate. 174 is the old default.
        QTest::newRow("lod left mark") << "lod" << QVariant(3) << QVariant(125);
        QTest::newRow("lod middle") << "lod" << QVariant(168) << QVariant(108);
        QTest::newRow("lod between, to the middle") << "lod" << QVariant(100) << QVariant(108);
        QTest::newRow("lod right") << "lod" << QVariant(250) << QVariant(90);
        QTest::newRow("lod old default") << "lod" << QVariant(174) << QVariant(108);
        QTest::newRow("lod negative is 0") << "lod" << QVariant("-40") << QVariant(125);
        QTest::newRow("lod no number") << "lod" << QVariant("far") << QVariant(125);
        // A stored "#rrggbb": what cannot be read is 0.
        QTest::newRow("colour") << "colour" << QVariant("#ff8000") << QVariant("255 128 0");
        QTest::newRow("colour short") << "colour" << QVariant("#12") << QVariant("18 0 0");
        QTest::newRow("colour name") << "colour" << QVariant("red") << QVariant("237 0 0");
        QTest::newRow("colour bad digits") << "colour" << QVariant("#zz0f0f") << QVariant("0 15 15");
        QTest::newRow("colour empty") << "colour" << QVariant("") << QVariant("0 0 0");
        // A DPI stage as the panel's slider shows and sends it (range 500 ... 7000, base 500).
        QTest::newRow("dpi on a step") << "dpi" << QVariant(1500) << QVariant(1500);
        QTest::newRow("dpi between steps") << "dpi" << QVariant(1234) << QVariant(1000);
        QTest::newRow("dpi just below a step") << "dpi" << QVariant(1990) << QVariant(1500);
        QTest::newRow("dpi top") << "dpi" << QVariant(7000) << QVariant(7000);
        QTest::newRow("dpi below the range") << "dpi" << QVariant(250) << QVariant(0);
    }

    void rules()
    {
        QFETCH(QString, rule);
        QFETCH(QVariant, stored);
        QFETCH(QVariant, expected);
        QVariant got;
        if (rule == "rate") {
            got = int(stored::reportRateCode(stored::reportRatePosition(stored)));
        } else if (rule == "lod") {
            got = stored::lodRate(stored::lodSnap(stored::storedOffset(stored, 168)));
        } else if (rule == "colour") {
            const auto l = stored::colourLevels(stored.toString());
            got = QStringLiteral("%1 %2 %3").arg(l[0]).arg(l[1]).arg(l[2]);
        } else {
            got = stored::dpiShownValue(stored.toInt(), {});
        }
        QCOMPARE(got.toString(), expected.toString());
    }

    // Whole settings read from odd files: each value falls back alone, never to another
    // profile's value.
    void oddProfile()
    {
        const QVariantMap profile = {
            {"mouse/mouseMode", "2"},
            {"mouse/currentDpiCount", "3 stages"},
            {"mouse/dpiValueArray", QStringList{"800", "abc"}},
            {"mouse/dpiEnableArray", QStringList{"1", "0"}},
            {"mouseKeyMatrix/0", QStringList{"x", "0", "240", "0"}},
            {"mouseKeyMatrix/1", QStringList{"1", "2"}},
            {"mouseKeyMatrix/2", QStringList{" 2 ", "0x01", "29", "0"}},
            {"mouseLight/lightCount", "9"},
            {"mouseLight/lightName", QStringList{"Work", "nullslotmark"}},
            {"mouseLight/lightValue", QStringList{"9", "x", "99", "-2"}},
            {"mouseLight/colorValue", QStringList{"300", "-1", "abc"}},
            {"mouseLight/colorIndex", "40"},
            {"mouse/lodEn", "yes"},
            {"mouse/scrollRate", "lots"},
        };
        const QVariantMap global = {{"mouse/minDPI", "100"}, {"mouse/maxDPI", "50"},
                                    {"mouse/selectGun", QStringList{"5", "7", "1.5"}}};
        const StoredSettings s(profile, global);
        QCOMPARE(s.mode(), 0); // only 1 is game mode
        const StoredDpi dpi = s.dpi();
        QCOMPARE(dpi.current, 3);
        QCOMPARE(dpi.range.min, 500); // a range the formulas cannot use keeps the built-in one
        // A list with an item that is no number keeps the defaults whole; a short one is filled.
        QCOMPARE(dpi.values[0], 0);
        QCOMPARE(dpi.values[7], 2000);
        QCOMPARE(dpi.enables[1], 0);
        QCOMPARE(dpi.enables[2], 1);
        QCOMPARE(dpi.colours[0], QString("#ff0000"));
        // Buttons: a non-number or short entry is the button's built-in one; blanks and 0x count.
        const auto builtIn = builtInEntries(0);
        QCOMPARE(s.entry(0, 0), builtIn[0]);
        QCOMPARE(s.entry(0, 1), builtIn[1]);
        QCOMPARE(s.entry(0, 2), (std::array<int, 4>{2, 1, 29, 0}));
        QCOMPARE(s.entry(1, 5), (std::array<int, 4>{8, 0, 1, 0}));
        const StoredLight light = s.light();
        QCOMPARE(light.count, 1);
        QCOMPARE(light.names, QStringList{"Work"});
        QCOMPARE(light.effect, 0);
        QCOMPARE(light.speed, 0);
        QCOMPARE(light.brightness, 10);
        QCOMPARE(light.direction, 0);
        QCOMPARE(light.colourIndex, 0);
        QCOMPARE(light.colours[0], (std::array<uchar, 3>{255, 0, 0}));
        const StoredSystem system = s.system();
        QVERIFY(!system.lodEnabled);
        QVERIFY(!system.scroll);
        // A gun row outside 0 ... 5 or not whole gives the slot its own row.
        QCOMPARE(s.gunSlotRows(), (std::array<int, 3>{5, 1, 2}));
    }

    void everyKeyIsKnownOnce()
    {
        QVERIFY(stored::isKnown("mouseLight/colorIndex3", stored::File::Profile));
        QVERIFY(stored::isKnown("mouseMacroKey2/7", stored::File::Profile));
        QVERIFY(!stored::isKnown("mouse/profileNo", stored::File::Profile));
        QVERIFY(!stored::isKnown("mouse/lodX", stored::File::Profile));
        QSet<QString> keys;
        for (const stored::Key &k : stored::kKeys) {
            QVERIFY2(!keys.contains(k.key), k.key);
            keys.insert(k.key);
        }
    }
};

QTEST_GUILESS_MAIN(TestStoredSettings)
#include "tst_stored_settings.moc"
