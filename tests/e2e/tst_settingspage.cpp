// The settings page, the macro chooser, the profile dialog and the lighting page as an owner uses
// them: the real tk700 binary on an X display against the virtual TK700, driven only with xdotool
// at the items' on-screen centres. What counts is what the virtual mouse, the macro and profile
// files and the desktop's settings store (GSettings' keyfile backend in a private folder) hold
// afterwards. Screenshots go to build/test-screens/.

#include "support/test_runtime.h"
#include "support/virtual_mouse.h"
#include "window_driver.h"

#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QtTest>

#include <memory>

namespace
{

// X key codes: the Linux evdev code plus 8.
constexpr int kKeyH = 43;
constexpr int kKeyI = 31;

// Button 3's office entry as the mouse holds it: its factory default, and macro 4 (slot 3).
const QByteArray kButton3Default = QByteArray::fromHex("0100f400");
const QByteArray kButton3Macro = QByteArray::fromHex("09000400");

constexpr int kHUsage = 0x0B;
constexpr int kIUsage = 0x0C;

} // namespace

class TestSettingsPage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<QTemporaryDir> xdg;
    std::unique_ptr<WindowDriver> window;
    QProcess *program = nullptr;

    QString configHome() const { return xdg->path() + "/config"; }

    QSettings setting(const QString &file) const
    {
        return QSettings(runtime->path("modules/setting/" + file), QSettings::IniFormat);
    }

    bool startProgram()
    {
        mouse = std::make_unique<VirtualMouse>(VirtualMouse::Options{"553", false, QString()});
        if (!mouse->start())
            return false;
        const QString exe = runtime->path("tk700");
        ProgramRig::installProgram(exe);
        const QString probe = xdg->path() + "/probe";
        window = std::make_unique<WindowDriver>(probe);
        program = new QProcess(this);
        QProcessEnvironment env = ProgramRig::programEnvironment(xdg->path(), probe);
        // The desktop's pointer settings go to a keyfile of this test.
        env.insert("XDG_CURRENT_DESKTOP", "GNOME");
        env.insert("GSETTINGS_BACKEND", "keyfile");
        env.insert("XDG_CONFIG_HOME", configHome());
        env.remove("WAYLAND_DISPLAY");
        program->setProcessEnvironment(env);
        program->setProcessChannelMode(QProcess::MergedChannels);
        program->setWorkingDirectory(runtime->root());
        program->start(exe, {});
        return ProgramRig::waitForStart(*program, probe);
    }

    bool rightClick(const QString &name, int dx = -1, int dy = -1)
    {
        return window->moveTo(name, dx, dy) && WindowDriver::xdotool({"click", "3"});
    }

    bool doubleClick(const QString &name)
    {
        return window->moveTo(name) &&
               WindowDriver::xdotool({"click", "--repeat", "2", "--delay", "60", "1"});
    }

    bool typeText(const QString &text)
    {
        return WindowDriver::xdotool({"type", "--delay", "40", text});
    }

    bool pressKey(const QString &key) { return WindowDriver::xdotool({"key", key}); }

    // Opens the menu bar's profile list and chooses a row once the list has slid open.
    bool chooseProfileRow(int row)
    {
        return window->click("profileListHeader") && WindowDriver::waitFor([&] {
                   return window->property("profileList", "openness").toDouble() == 1.0;
               }) &&
               window->click("profileListItem" + QString::number(row));
    }

    bool shownSoon(const QString &name, bool shown = true)
    {
        return WindowDriver::waitFor([&] { return window->shown(name) == shown; });
    }

    // The row of `list` (a macro tree) that shows `text`; -1 when none.
    int rowShowing(const QString &list, const QString &text)
    {
        for (int row = 0; row < 40; ++row) {
            const QString name = list + "Row" + QString::number(row);
            const QJsonObject found = window->item(name, "textValue");
            if (found.isEmpty() || !found["visible"].toBool())
                return -1;
            if (found["props"].toObject()["textValue"].toString() == text)
                return row;
        }
        return -1;
    }

    bool rowAppears(const QString &list, const QString &text, int *row)
    {
        return WindowDriver::waitFor([&] { return (*row = rowShowing(list, text)) >= 0; });
    }

    // A name typed into the name box, which opens with its text selected.
    bool enterName(const QString &name)
    {
        return shownSoon("inputAssigmentMain") && typeText(name) &&
               window->click("inputAssigmentMainOK") && shownSoon("inputAssigmentMain", false);
    }

    bool treeCommand(const QString &onItem, int command)
    {
        return rightClick(onItem) && shownSoon("macroTreeMenu") &&
               window->click("macroTreeMenuItem" + QString::number(command));
    }

    QByteArray macroSlot(int id)
    {
        return VirtualMouse::bytesOf(mouse->state()["macros"].toArray().at(id - 1));
    }

    QByteArray button3()
    {
        return VirtualMouse::bytesOf(mouse->state()["keyMatrices"].toArray().at(0)).mid(12, 4);
    }

    QStringList storedMacro(const QString &relativePath)
    {
        QSettings file(runtime->path("modules/macro/" + relativePath), QSettings::IniFormat);
        QStringList records;
        for (int i = 0; i < file.value("config/total").toInt(); ++i)
            records << file.value("macro/" + QString::number(i)).toString();
        return records;
    }

    QString keyfile() const
    {
        QFile file(configHome() + "/glib-2.0/settings/keyfile");
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // Selects the macro `name` in the folder `folder` of the editor's tree.
    bool selectInEditor(const QString &folder, const QString &name)
    {
        int row = -1;
        if (!rowAppears("macroTree", folder, &row))
            return false;
        const QString folderRow = "macroTreeRow" + QString::number(row);
        if (rowShowing("macroTree", name) < 0 && !doubleClick(folderRow))
            return false;
        return rowAppears("macroTree", name, &row) &&
               window->click("macroTreeRow" + QString::number(row)) && WindowDriver::waitFor([&] {
                   return window->property("macroEditorMain", "currentName") == name;
               });
    }

private slots:
    void initTestCase()
    {
        if (const QString why = WindowDriver::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
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
        window.reset();
        mouse.reset();
        xdg.reset();
        runtime.reset();
    }

    // A folder and a macro recorded from the keyboard; the macro given to button 3 through the
    // row menu and the chooser; a delay edited (the mouse gets the macro again at once); the
    // macro deleted (button 3 returns to its default).
    void recordAssignEditDelete()
    {
        QVERIFY(startProgram());
        QVERIFY(window->click("tabSettings"));
        QVERIFY(shownSoon("macroEditorMain"));

        QVERIFY(treeCommand("macroTreeEmpty", 4)); // new folder
        QVERIFY(enterName("Games"));
        int row = -1;
        QVERIFY(rowAppears("macroTree", "Games", &row));
        QVERIFY(treeCommand("macroTreeRow" + QString::number(row), 5)); // new macro inside
        QVERIFY(enterName("Hi"));
        QVERIFY(WindowDriver::waitFor(
            [&] { return window->property("macroEditorMain", "currentName") == "Hi"; }));
        QCOMPARE(window->property("macroEditorMain", "currentLevel").toInt(), 1);

        QVERIFY(window->property("macroDelayRecord", "isSelect").toBool());
        QVERIFY(window->click("macroRecord"));
        QVERIFY(WindowDriver::waitFor(
            [&] { return window->property("macroEditorMain", "isInputting").toBool(); }));
        QVERIFY(WindowDriver::chord({kKeyH}));
        QVERIFY(WindowDriver::waitFor([&] { return window->shown("macroEvent2"); }));
        QVERIFY(WindowDriver::chord({kKeyI}));
        QVERIFY(WindowDriver::waitFor([&] { return window->shown("macroEvent6"); }));
        QVERIFY(window->click("macroStop"));
        QVERIFY(WindowDriver::waitFor(
            [&] { return !window->property("macroEditorMain", "isInputting").toBool(); }));
        const QStringList records = storedMacro("Games/Hi.bin");
        QCOMPARE(records.size(), 7);
        QCOMPARE(records.at(0), QStringLiteral("1,H"));
        QCOMPARE(records.at(2), QStringLiteral("2,H"));
        QCOMPARE(records.at(4), QStringLiteral("1,I"));
        QCOMPARE(records.at(6), QStringLiteral("2,I"));
        for (int i : {1, 3, 5})
            QVERIFY2(records.at(i).startsWith("0,"), qPrintable(records.at(i)));
        QVERIFY(window->save(ProgramRig::screensFolder(), "settings-macro.png"));

        // Button 3 (row ④) through the row menu's Macro item and the chooser.
        QVERIFY(window->click("tabMouse"));
        QVERIFY(window->click("keyMenu3Header"));
        QVERIFY(
            WindowDriver::waitFor([&] { return window->property("keyMenu3", "isDrop").toBool(); }));
        QVERIFY(window->click("keyMenu3Item9"));
        QVERIFY(shownSoon("macroKeyAssigmentMain"));
        QVERIFY(rowAppears("macroChooserTree", "Games", &row));
        QVERIFY(doubleClick("macroChooserTreeRow" + QString::number(row)));
        QVERIFY(rowAppears("macroChooserTree", "Hi", &row));
        QVERIFY(window->click("macroChooserTreeRow" + QString::number(row)));
        QVERIFY(window->save(ProgramRig::screensFolder(), "macro-chooser.png"));
        QVERIFY(window->click("macroChooserOK"));
        QVERIFY(shownSoon("macroKeyAssigmentMain", false));
        QVERIFY(WindowDriver::waitFor(
            [&] { return window->property("keyMenu3Text", "text") == "Macro Function-Hi"; }));

        QVERIFY(window->click("applyBtn"));
        // H down, its delay, H up, ..., I up: the key codes and the release bits in place.
        auto holdsHi = [&](int firstDelay) {
            const QByteArray block = macroSlot(4);
            return block.size() == 128 && block.left(2) == QByteArray::fromHex("0001") &&
                   uchar(block[3]) == kHUsage && uchar(block[5]) == kHUsage &&
                   (uchar(block[4]) & 0x80) && uchar(block[7]) == kIUsage &&
                   uchar(block[9]) == kIUsage && uchar(block[8]) == 0x81 &&
                   block.mid(10, 2) == QByteArray(2, 0) &&
                   (firstDelay < 0 || uchar(block[2]) == firstDelay);
        };
        QVERIFY2(
            WindowDriver::waitFor([&] { return holdsHi(-1) && button3() == kButton3Macro; }, 20000),
            qPrintable(macroSlot(4).left(12).toHex(' ') + " / " + button3().toHex(' ')));
        QVERIFY(!window->shown("warningAssigmentMain"));

        // A delay edited in the editor reaches the mouse without Apply.
        QVERIFY(window->click("tabSettings"));
        QVERIFY(selectInEditor("Games", "Hi"));
        mouse->clearLog();
        QVERIFY(doubleClick("macroEvent1"));
        QVERIFY(shownSoon("macroDelayField1"));
        QVERIFY(pressKey("ctrl+a"));
        QVERIFY(typeText("500"));
        QVERIFY(pressKey("Return"));
        QVERIFY2(WindowDriver::waitFor([&] { return holdsHi(50); }, 20000),
                 qPrintable(macroSlot(4).left(12).toHex(' ')));
        QCOMPARE(storedMacro("Games/Hi.bin").at(1), QStringLiteral("0,500"));
        QVERIFY(!window->property("mainIten", "isUnsaved").toBool());

        // Deleted: button 3 plays its default again.
        QVERIFY(WindowDriver::waitFor([&] { return (row = rowShowing("macroTree", "Hi")) >= 0; }));
        QVERIFY(treeCommand("macroTreeRow" + QString::number(row), 1));
        QVERIFY(shownSoon("tooltipMain"));
        QVERIFY(window->click("tooltipMainOK"));
        QVERIFY2(WindowDriver::waitFor([&] { return button3() == kButton3Default; }, 20000),
                 qPrintable(button3().toHex(' ')));
        QVERIFY(!QFile::exists(runtime->path("modules/macro/Games/Hi.bin")));
        QVERIFY(window->click("tabMouse"));
        QVERIFY(WindowDriver::waitFor(
            [&] { return window->property("keyMenu3Text", "text") == "Forward Key"; }));
        QVERIFY(!window->shown("warningAssigmentMain"));
    }

    // A profile created, renamed and switched to from the menu bar: the page shows its values and
    // Apply writes to its file, and the desktop store gets the pointer speed; then it is deleted.
    void profilesAndPointerSpeed()
    {
        setting("p1.bin").setValue("mouse/mouseRate", 296);
        const int defaultRate = setting("pD.bin").value("mouse/mouseRate").toInt();
        QVERIFY(defaultRate != 296);
        QVERIFY(startProgram());
        QVERIFY(window->click("tabSettings"));
        QCOMPARE(window->property("mouseRateSlider", "value").toInt(), 296);

        QVERIFY(window->click("profileBtn"));
        QVERIFY(shownSoon("profileMain"));
        QVERIFY(window->click("profileNew"));
        QVERIFY(shownSoon("profileRow1"));
        QVERIFY(doubleClick("profileRow1"));
        QVERIFY(shownSoon("profileRename1"));
        QVERIFY(typeText("Work"));
        QVERIFY(pressKey("Return"));
        QVERIFY(WindowDriver::waitFor([&] {
            return setting("name.bin").value("profile/profileName").toStringList() ==
                   QStringList({"Standard0", "Work1"});
        }));
        QVERIFY(window->save(ProgramRig::screensFolder(), "profile-dialog.png"));
        QVERIFY(window->click("profileClose"));
        QVERIFY(shownSoon("profileMain", false));

        QVERIFY(chooseProfileRow(1));
        QVERIFY(WindowDriver::waitFor(
            [&] { return window->property("mainIten", "profileNo").toInt() == 1; }));
        QCOMPARE(setting("apConfig.bin").value("mouse/profileNo").toInt(), 1);
        // The new profile started from the defaults.
        QVERIFY(WindowDriver::waitFor(
            [&] { return window->property("mouseRateSlider", "value").toInt() == defaultRate; }));

        // The fastest pointer speed, applied: the new profile's file and the desktop take it.
        QVERIFY(window->click("mouseRateSlider", window->item("mouseRateSlider")["w"].toInt() - 3));
        QVERIFY(WindowDriver::waitFor(
            [&] { return window->property("mouseRateSlider", "value").toInt() == 328; }));
        QVERIFY(window->click("applyBtn"));
        const QRegularExpression fastest("(?m)^speed=1(\\.0*)?$");
        QVERIFY2(WindowDriver::waitFor([&] { return fastest.match(keyfile()).hasMatch(); }, 10000),
                 qPrintable(keyfile()));
        QVERIFY(WindowDriver::waitFor(
            [&] { return setting("p2.bin").value("mouse/mouseRate").toInt() == 328; }));
        QCOMPARE(setting("p1.bin").value("mouse/mouseRate").toInt(), 296);
        // GNOME has no wheel scroll lines: the panel says so.
        QVERIFY(shownSoon("pointerRefused"));
        QVERIFY(window->property("pointerRefused", "text").toString().endsWith("Scroll Speed"));
        QVERIFY(!window->shown("warningAssigmentMain"));

        // Back to the standard profile, whose values come back; then the new one is deleted.
        QVERIFY(chooseProfileRow(0));
        QVERIFY(WindowDriver::waitFor(
            [&] { return window->property("mouseRateSlider", "value").toInt() == 296; }));
        QVERIFY(window->click("profileBtn"));
        QVERIFY(shownSoon("profileRow1"));
        QVERIFY(window->click("profileRow1"));
        QVERIFY(window->click("profileDelete"));
        QVERIFY(shownSoon("tooltipMain"));
        QVERIFY(window->click("tooltipMainOK"));
        QVERIFY(WindowDriver::waitFor([&] {
            return setting("name.bin").value("profile/profileName").toStringList() ==
                   QStringList({"Standard0", "nullslotmark"});
        }));
        QVERIFY(shownSoon("profileRow1", false));
    }

    // The lighting page: a colour and the brightness applied reach the mouse.
    // Reset puts the pages that were never opened on the mouse too: the lighting block arrives
    // although the Backlight tab was never shown (the page is built after the first frame).
    void resetReachesPagesNeverOpened()
    {
        QVERIFY(startProgram());
        const auto lightMarker = [&]() -> int {
            const QByteArray block = VirtualMouse::bytesOf(mouse->state()["slaveAttributes"]);
            return block.isEmpty() ? -1 : uchar(block[0]);
        };
        QCOMPARE(lightMarker(), 0);
        QVERIFY(window->click("resetBtn"));
        QVERIFY(WindowDriver::waitFor([&] { return window->shown("resetConfirmOK"); }));
        QVERIFY(window->click("resetConfirmOK"));
        QVERIFY(WindowDriver::waitFor([&] { return lightMarker() == 0x32; }, 30000));
        QVERIFY(WindowDriver::waitFor(
            [&] { return !window->property("protectUIItem", "isBusy").toBool(); }, 20000));
        QVERIFY(!window->shown("warningAssigmentMain"));
        QVERIFY(!window->shown("lightControlMain"));
    }

    void lightingPage()
    {
        QVERIFY(startProgram());
        QVERIFY(window->click("tabLight"));
        QVERIFY(shownSoon("lightControlMain"));
        QVERIFY(window->click("lightBlock4"));
        QVERIFY(window->click("lightChannel0", window->item("lightChannel0")["w"].toInt() - 3));
        QVERIFY(WindowDriver::waitFor(
            [&] { return window->property("lightLevel0", "text").toString() == "255"; }));
        QVERIFY(window->property("lightControlMain", "isSave").toBool());
        QVERIFY(window->save(ProgramRig::screensFolder(), "lighting.png"));
        QVERIFY(window->click("applyBtn"));
        QVERIFY(WindowDriver::waitFor(
            [&] { return !window->property("mainIten", "isUnsaved").toBool(); }, 20000));
        // The writes are queued on the link: the window takes input again once they have run.
        QVERIFY(WindowDriver::waitFor(
            [&] { return !window->property("protectUIItem", "isBusy").toBool(); }, 20000));
        QVERIFY(!window->shown("warningAssigmentMain"));
        QCOMPARE(setting("p1.bin").value("mouseLight/colorIndex").toInt(), 4);
        const QStringList bytes = setting("p1.bin").value("mouseLight/colorValue").toStringList();
        QCOMPARE(bytes.size(), 45);
        QCOMPARE(bytes.at(12), QStringLiteral("255"));
        // The mouse's light block: marker, effect, brightness ..., then block 4's colour 15 times.
        const QByteArray block = VirtualMouse::bytesOf(mouse->state()["slaveAttributes"]);
        QCOMPARE(block.size(), 64);
        QCOMPARE(uchar(block[0]), uchar(0x32));
        for (int b = 1; b < 15; ++b)
            QCOMPARE(block.mid(5 + 3 * b, 3), block.mid(5, 3));
        for (int c = 0; c < 3; ++c)
            QCOMPARE(uchar(block[5 + c]), uchar(bytes.at(12 + c).toInt()));
    }
};

QTEST_MAIN(TestSettingsPage)
#include "tst_settingspage.moc"
