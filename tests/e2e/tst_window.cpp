// The program's window as an owner uses it: the real tk700 binary on an X display against the
// virtual TK700, clicked with xdotool at the centre of the items the program itself reports
// (TK700_ITEM_PROBE), and looked at in screenshots under build/test-screens/.

#include "support/glyphs.h"
#include "support/program_rig.h"
#include "support/test_runtime.h"
#include "support/virtual_mouse.h"
#include "window_driver.h"

#include <QAccessible>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

namespace
{

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

bool xdotool(const QStringList &args)
{
    return QProcess::execute("xdotool", args) == 0;
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<QTemporaryDir> xdg;
    QProcess *program = nullptr;
    QProcess *trayer = nullptr;
    QString probe;

    void setGlobal(const QString &key, const QVariant &value)
    {
        QSettings apConfig(runtime->path("modules/setting/apConfig.bin"), QSettings::IniFormat);
        if (value.isValid())
            apConfig.setValue(key, value);
        else
            apConfig.remove(key);
    }

    QString languageText(const QString &language, const QString &key)
    {
        QSettings file(runtime->path("modules/i18n/" + language + ".ini"), QSettings::IniFormat);
        return file.value(key).toString();
    }

    // Starts the program beside a copy of the runtime folders and waits for the first screen
    // after the logo.
    bool startProgram(const QString &family, const QStringList &extraEnv = {})
    {
        setGlobal("mouse/icType", family);
        if (!mouse) {
            mouse = std::make_unique<VirtualMouse>(VirtualMouse::Options{family, false, QString()});
            if (!mouse->start())
                return false;
        }
        const QString exe = runtime->path("tk700");
        ProgramRig::installProgram(exe);
        probe = xdg->path() + "/probe";
        program = new QProcess(this);
        QProcessEnvironment env = ProgramRig::programEnvironment(xdg->path(), probe);
        for (const QString &entry : extraEnv)
            env.insert(entry.section('=', 0, 0), entry.section('=', 1));
        program->setProcessEnvironment(env);
        program->setProcessChannelMode(QProcess::MergedChannels);
        program->setWorkingDirectory(runtime->root());
        program->start(exe, {});
        return ProgramRig::waitForStart(*program, probe);
    }

    QJsonObject item(const QString &name, const QString &properties = {})
    {
        return ProgramRig::askProbe(probe, ("item " + name + " " + properties).toUtf8());
    }

    QVariant property(const QString &name, const QString &property)
    {
        return item(name, property)["props"].toObject()[property].toVariant();
    }

    bool click(const QString &name, const QStringList &extra = {"click", "1"})
    {
        const QJsonObject found = item(name);
        if (!found["visible"].toBool()) {
            qWarning().noquote() << name << "is not shown:" << QJsonDocument(found).toJson();
            return false;
        }
        const int x = found["x"].toInt() + found["w"].toInt() / 2;
        const int y = found["y"].toInt() + found["h"].toInt() / 2;
        return xdotool(QStringList{"mousemove", QString::number(x), QString::number(y)} + extra);
    }

    // Keys go to the program's window, as an owner's would after clicking into it.
    bool focusWindow()
    {
        const QString id = run("xdotool", {"search", "--name", "Talvemark TK700"}).section('\n', 0, 0);
        return !id.isEmpty() && xdotool({"windowfocus", "--sync", id});
    }

    bool key(const QString &keys)
    {
        return xdotool(QStringList{"key", "--delay", "60"} + keys.split(' '));
    }

    QJsonObject focused() { return ProgramRig::askProbe(probe, "focus"); }

    // Tab from the window's first stop to `name`; false when Tab never gets there.
    bool tabTo(const QString &name)
    {
        for (int i = 0; i < 80; ++i) {
            if (focused()["name"].toString() == name)
                return true;
            if (!key("Tab"))
                return false;
        }
        return false;
    }

    QImage grabWindow()
    {
        const QJsonObject root = item("mainIten");
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, root["x"].toInt(), root["y"].toInt(), root["w"].toInt(),
                         root["h"].toInt())
            .toImage();
    }

