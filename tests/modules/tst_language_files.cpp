// The shipped language files: the same layout as English, texts the program reads back exactly,
// key names that convert back to their codes, and glyphs that each language's font can draw.

#include "controller/language_strings.h"
#include "support/test_runtime.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QSettings>
#include <QStringDecoder>
#include <QtTest>

namespace
{

const QStringList kLanguages = {
    "English", "ChineseSimplified", "ChineseTraditional", "German", "French", "Italian", "Spanish"};
const QStringList kGroups = {"keyMatrix",   "keyAssigment",     "dpiSetting", "lightControl",
                             "macroEditor", "systemSetting",    "gunControl", "profile",
                             "keyCode",     "warningAssigment", "other",      "start"};
const QString kCjkFamily = QStringLiteral("WenQuanYi Micro Hei");

// 0x31 and 0x32 share the name "\"; every other key name must lead back to one code.
constexpr int kBackslashA = 45;
constexpr int kBackslashB = 46;
// The macro editor writes these names into macro files itself, whatever the language.
constexpr int kFirstMouseName = 128;

struct RawValue {
    QString group;
    QString key;
    QString text; // as the file means it, quotes and escapes removed
    QString problem;
};

// Reads the file line by line, the way a translator sees it, and applies the README's rules.
QList<RawValue> rawValues(const QString &content)
{
    QList<RawValue> values;
    QString group;
    const QStringList lines = content.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            group = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        RawValue v{group, line.left(eq), line.mid(eq + 1), {}};
        if (v.text.size() >= 2 && v.text.startsWith(QLatin1Char('"')) &&
            v.text.endsWith(QLatin1Char('"'))) {
            QString inner = v.text.mid(1, v.text.size() - 2);
            QString plain;
            for (int i = 0; i < inner.size(); ++i) {
                if (inner.at(i) == QLatin1Char('\\') && i + 1 < inner.size())
                    ++i;
                plain += inner.at(i);
            }
            v.text = plain;
        } else {
            static const QString special = QStringLiteral(",;=\\\"");
            for (const QChar c : v.text) {
                if (special.contains(c))
                    v.problem = QStringLiteral("unquoted '%1'").arg(c);
            }
            if (v.text != v.text.trimmed())
                v.problem = QStringLiteral("unquoted blank at an end");
        }
        values << v;
    }
    return values;
}

QString describe(uint ucs4)
{
    return QStringLiteral("U+%1 %2")
        .arg(ucs4, 4, 16, QLatin1Char('0'))
        .toUpper()
        .arg(QString::fromUcs4(reinterpret_cast<const char32_t *>(&ucs4), 1));
}

// Characters that need no glyph of their own.
bool isBlankOrControl(uint ucs4)
{
    const auto category = QChar::category(ucs4);
    return QChar::isSpace(ucs4) || category == QChar::Other_Control ||
           category == QChar::Other_Format;
}

} // namespace

class TestLanguageFiles : public QObject
{
    Q_OBJECT

private:
    TestRuntime runtime;
    QString rajdhaniFamily;

    // The font with fallbacks switched off: otherwise Qt answers inFontUcs4 from any installed
    // font and a missing glyph would never show.
    bool languageFont(const QString &lang, QFont *font)
    {
        const QString family = lang == QLatin1String("English") ? rajdhaniFamily : kCjkFamily;
        if (family.isEmpty())
            return false;
        *font = QFont(family);
        font->setStyleStrategy(QFont::NoFontMerging);
        return QFontInfo(*font).family() == family;
    }

    QStringList keyNames(const QString &lang) { return languageStrings("keyCode", lang); }

private slots:
    void initTestCase()
    {
        QVERIFY(runtime.isValid());
        const QString file = QStringLiteral(TK700_FONT_DIR "/Rajdhani-Bold.ttf");
        const int id = QFontDatabase::addApplicationFont(file);
        QVERIFY2(id >= 0, qPrintable("cannot load the English font " + file));
        rajdhaniFamily = QFontDatabase::applicationFontFamilies(id).value(0);
        QVERIFY2(QFontDatabase::families().contains(kCjkFamily),
                 qPrintable("font \"" + kCjkFamily +
                            "\" is not installed (package fonts-wqy-microhei, "
                            "scripts/install-deps.sh)"));
    }

    void sameLayoutAsEnglish_data()
    {
        QTest::addColumn<QString>("lang");
        for (const QString &lang : kLanguages.mid(1))
            QTest::newRow(qPrintable(lang)) << lang;
    }

