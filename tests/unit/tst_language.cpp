// Language files: one group of texts per request, and the DPI notification texts.

#include "controller/language_strings.h"
#include "device/hid_thread.h"
#include "support/test_runtime.h"

#include <QtTest>

class TestLanguage : public QObject
{
    Q_OBJECT

private:
    TestRuntime runtime;

private slots:
    void init()
    {
        for (QString &t : notificationTexts)
            t = QStringLiteral("DPI Switch to");
    }

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

    void otherGroupReplacesNotificationTexts()
    {
        QVERIFY(runtime.write(
            "modules/i18n/German.ini",
            QStringLiteral("[other]\ntotal=8\n0=DPI auf 1\n1=DPI auf 2\n2=DPI auf 3\n"
                           "3=DPI auf 4\n4=DPI auf 5\n5=DPI auf 6\n6=DPI auf 7\n7=DPI geändert\n")
                .toUtf8()));
        QCOMPARE(languageStrings("other", "German").size(), 8);
        QCOMPARE(notificationTexts[0], QStringLiteral("DPI auf 1"));
        QCOMPARE(notificationTexts[7], QStringLiteral("DPI geändert"));
    }

    void fewerOtherTextsKeepTheRest()
    {
        QVERIFY(runtime.write("modules/i18n/Italian.ini", "[other]\ntotal=2\n0=one\n1=two\n"));
        languageStrings("other", "Italian");
        QCOMPARE(notificationTexts[0], QStringLiteral("one"));
        QCOMPARE(notificationTexts[1], QStringLiteral("two"));
        QCOMPARE(notificationTexts[2], QStringLiteral("DPI Switch to"));
        // Other groups leave the notifications alone.
        QVERIFY(runtime.write("modules/i18n/Italian.ini", "[profile]\ntotal=1\n0=changed\n"));
        languageStrings("profile", "Italian");
        QCOMPARE(notificationTexts[0], QStringLiteral("one"));
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