    void saveScreen(const QString &file)
    {
        QDir().mkpath(ProgramRig::screensFolder());
        QVERIFY(grabWindow().save(ProgramRig::screensFolder() + file));
    }

    // Every text the window shows is drawn with real glyphs.
    void verifyNoBoxes(int atLeast)
    {
        const QJsonArray texts = ProgramRig::askProbe(probe, "texts")["texts"].toArray();
        QVERIFY2(texts.size() >= atLeast, qPrintable(QString::number(texts.size())));
        QStringList boxes;
        for (const QJsonValue &v : texts) {
            const QJsonObject t = v.toObject();
            if (drawsBoxes(t["text"].toString(), t["family"].toString(), t["pixelSize"].toInt()))
                boxes << t["text"].toString() + " (" + t["family"].toString() + ")";
        }
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join(", ")));
    }

    bool windowShown()
    {
        return !run("xdotool", {"search", "--onlyvisible", "--name", "^Talvemark TK700$"})
                    .isEmpty();
    }

    // A host's select-profile request straight to the simulated mouse, over a connection of its
    // own.
    bool selectMouseProfile(int profile)
    {
        QByteArray report(9, '\0');
        report[1] = 0x02;
        report[2] = char(profile);
        report[8] = char(~(0x02 + profile) & 0xff);
        return mouse->sendFeature(report);
    }