    void sameLayoutAsEnglish()
    {
        QFETCH(QString, lang);
        const QString path = runtime.path("modules/i18n/" + lang + ".ini");
        QVERIFY2(QFile::exists(path), qPrintable(path));
        QSettings english(runtime.path("modules/i18n/English.ini"), QSettings::IniFormat);
        QSettings file(path, QSettings::IniFormat);
        QCOMPARE(file.status(), QSettings::NoError);

        QStringList englishGroups = english.childGroups();
        QStringList groups = file.childGroups();
        englishGroups.sort();
        groups.sort();
        QCOMPARE(groups, englishGroups);

        for (const QString &group : kGroups) {
            const int total = english.value(group + "/total").toInt();
            QVERIFY2(total > 0, qPrintable(group));
            file.beginGroup(group);
            QStringList keys = file.childKeys();
            file.endGroup();
            QStringList expectedKeys = {QStringLiteral("total")};
            for (int i = 0; i < total; ++i)
                expectedKeys << QString::number(i);
            keys.sort();
            expectedKeys.sort();
            QVERIFY2(keys == expectedKeys, qPrintable(group + ": keys differ from English"));

            const QStringList englishTexts = languageStrings(group, "English");
            const QStringList texts = languageStrings(group, lang);
            QCOMPARE(texts.size(), englishTexts.size());
            for (int i = 0; i < total; ++i) {
                const QString where = group + "/" + QString::number(i);
                if (!englishTexts.at(i).isEmpty())
                    QVERIFY2(!texts.at(i).isEmpty(), qPrintable(where + " is empty"));
                // A caption that English ends with a blank is followed by more text.
                if (englishTexts.at(i).endsWith(QLatin1Char(' ')))
                    QVERIFY2(texts.at(i).endsWith(QLatin1Char(' ')),
                             qPrintable(where + " lost its trailing blank"));
            }
        }
    }

    void fileSaysWhatTheProgramReads_data()
    {
        QTest::addColumn<QString>("lang");
        for (const QString &lang : kLanguages)
            QTest::newRow(qPrintable(lang)) << lang;
    }

    // UTF-8 without BOM, the quoting rules kept, and every value read back as written: an
    // unquoted comma turns a text into a list and a semicolon starts a comment.
    void fileSaysWhatTheProgramReads()
    {
        QFETCH(QString, lang);
        const QByteArray bytes = runtime.read("modules/i18n/" + lang + ".ini");
        QVERIFY(!bytes.isEmpty());
        QVERIFY2(!bytes.startsWith("\xEF\xBB\xBF"), "file starts with a byte order mark");
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString decoded = decoder(bytes);
        QVERIFY2(!decoder.hasError(), "file is not valid UTF-8");

        int checked = 0;
        for (const RawValue &v : rawValues(decoded)) {
            const QString where = v.group + "/" + v.key;
            QVERIFY2(v.problem.isEmpty(), qPrintable(where + ": " + v.problem));
            if (v.key == QLatin1String("total"))
                continue;
            const QStringList texts = languageStrings(v.group, lang);
            const int index = v.key.toInt();
            QVERIFY2(index < texts.size(), qPrintable(where + " is beyond total"));
            QVERIFY2(texts.at(index) == v.text,
                     qPrintable(where + " reads as \"" + texts.at(index) + "\""));
            ++checked;
        }
        qsizetype texts = 0;
        for (const QString &group : kGroups)
            texts += languageStrings(group, "English").size();
        QCOMPARE(checked, texts);
    }

    // A name turns back into its code (strTokeycode) for fire keys, combinations and macros; a
    // macro recorded in one language must still find its keys in another.
    void keyNameMeansOneKeyInEveryLanguage()
    {
        QHash<QString, int> codeIndexOfName;
        const QStringList english = keyNames("English");
        QCOMPARE(english.size(), 133);
        for (const QString &lang : kLanguages) {
            const QStringList names = keyNames(lang);
            QCOMPARE(names.size(), english.size());
            for (int i = 0; i < names.size(); ++i) {
                const int key = i == kBackslashB ? kBackslashA : i;
                const auto it = codeIndexOfName.constFind(names.at(i));
                if (it != codeIndexOfName.constEnd())
                    QVERIFY2(*it == key,
                             qPrintable(QStringLiteral("%1: \"%2\" names keys %3 and %4")
                                            .arg(lang, names.at(i))
                                            .arg(*it)
                                            .arg(i)));
                codeIndexOfName.insert(names.at(i), key);
            }
            for (int i = kFirstMouseName; i < names.size(); ++i)
                QCOMPARE(names.at(i), english.at(i));
        }
    }

