// Profiles that follow the application in front: the bindings as apConfig keeps them, and the
// follower's switches for a series of activations against a stand-in window.

#include "controller/app_profiles.h"
#include "support/test_runtime.h"

#include <QtTest>

class TestAppProfiles : public QObject
{
    Q_OBJECT

private slots:
    // One application, one profile; names compare without case; what names no application,
    // or a profile out of range, is refused; a file without the group follows nothing.
    void bindings()
    {
        TestRuntime runtime;
        SettingsStore settings;
        QCOMPARE(app_profiles::profileOf(settings, "Firefox"), -1);
        QCOMPARE(app_profiles::switchDelayMs(settings), 500);
        QVERIFY(app_profiles::bind(settings, 2, "Firefox"));
        QVERIFY(app_profiles::bind(settings, 2, " Steam "));
        QVERIFY(app_profiles::bind(settings, 4, "firefox"));
        QCOMPARE(app_profiles::boundApplications(settings, 2), QStringList{"Steam"});
        QCOMPARE(app_profiles::boundApplications(settings, 4), QStringList{"firefox"});
        QCOMPARE(app_profiles::profileOf(settings, "FIREFOX"), 4);
        QVERIFY(!app_profiles::bind(settings, 10, "gimp"));
        QVERIFY(!app_profiles::bind(settings, 1, "  "));
        QVERIFY(!app_profiles::bind(settings, 1, "two\nlines"));
        app_profiles::unbindAll(settings, 2);
        QCOMPARE(app_profiles::profileOf(settings, "Steam"), -1);
        settings.setGlobalData(app_profiles::kDelayKey, 5);
        QCOMPARE(app_profiles::switchDelayMs(settings), app_profiles::kMinDelayMs);
    }

    // Each step: "a NAME" an activation ("a" alone: none in front) that stays, "q NAME" one that
    // is left before the delay, "h N" the profile chosen by hand, "busy", "idle", "refuse" (the
    // window starts no switch). Firefox is bound to profile 2, Steam to 3.
    void follower_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("switches"); // "profile application"
        QTest::newRow("a focus shorter than the delay sends nothing")
            << QStringList{"q Firefox", "a Steam", "q xterm", "a Steam"} << QStringList{"3 Steam"};
        QTest::newRow("nothing for the profile already current")
            << QStringList{"h 2", "a firefox", "a xterm", "a"} << QStringList{};
        QTest::newRow("a choice by hand is where it returns to")
            << QStringList{"a Firefox", "h 4", "a xterm", "a Steam", "a"}
            << QStringList{"2 Firefox", "3 Steam", "4 "};
        QTest::newRow("a busy window is waited for")
            << QStringList{"busy", "a Steam", "idle"} << QStringList{"3 Steam"};
        QTest::newRow("a switch the window refused is no switch")
            << QStringList{"refuse", "a Steam", "h 1", "a xterm"} << QStringList{};
    }
    void follower()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, switches);
        int current = 0;
        bool busy = false, refuse = false;
        ProfileFollower follower(
            [](const QString &app) {
                return app.compare("firefox", Qt::CaseInsensitive) == 0 ? 2
                       : app == "Steam"                                 ? 3
                                                                        : -1;
            },
            {[&] { return current; }, [&] { return busy; },
             [&](int profile) { return !refuse && (current = profile, true); }});
        // The wait passes at the next turn of the event loop; a focus left before it is one that
        // lasted less than the delay.
        follower.setDelay(0);
        QStringList seen;
        connect(&follower, &ProfileFollower::switched, this, [&](int profile, const QString &app) {
            seen << QString::number(profile) + ' ' + app;
            follower.profileShown(profile); // the window shows it
        });
        for (const QString &step : steps) {
            const QString word = step.section(' ', 0, 0), arg = step.section(' ', 1);
            if (word == "a" || word == "q")
                follower.applicationActivated(arg);
            else if (word == "h")
                follower.profileShown(current = arg.toInt());
            else if (word == "busy" || word == "idle")
                busy = word == "busy";
            else if (word == "refuse")
                refuse = true;
            if (word == "idle")
                follower.windowIdle();
            if (word != "q")
                QCoreApplication::processEvents();
        }
        QCOMPARE(seen, switches);
    }
};

QTEST_GUILESS_MAIN(TestAppProfiles)
#include "tst_app_profiles.moc"
