// The DPI and profile notifications follow the language group "other" as the pages read it.

#include "app/widget.h"
#include "controller/language_strings.h"
#include "support/test_runtime.h"

#include <QtTest>

class TestNotificationTexts : public QObject
{
    Q_OBJECT

private:
    TestRuntime runtime;

private slots:
    void init()
    {
        for (QString &t : notificationTexts)
            t = QStringLiteral("DPI Switch to");
        followNotificationTexts[0] = QStringLiteral("Profile %1: %2 is in front");
    }

    void otherGroupReplacesNotificationTexts()
    {
        QVERIFY(runtime.write(
            "modules/i18n/German.ini",
            QStringLiteral("[other]\ntotal=10\n0=DPI auf 1\n1=DPI auf 2\n2=DPI auf 3\n"
                           "3=DPI auf 4\n4=DPI auf 5\n5=DPI auf 6\n6=DPI auf 7\n7=DPI geändert\n"
                           "8=Profil %1: %2 vorn\n9=Profil %1 von Hand\n")
                .toUtf8()));
        const QStringList texts = languageStrings("other", "German");
        QCOMPARE(texts.size(), 10);
        takeNotificationTexts("other", texts);
        QCOMPARE(notificationTexts[0], QStringLiteral("DPI auf 1"));
        QCOMPARE(notificationTexts[7], QStringLiteral("DPI geändert"));
        QCOMPARE(followNotificationTexts[0], QStringLiteral("Profil %1: %2 vorn"));
        QCOMPARE(followNotificationTexts[1], QStringLiteral("Profil %1 von Hand"));
    }

    void fewerOtherTextsKeepTheRest()
    {
        QVERIFY(runtime.write("modules/i18n/Italian.ini", "[other]\ntotal=2\n0=one\n1=two\n"));
        takeNotificationTexts("other", languageStrings("other", "Italian"));
        QCOMPARE(notificationTexts[0], QStringLiteral("one"));
        QCOMPARE(notificationTexts[1], QStringLiteral("two"));
        QCOMPARE(notificationTexts[2], QStringLiteral("DPI Switch to"));
        QCOMPARE(followNotificationTexts[0], QStringLiteral("Profile %1: %2 is in front"));
        // Other groups leave the notifications alone.
        QVERIFY(runtime.write("modules/i18n/Italian.ini", "[profile]\ntotal=1\n0=changed\n"));
        takeNotificationTexts("profile", languageStrings("profile", "Italian"));
        QCOMPARE(notificationTexts[0], QStringLiteral("one"));
    }
};

QTEST_GUILESS_MAIN(TestNotificationTexts)
#include "tst_notification_texts.moc"
