// Language files: one group of texts per request.

#include "controller/language_strings.h"
#include "support/test_runtime.h"

#include <QtTest>

class TestLanguage : public QObject
{
    Q_OBJECT

private:
    TestRuntime runtime;

private slots:
    void groupInKeyOrder()
    {
        QVERIFY(runtime.write("modules/i18n/Italian.ini",
                              "[dpiSetting]\n2=third\ntotal=3\n0=first\n1=second\n"));
        QCOMPARE(languageStrings("dpiSetting", "Italian"),
                 QStringList({"first", "second", "third"}));
    }

    void missingTotalGroupOrFile()
    {
        QVERIFY(runtime.write("modules/i18n/Italian.ini",
                              "[a]\n0=x\n[b]\ntotal=0\n[c]\ntotal=3\n1=only\n"));
        QVERIFY(languageStrings("a", "Italian").isEmpty());
        QVERIFY(languageStrings("b", "Italian").isEmpty());
        QVERIFY(languageStrings("nogroup", "Italian").isEmpty());
        QVERIFY(languageStrings("a", "Klingon").isEmpty());
        QCOMPARE(languageStrings("c", "Italian"), QStringList({"", "only", ""}));
    }

    void nonAsciiTextIntact()
    {
        QVERIFY(runtime.write(
            "modules/i18n/Italian.ini",
            QStringLiteral("[profile]\ntotal=3\n0=Größe\n1=配置文件\n2=\"a, b\"\n").toUtf8()));
        QCOMPARE(languageStrings("profile", "Italian"),
                 QStringList({QStringLiteral("Größe"), QStringLiteral("配置文件"),
                              QStringLiteral("a, b")}));
    }

    void shippedEnglishHasEveryGroup()
    {
        const QStringList groups = {"keyMatrix",   "keyAssigment",     "dpiSetting", "lightControl",
                                    "macroEditor", "systemSetting",    "gunControl", "profile",
                                    "keyCode",     "warningAssigment", "other"};
        for (const QString &group : groups) {
            const QStringList texts = languageStrings(group, "English");
            QVERIFY2(!texts.isEmpty(), qPrintable(group));
            QVERIFY2(!texts.contains(QString()), qPrintable(group));
        }
        QCOMPARE(languageStrings("keyCode", "English").size(), 133);
        QCOMPARE(languageStrings("warningAssigment", "English").value(6),
                 QStringLiteral("Please keep a key at least for the left button function."));
        QCOMPARE(languageStrings("keyAssigment", "English").value(0), QStringLiteral("Key "));
    }
};

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_language.moc"