private slots:
    void initTestCase()
    {
        if (const QString why = WindowDriver::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY(QFontDatabase::addApplicationFont(":/modules/fonts/Rajdhani-Bold.ttf") >= 0);
    }

    void init()
    {
        runtime = std::make_unique<TestRuntime>();
        xdg = std::make_unique<QTemporaryDir>();
        QVERIFY(runtime->isValid());
    }

    void cleanup()
    {
        ProgramRig::endProcess(program);
        if (trayer) {
            trayer->kill();
            trayer->waitForFinished();
            delete trayer;
            trayer = nullptr;
        }
        mouse.reset();
        xdg.reset();
        runtime.reset();
    }

    void chromeAfterStartUp_data()
    {
        QTest::addColumn<QString>("family");
        QTest::newRow("553") << "553";
        QTest::newRow("560") << "560";
    }
    void chromeAfterStartUp()
    {
        QFETCH(QString, family);
        QVERIFY(startProgram(family));
        for (const char *name :
             {"menuUp", "languageList", "minBtn", "closeBtn", "tabMouse", "tabSettings",
              "officeBtn", "urlText", "okBtn", "applyBtn", "resetBtn", "mousePage"})
            QVERIFY2(item(name)["visible"].toBool(), name);
        QCOMPARE(property("tabSettingsLabel", "text").toString(),
                 languageText("English", "keyMatrix/19"));
        QVERIFY(!item("settingsPage")["visible"].toBool());
        QVERIFY(!item("maxBtn")["visible"].toBool());
        verifyNoBoxes(8);
        if (family == "553")
            saveScreen("main.png");

        QVERIFY(click("tabSettings"));
        QTRY_VERIFY(item("settingsPage")["visible"].toBool());
        QVERIFY(!item("mousePage")["visible"].toBool());
        QCOMPARE(property("mainIten", "currentTab").toInt(), 2);
        if (family == "553") {
            QTest::qWait(200);
            saveScreen("settings.png");
        }
    }

    // The 560 mouse is made to use profile 1 during start-up, and only when it is elsewhere.
    void startUpSelectsProfileOneOn560_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("selected");
        QTest::newRow("on profile 2") << 2 << true;
        QTest::newRow("on profile 1") << 1 << false;
    }
    void startUpSelectsProfileOneOn560()
    {
        QFETCH(int, current);
        QFETCH(bool, selected);
        mouse = std::make_unique<VirtualMouse>(VirtualMouse::Options{"560", false, QString()});
        QVERIFY(mouse->start());
        QVERIFY(selectMouseProfile(current));
        QCOMPARE(mouse->state()["currentProfile"].toInt(), current);
        mouse->clearLog();
        QVERIFY(startProgram("560"));
        QCOMPARE(mouse->requests().contains("00 02 01 00 00 00 00 00 fc"), selected);
        QCOMPARE(mouse->state()["currentProfile"].toInt(), 1);
    }

    void closeHidesToTheTrayAndTheTrayRestores()
    {
        if (QStandardPaths::findExecutable("trayer").isEmpty())
            QSKIP("needs trayer for a system tray under Xvfb");
        trayer = new QProcess;
        trayer->start("trayer", {"--edge", "top", "--align", "right", "--widthtype", "pixel",
                                 "--width", "200", "--height", "32", "--SetDockType", "true"});
        QVERIFY(trayer->waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(!run("xdotool", {"search", "--class", "trayer"}).isEmpty(), 5000);
        QVERIFY(startProgram("553"));
        QVERIFY(windowShown());

        QVERIFY(click("closeBtn"));
        QTRY_VERIFY_WITH_TIMEOUT(!windowShown(), 3000);
        QVERIFY(!item("mainIten")["visible"].toBool());
        QCOMPARE(program->state(), QProcess::Running);

        // The tray icon is the program's small window inside the tray.
        QString icon;
        for (const QString &id : run("xdotool", {"search", "--onlyvisible", "--class", "tk700"})
                                     .split('\n', Qt::SkipEmptyParts)) {
            const QString info = run("xwininfo", {"-id", id});
            if (info.contains("Width: 22") && info.contains("Height: 30"))
                icon = id;
        }
        QVERIFY(!icon.isEmpty());
        QVERIFY(xdotool({"mousemove", "--window", icon, "11", "15", "click", "--repeat", "2",
                         "--delay", "80", "1"}));
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(), 3000);
        QTRY_VERIFY(item("closeBtn")["visible"].toBool());
    }

    // Tab alone reaches every control a page shows, each once per round, each with a name a
    // screen reader can say; a box that is open keeps Tab inside it.
    void tabReachesEveryControl()
    {
        QVERIFY(startProgram("553"));
        QVERIFY(focusWindow());
        struct Page
        {
            const char *name;
            std::function<void()> show;
            QStringList mustReach;
        };
        const QList<Page> pages{
            {"mouse", [] {},
             {"profileList", "tabLight", "officeBtn", "keyMenu0", "keyMenu6", "dpiSlider0Handle",
              "dpiPlus5", "urlText", "applyBtn", "resetBtn"}},
            {"backlight", [this] { click("tabLight"); },
             {"lightEffect", "lightSpeedHandle", "lightDirection", "lightBlock0",
              "lightBlock14", "lightChannel2Handle", "lightPresets", "applyBtn"}},
            {"settings", [this] { click("tabSettings"); },
             {"mouseRateSliderHandle", "scrollFieldInput", "lodSliderHandle", "autostartCheck",
              "macroTree", "macroEventFrame", "macroRecord", "macroRepeatInput", "okBtn"}},
            {"profile dialog", [this] { click("profileBtn"); },
             {"profileRow0", "profileNew", "profileExport", "profileClose"}},
            {"gun editor",
             [this] {
                 key("Escape");
                 ProgramRig::askProbe(probe, "call mainIten buildPart \"gunControlMain\"");
                 ProgramRig::askProbe(probe, "call gunControlMain open");
             },
             {"gunRow0", "gunSlotList", "gunYFieldInput", "gunRateHandle", "gunCloseBtn"}},
        };
        qInfo("%-16s %6s %6s", "page", "stops", "shown");
        for (const Page &page : pages) {
            page.show();
            QTest::qWait(400);
            const QJsonArray shown = ProgramRig::askProbe(probe, "tabbable")["items"].toArray();
            QSet<QString> expected;
            QStringList names;
            for (const QJsonValue &v : shown) {
                expected << v["id"].toString();
                names << v["name"].toString();
                QVERIFY2(!v["accessibleName"].toString().isEmpty(),
                         qPrintable(QString("%1: %2 has no name").arg(page.name,
                                                                        v["name"].toString())));
            }
            for (const QString &name : page.mustReach)
                QVERIFY2(names.contains(name), qPrintable(QString("%1: %2").arg(page.name, name)));
            QSet<QString> reached;
            QString first;
            int stops = 0;
            for (; stops <= shown.size() + 2; ++stops) {
                QVERIFY(key("Tab"));
                const QJsonObject now = focused();
                const QString id = now["id"].toString();
                if (id == first)
                    break;
                if (first.isEmpty())
                    first = id;
                QVERIFY2(!reached.contains(id), qPrintable(now["name"].toString()));
                reached << id;
                // The focus ring goes round the control (text fields may show their caret).
                const QJsonObject ring = item("focusMark");
                const QRect mark(ring["x"].toInt(), ring["y"].toInt(), ring["w"].toInt(),
                                 ring["h"].toInt());
                const QRect control(now["x"].toInt(), now["y"].toInt(), now["w"].toInt(),
                                    now["h"].toInt());
                const bool around = ring["visible"].toBool() && mark.contains(control) &&
                                    control.adjusted(-6, -6, 6, 6).contains(mark);
                QVERIFY2(around || now["role"].toInt() == QAccessible::EditableText,
                         qPrintable(now["name"].toString()));
            }
            qInfo("%-16s %6d %6lld", page.name, stops, qsizetype(shown.size()));
            QCOMPARE(reached, expected);
        }
    }

    // A DPI stage changes with the arrow keys and Enter applies it; Esc closes the topmost
    // panel, menu and box, and the focus goes back where it was.
    void keyboardSetsDpiAndEscapeCloses()
    {
        QVERIFY(startProgram("553"));
        QVERIFY(focusWindow());
        QVERIFY(tabTo("dpiSlider1Handle"));
        // Two rounds of one step and Enter: the second changes stage 2's entry only.
        QStringList tables[2];
        for (QStringList &table : tables) {
            const int shown = property("dpiValue1", "text").toInt();
            QVERIFY(key("Right"));
            QTRY_COMPARE(property("dpiValue1", "text").toInt(), shown + 500);
            QVERIFY(property("dpiSettingMain", "isSave").toBool());
            QVERIFY(key("Return"));
            QTRY_VERIFY(!property("dpiSettingMain", "isSave").toBool());
            QTRY_VERIFY(!property("mainIten", "busy").toBool());
            table = mouse->state()["dpiTable"].toString().split(' ');
            // The save kept the focus where it was.
            QTRY_COMPARE(focused()["name"].toString(), QStringLiteral("dpiSlider1Handle"));
        }
        QCOMPARE(tables[1].size(), 8);
        for (int s = 0; s < 8; ++s)
            QVERIFY2((tables[1][s] != tables[0][s]) == (s == 1), qPrintable(QString::number(s)));

        // The row menu, its fire panel (item 6), then the menu itself. The Enter that opens the
        // panel is let go once the field has the focus: it must not start a capture there.
        QVERIFY(tabTo("keyMenu1"));
        QVERIFY(key("Return"));
        QTRY_VERIFY(property("keyMenu1", "isDrop").toBool());
        QVERIFY(key("Home Down Down Down Down Down Down"));
        QVERIFY(xdotool({"keydown", "Return"}));
        QTRY_COMPARE(focused()["name"].toString(), QStringLiteral("keyMenu1FireField"));
        QVERIFY(xdotool({"keyup", "Return"}));
        QTest::qWait(200);
        QVERIFY(!property("keyMenu1Fire", "isInput").toBool());
        QVERIFY(key("Escape"));
        QTRY_VERIFY(!item("keyMenu1Fire")["visible"].toBool());
        QVERIFY(property("keyMenu1", "isDrop").toBool());
        QVERIFY(key("Escape"));
        QTRY_VERIFY(!property("keyMenu1", "isDrop").toBool());
        QCOMPARE(focused()["name"].toString(), QStringLiteral("keyMenu1"));

        // The combination panel (item 7) captures Tab too; letting go of the keys ends a capture
        // started with Enter, and Tab then leads on to OK.
        QVERIFY(key("Return Home Down Down Down Down Down Down Down Return"));
        QTRY_COMPARE(focused()["name"].toString(), QStringLiteral("keyMenu1CombinationField"));
        QVERIFY(key("Return"));
        QTRY_VERIFY(property("keyMenu1Combination", "isInput").toBool());
        QVERIFY(key("ctrl+Tab"));
        QTRY_VERIFY(!property("keyMenu1Combination", "isInput").toBool());
        QCOMPARE(property("keyMenu1Combination", "keyText").toString(), QStringLiteral("LCtrl + Tab"));
        QVERIFY(key("Tab Tab Return"));
        QTRY_VERIFY(!property("keyMenu1", "isDrop").toBool());
        QVERIFY(property("keyMatrixMain", "isSave").toBool());
        QVERIFY(property("keyMenu1", "textValue").toString().contains("Tab"));

        QVERIFY(tabTo("profileBtn"));
        QVERIFY(key("space"));
        QTRY_VERIFY(item("profileMain")["visible"].toBool());
        QTRY_COMPARE(focused()["name"].toString(), QStringLiteral("profileRow0"));
        QVERIFY(key("Escape"));
        QTRY_VERIFY(!item("profileMain")["visible"].toBool());
        QTRY_COMPARE(focused()["name"].toString(), QStringLiteral("profileBtn"));
    }

    // The language list of the menu bar changes every text at once and is kept for next time.
    void languageFromTheMenuBar()
    {
        QVERIFY(startProgram("553"));
        const QList<QPair<int, QString>> choices{{3, "German"}, {1, "ChineseSimplified"}};
        for (const auto &[index, language] : choices) {
            QVERIFY(click("languageListHeader"));
            QTRY_COMPARE(property("languageList", "openness").toDouble(), 1.0);
            // The list names every language in its own script, in the current font.
            verifyNoBoxes(7 + 8);
            if (language == "German")
                saveScreen("language-list.png");
            QVERIFY(click("languageListItem" + QString::number(index)));
            const QString settings = languageText(language, "keyMatrix/19");
            QVERIFY(!settings.isEmpty());
            QTRY_COMPARE(property("tabSettingsLabel", "text").toString(), settings);
            QCOMPARE(property("applyBtnLabel", "text").toString(),
                     languageText(language, "keyMatrix/12"));
            QCOMPARE(property("mainIten", "fontFamily").toString(),
                     QStringLiteral("WenQuanYi Micro Hei"));
            QSettings apConfig(runtime->path("modules/setting/apConfig.bin"), QSettings::IniFormat);
            QCOMPARE(apConfig.value("common/language").toString(), language);
            QTest::qWait(300);
            verifyNoBoxes(8);
            saveScreen("lang-" + language + ".png");
        }
    }

    // Without a stored choice the desktop's language is used; anything unknown gives English.
    void followsTheDesktopLanguage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("shown");
        // clang-format off
        QTest::newRow("German desktop") << "de_DE.UTF-8" << "German" << "Deutsch";
        QTest::newRow("Taiwanese desktop") << "zh_TW.UTF-8" << "ChineseTraditional" << "繁體中文";
        QTest::newRow("POSIX") << "C" << "English" << "English";
        // clang-format on
    }
    void followsTheDesktopLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QString, language);
        QFETCH(QString, shown);
        setGlobal("common/language", QVariant());
        QVERIFY(startProgram("553", {"LC_ALL=" + locale, "LANG=" + locale, "LANGUAGE="}));
        QCOMPARE(property("languageList", "textValue").toString(), shown);
        QCOMPARE(property("tabSettingsLabel", "text").toString(),
                 languageText(language, "keyMatrix/19"));
        // Following the desktop stores nothing: a later desktop language is followed too.
        QSettings apConfig(runtime->path("modules/setting/apConfig.bin"), QSettings::IniFormat);
        QVERIFY(!apConfig.contains("common/language"));
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
