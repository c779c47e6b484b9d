// English is drawn in Rajdhani Bold, which has Latin only. The row labels ① … ⑦, the arrows and
// the tick of the key names, and the language list's names of the other languages come from
// fallback fonts, glyph by glyph; none of them may be drawn as an empty box.

#include "support/glyphs.h"
#include "support/test_runtime.h"

#include <QFile>
#include <QFontDatabase>
#include <QRegularExpression>
#include <QSettings>
#include <QtTest>

class TestGlyphFallback : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;

private slots:
    void initTestCase()
    {
        runtime = std::make_unique<TestRuntime>();
        const int id = QFontDatabase::addApplicationFont(":/modules/fonts/Rajdhani-Bold.ttf");
        QVERIFY(id >= 0);
        // The family the look asks for.
        QCOMPARE(QFontDatabase::applicationFontFamilies(id), QStringList{"Rajdhani"});
    }

    void englishTextsDraw()
    {
        QSettings file(runtime->path("modules/i18n/English.ini"), QSettings::IniFormat);
        QStringList boxes;
        int texts = 0;
        for (const QString &key : file.allKeys()) {
            if (key.endsWith("/total"))
                continue;
            ++texts;
            const QString text = file.value(key).toString();
            if (drawsBoxes(text, "Rajdhani"))
                boxes << key + "=" + text;
        }
        QVERIFY(texts > 300);
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join(", ")));
    }

    void rowLabelsAndLanguageNamesDraw_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("row labels") << QStringLiteral("①②③④⑤⑥⑦");
        QTest::newRow("arrows and tick") << QStringLiteral("► ◄ ▲ ▼ ✓");
        // The names as the menu bar's list shows them.
        QFile script(":/modules/qml/js/Language.js");
        QVERIFY(script.open(QIODevice::ReadOnly));
        const QString source = QString::fromUtf8(script.readAll());
        const QString names = source.section("nativeNames = [", 1).section(']', 0, 0);
        const QRegularExpression quoted("\"([^\"]+)\"");
        int found = 0;
        for (auto it = quoted.globalMatch(names); it.hasNext(); ++found) {
            const QString name = it.next().captured(1);
            QTest::newRow(qPrintable(name)) << name;
        }
        QCOMPARE(found, 7);
    }
    void rowLabelsAndLanguageNamesDraw()
    {
        QFETCH(QString, text);
        QVERIFY(!drawsBoxes(text, "Rajdhani"));
        QVERIFY(!drawsBoxes(text, "WenQuanYi Micro Hei"));
    }

    // The check sees a glyph that no font has.
    void aMissingGlyphIsSeen() { QVERIFY(drawsBoxes(QString(QChar(0xE000)) + "A", "Rajdhani")); }
};

QTEST_MAIN(TestGlyphFallback)
#include "tst_glyph_fallback.moc"