    void trayNotesNameTheirStage_data()
    {
        QTest::addColumn<QString>("lang");
        for (const QString &lang : kLanguages)
            QTest::newRow(qPrintable(lang)) << lang;
    }

    void trayNotesNameTheirStage()
    {
        QFETCH(QString, lang);
        const QStringList notes = languageStrings("other", lang);
        QCOMPARE(notes.size(), 10);
        // The profile notes: the profile's name, and in the first the application.
        QVERIFY(notes.at(8).contains("%1") && notes.at(8).contains("%2"));
        QVERIFY(notes.at(9).contains("%1") && !notes.at(9).contains("%2"));
        for (int stage = 1; stage <= 8; ++stage) {
            QString digits;
            for (const QChar c : notes.at(stage - 1)) {
                if (c.isDigit())
                    digits += c;
            }
            // The eighth note stands for any other stage and names none.
            QCOMPARE(digits, stage <= 7 ? QString::number(stage) : QString());
        }
    }

    void fontChecksSeeOnlyTheFontItself()
    {
        QFont rajdhani, cjk;
        QVERIFY(languageFont("English", &rajdhani));
        QVERIFY(languageFont("German", &cjk));
        // Each font lacks what the other has: a check through fallbacks would find both.
        QVERIFY(!QFontMetrics(rajdhani).inFontUcs4(0x4E2D)); // CJK ideograph
        QVERIFY(!QFontMetrics(cjk).inFontUcs4(0x0905));      // Devanagari A
        QVERIFY(QFontMetrics(rajdhani).inFontUcs4(0x0905));
        QVERIFY(QFontMetrics(cjk).inFontUcs4(0x4E2D));
    }

    void textsAreInTheirFont_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("group");
        for (const QString &lang : kLanguages) {
            for (const QString &group : kGroups)
                QTest::newRow(qPrintable(lang + "/" + group)) << lang << group;
        }
    }

    void textsAreInTheirFont()
    {
        QFETCH(QString, lang);
        QFETCH(QString, group);
        QFont font;
        QVERIFY2(languageFont(lang, &font),
                 qPrintable(lang + ": font \"" + font.family() + "\" is not available"));
        const QFontMetrics metrics(font);
        const QStringList texts = languageStrings(group, lang);
        QVERIFY(!texts.isEmpty());

        QStringList missing;
        for (int i = 0; i < texts.size(); ++i) {
            for (const uint c : texts.at(i).toUcs4()) {
                if (!isBlankOrControl(c) && !metrics.inFontUcs4(c))
                    missing << QStringLiteral("%1/%2 %3").arg(group).arg(i).arg(describe(c));
            }
        }
        if (!missing.isEmpty())
            qInfo().noquote() << lang << "glyphs missing from" << font.family() << ":"
                              << missing.join(QLatin1String(", "));
        QEXPECT_FAIL("English/keyCode",
                     "Rajdhani Bold has no arrows (► ◄ ▲ ▼): they come from a fallback font",
                     Continue);
        QEXPECT_FAIL("English/warningAssigment",
                     "Rajdhani Bold has no tick (✓): it comes from a fallback font", Continue);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1String(", "))));
    }

    // The button rows are labelled ① ... ⑦ in whatever language is chosen.
    void circledRowLabelsInBothFonts_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::newRow("Rajdhani Bold") << QStringLiteral("English");
        QTest::newRow("WenQuanYi Micro Hei") << QStringLiteral("ChineseSimplified");
    }

    void circledRowLabelsInBothFonts()
    {
        QFETCH(QString, lang);
        QFont font;
        QVERIFY(languageFont(lang, &font));
        const QFontMetrics metrics(font);
        QStringList missing;
        for (uint c = 0x2460; c <= 0x2466; ++c) {
            if (!metrics.inFontUcs4(c))
                missing << describe(c);
        }
        QEXPECT_FAIL("Rajdhani Bold",
                     "Rajdhani Bold has no circled digits: the row labels need "
                     "a fallback font",
                     Continue);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1String(", "))));
    }
};

QTEST_MAIN(TestLanguageFiles)
#include "tst_language_files.moc"
