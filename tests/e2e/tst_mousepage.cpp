// The mouse and macros page as an owner uses it: the real tk700 binary on an X display against the
// virtual TK700 of either family, driven only with xdotool at the items' on-screen centres;
// what counts is what the virtual mouse holds afterwards. Screenshots go to build/test-screens/.

#include "support/test_runtime.h"
#include "support/virtual_mouse.h"
#include "window_driver.h"

#include <QJsonArray>
#include <QProcess>
#include <QSettings>
#include <QtTest>

#include <memory>

namespace
{

// X key codes: the Linux evdev code plus 8.
constexpr int kLeftCtrl = 37;
constexpr int kLeftAlt = 64;
constexpr int kDelete = 119;
constexpr int kKeyF = 41;

// Codes of the 3320 sensor's step table for the stage values used here.
constexpr int k3320Code1000 = 0x22;
constexpr int k3320Code3500 = 0x27; // the first step at or above 3200

// The translated office entries of buttons 3 and 4 in the mouse's table 1.
const QByteArray kCopyAndCombination = QByteArray::fromHex("0000e006" "00054c00");
const QByteArray kForwardAndBack = QByteArray::fromHex("0100f400" "0100f300");

bool colourNear(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) <= 24 && qAbs(a.green() - b.green()) <= 24 &&
           qAbs(a.blue() - b.blue()) <= 24;
}

} // namespace

class TestMousePage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<QTemporaryDir> xdg;
    std::unique_ptr<WindowDriver> window;
    QProcess *program = nullptr;
    QByteArray output;
    QString family;

    void setValue(const QString &file, const QString &key, const QVariant &value)
    {
        QSettings settings(runtime->path("modules/setting/" + file), QSettings::IniFormat);
        settings.setValue(key, value);
    }

    bool startProgram()
    {
        setValue("apConfig.bin", "mouse/icType", family);
        mouse = std::make_unique<VirtualMouse>(VirtualMouse::Options{family, false, QString()});
        if (!mouse->start())
            return false;
        const QString exe = runtime->path("tk700");
        ProgramRig::installProgram(exe);
        const QString probe = xdg->path() + "/probe";
        window = std::make_unique<WindowDriver>(probe);
        program = new QProcess(this);
        program->setProcessEnvironment(ProgramRig::programEnvironment(xdg->path(), probe));
        program->setProcessChannelMode(QProcess::MergedChannels);
        program->setWorkingDirectory(runtime->root());
        program->start(exe, {});
        return ProgramRig::waitForStart(*program, probe);
    }

    QString text(const QString &name) { return window->property(name, "text").toString(); }

    // Whether the program has written `line` (its output is kept as it comes).
    bool printed(const QString &line, int ms = 10000)
    {
        return WindowDriver::waitFor(
            [&] {
                output += program->readAll();
                return output.contains(line.toUtf8());
            },
            ms);
    }

    bool textIs(const QString &name, const QString &expected, int ms = 5000)
    {
        const bool ok = WindowDriver::waitFor([&] { return text(name) == expected; }, ms);
        if (!ok)
            qWarning().noquote() << name << "shows" << text(name) << "- expected" << expected;
        return ok;
    }

    // Opens a row's menu and hovers one of its items until what it opens is laid out.
    bool openItem(int row, int item, const QString &opened)
    {
        const QString menu = QStringLiteral("keyMenu%1").arg(row);
        if (!window->property(menu, "isDrop").toBool() && !window->click(menu + "Header"))
            return false;
        if (!WindowDriver::waitFor([&] { return window->property(menu, "isDrop").toBool(); }))
            return false;
        if (!window->moveTo(menu + "Item" + QString::number(item)))
            return false;
        return WindowDriver::waitFor([&] {
            return window->property(menu, "openItem").toInt() == item && window->shown(opened) &&
                   window->item(opened)["h"].toInt() > 0;
        });
    }

    // Sub-menu rows are placed with the next frame: their first two rows then differ.
    bool subMenuLaidOut(int row)
    {
        const QString prefix = QStringLiteral("keyMenu%1SubItem").arg(row);
        return WindowDriver::waitFor([&] {
            return window->item(prefix + "1")["y"].toInt() > window->item(prefix + "0")["y"].toInt();
        });
    }

    QByteArray state(const QString &key, int index = -1)
    {
        const QJsonValue value = mouse->state()[key];
        return VirtualMouse::bytesOf(index < 0 ? value : value.toArray().at(index));
    }

    // What the mouse holds for stage `stage` (0-based) of its DPI table.
    int stageCode(int stage)
    {
        if (family == "553")
            return uchar(state("dpiTable").at(stage));
        constexpr int kStageCodes = 84; // in profile blocks 1 ... 4
        return uchar(state("profiles", 1).at(kStageCodes + stage));
    }

    int gunY(int slot)
    {
        if (family == "553")
            return mouse->state()["gun"].toArray().at(slot - 1).toObject()["y"].toInt();
        constexpr int kGunY = 81; // in profile block slot + 1
        return uchar(state("profiles", slot + 1).at(kGunY));
    }

    QByteArray buttons3And4() { return state("keyMatrices", 0).mid(12, 8); }

    // Moves DPI stage `stage` to `value` with a click on its track and the − / + buttons.
    bool setStage(int stage, int value)
    {
        const QString slider = QStringLiteral("dpiSlider%1").arg(stage);
        const QString shownValue = QStringLiteral("dpiValue%1").arg(stage);
        const int width = window->item(slider)["w"].toInt();
        const int from = window->property("dpiSettingMain", "minDPI").toInt();
        const int to = window->property("dpiSettingMain", "maxDPI").toInt();
        // Roughly where the value lies; the buttons do the rest.
        const int x = 9 + (width - 18) * (value - from) / (to - from);
        const QString before = text(shownValue);
        if (!window->click(slider, x, -1))
            return false;
        WindowDriver::waitFor([&] { return text(shownValue) != before; }, 2000);
        for (int step = 0; step < 80; ++step) {
            const int now = text(shownValue).toInt();
            if (now == value)
                return true;
            const QString button =
                (now < value ? QStringLiteral("dpiPlus%1") : QStringLiteral("dpiMinus%1")).arg(stage);
            if (!window->click(button) ||
                !WindowDriver::waitFor([&] { return text(shownValue).toInt() != now; }, 3000))
                return false;
        }
        return false;
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
        output.clear();
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

    void assignApplyAndReset_data()
    {
        QTest::addColumn<QString>("family");
        QTest::newRow("553") << "553";
        QTest::newRow("560") << "560";
    }

    // Button 3 gets the Copy shortcut, button 4 a Ctrl+Alt+Del-style combination typed on the
    // keyboard, DPI stage 2 becomes 3200; Apply puts all of it on the mouse, Reset takes it back.
    void assignApplyAndReset()
    {
        QFETCH(QString, family);
        this->family = family;
        // The shipped step of 500 cannot show 3200; a step of 100 can.
        setValue("apConfig.bin", "mouse/dpiBase", 100);
        QVERIFY(startProgram());
        const QString screensOf = family == "553" ? ProgramRig::screensFolder() : QString();

        QVERIFY(openItem(3, 11, "keyMenu3Sub"));
        QVERIFY(subMenuLaidOut(3));
        if (!screensOf.isEmpty())
            QVERIFY(window->save(screensOf, "row-menu.png"));
        QVERIFY(window->click("keyMenu3SubItem2"));
        QVERIFY(textIs("keyMenu3Text", "Copy"));

        QVERIFY(openItem(4, 7, "keyMenu4Combination"));
        QVERIFY(window->click("keyMenu4CombinationField"));
        QVERIFY(WindowDriver::waitFor(
            [&] { return window->property("keyMenu4Combination", "isInput").toBool(); }));
        QVERIFY(WindowDriver::chord({kLeftCtrl, kLeftAlt, kDelete}));
        QVERIFY(textIs("keyMenu4CombinationFieldText", "LCtrl + LAlt + Del"));
        if (!screensOf.isEmpty())
            QVERIFY(window->save(screensOf, "combination-panel.png"));
        QVERIFY(window->click("keyMenu4CombinationOK"));
        QVERIFY(textIs("keyMenu4Text", "Group Function-LCtrl+LAlt+Del"));

        QVERIFY(setStage(1, 3200));
        QVERIFY(window->property("mainIten", "isUnsaved").toBool());
        // Nothing reaches the mouse before Apply.
        QVERIFY(buttons3And4() != kCopyAndCombination);
        QVERIFY(stageCode(1) != k3320Code3500);

        QVERIFY(window->click("applyBtn"));
        // While the link's queue runs, the window keeps painting and counts the writes.
        QVERIFY(WindowDriver::waitFor(
            [&] {
                return QRegularExpression("^\\d+ of \\d+$")
                    .match(window->property("protectUIItem", "text").toString())
                    .hasMatch();
            },
            20000));
        QVERIFY2(WindowDriver::waitFor([&] {
                     return buttons3And4() == kCopyAndCombination &&
                            stageCode(1) == k3320Code3500;
                 }, 20000),
                 qPrintable(buttons3And4().toHex(' ') + " stage " + QString::number(stageCode(1))));
        QVERIFY(WindowDriver::waitFor(
            [&] { return !window->property("mainIten", "isUnsaved").toBool(); }));
        // The window takes input again once the link's queue has run the last write.
        QVERIFY(WindowDriver::waitFor(
            [&] { return !window->property("protectUIItem", "isBusy").toBool(); }, 20000));
        QVERIFY(!window->shown("warningAssigmentMain"));

        QVERIFY(window->click("resetBtn"));
        QVERIFY(WindowDriver::waitFor([&] { return window->shown("resetConfirmOK"); }));
        QVERIFY(window->click("resetConfirmOK"));
        QVERIFY2(WindowDriver::waitFor([&] {
                     return buttons3And4() == kForwardAndBack && stageCode(1) == k3320Code1000 &&
                            gunY(1) == 5 && gunY(2) == 7 && gunY(3) == 8;
                 }, 30000),
                 qPrintable(buttons3And4().toHex(' ') + " stage " + QString::number(stageCode(1))));
        QVERIFY(WindowDriver::waitFor(
            [&] { return !window->property("protectUIItem", "isBusy").toBool(); }, 20000));
        QVERIFY(textIs("keyMenu3Text", "Forward Key"));
        QVERIFY(textIs("dpiValue1", "1000"));
        QVERIFY(WindowDriver::waitFor([&] { return window->property("mainIten", "currentDPI").toInt() == 1; }));
        QVERIFY(!window->shown("warningAssigmentMain"));
    }

    // A profile file that is a link out of the data folder: Apply writes the profile into the data
    // folder, the link giving way to a regular file, and leaves the file it led to alone.
    void linkedProfileStaysInTheDataFolder()
    {
        family = "553";
        const QString p1 = runtime->path("modules/setting/p1.bin");
        const QString elsewhere = runtime->path("elsewhere.bin");
        QVERIFY(QFile::rename(p1, elsewhere));
        QVERIFY(QFile::link(elsewhere, p1));
        const QByteArray before = runtime->read("elsewhere.bin");
        QVERIFY(startProgram());
        QVERIFY(setStage(1, 2000));
        QVERIFY(window->click("applyBtn"));
        QVERIFY(WindowDriver::waitFor(
            [&] { return !window->property("mainIten", "isUnsaved").toBool(); }, 20000));
        QCOMPARE(runtime->read("elsewhere.bin"), before);
        QVERIFY(!QFileInfo(p1).isSymLink());
        QVERIFY(runtime->read("modules/setting/p1.bin").contains("dpiValueArray=500, 2000, "));
        QVERIFY(!window->shown("warningAssigmentMain"));
    }

    void dpiButtonMovesTheHighlight_data() { assignApplyAndReset_data(); }

    // The mouse's DPI button: the stage it switches to is the one whose slider is filled in the
    // accent colour on screen. A stage the mouse does not have (0xFF), from the button or from the
    // query when it connects again, is logged and leaves the highlight where it was.
    void dpiButtonMovesTheHighlight()
    {
        QFETCH(QString, family);
        this->family = family;
        QVERIFY(startProgram());
        const QColor accent(0xff, 0x30, 0x30);
        const QColor primary(0xff, 0x99, 0x33);
        // Inside the filled part of the track of stages 3 and 4 (1500 and 2000).
        auto fill = [this](int stage) {
            const int height = window->item(QStringLiteral("dpiSlider%1").arg(stage))["h"].toInt();
            return window->colourAt(QStringLiteral("dpiSlider%1").arg(stage), 24, height / 2);
        };
        auto shows = [&](const QColor &third, const QColor &fourth) {
            return WindowDriver::waitFor(
                [&] { return colourNear(fill(2), third) && colourNear(fill(3), fourth); }, 5000);
        };
        QVERIFY2(shows(primary, primary), qPrintable(fill(2).name() + " " + fill(3).name()));

        QVERIFY(mouse->pressDpi(3));
        QVERIFY2(shows(accent, primary), qPrintable(fill(2).name() + " " + fill(3).name()));
        QCOMPARE(window->property("mainIten", "currentDPI").toInt(), 2);
        QVERIFY(mouse->pressDpi(4));
        QVERIFY2(shows(primary, accent), qPrintable(fill(2).name() + " " + fill(3).name()));

        QVERIFY(mouse->pressDpi(0xFF));
        QVERIFY(printed("DPI button: the mouse reported stage 255 - no stage of it, ignored"));
        QCOMPARE(window->property("mainIten", "currentDPI").toInt(), 3);
        // Its firmware keeps answering 0xFF when asked after the reconnect.
        QVERIFY(mouse->unplug());
        QVERIFY(printed("Device removed"));
        QVERIFY(mouse->plug());
        QVERIFY(printed("current DPI stage: the mouse answered 255 - no stage of it, ignored"));
        QCOMPARE(window->property("mainIten", "currentDPI").toInt(), 3);
        QVERIFY2(shows(primary, accent), qPrintable(fill(2).name() + " " + fill(3).name()));
    }

    // The fire panel with a key captured from the keyboard. The mouse drawing, painted into the
    // window's frame rather than held as a bitmap, shows the row's highlight while its menu is
    // open and is exactly as before once the selection is gone.
    void firePanel()
    {
        family = "553";
        QVERIFY(startProgram());
        auto drawing = [this] {
            const QJsonObject root = window->item(QStringLiteral("mainIten"));
            const QJsonObject picture = window->item(QStringLiteral("mouseHighlight2"));
            return window->grabWindow().copy(picture["x"].toInt() - root["x"].toInt(),
                                             picture["y"].toInt() - root["y"].toInt(),
                                             picture["w"].toInt(), picture["h"].toInt());
        };
        // The drawing as it settles after start-up: two grabs a moment apart agree.
        QImage before = drawing();
        QVERIFY(WindowDriver::waitFor([&] {
            QTest::qWait(300);
            const QImage again = drawing();
            const bool settled = again == before;
            before = again;
            return settled;
        }, 5000));
        QVERIFY(!before.isNull());
        QVERIFY(openItem(2, 6, "keyMenu2Fire"));
        QVERIFY(WindowDriver::waitFor([&] { return drawing() != before; }, 5000));
        QVERIFY(window->click("keyMenu2FireField"));
        QVERIFY(textIs("keyMenu2FireFieldText", "Click Input"));
        QVERIFY(WindowDriver::chord({kKeyF}));
        QVERIFY(textIs("keyMenu2FireFieldText", "F"));
        QVERIFY(window->save(ProgramRig::screensFolder(), "fire-panel.png"));
        QVERIFY(window->click("keyMenu2FireOK"));
        QVERIFY(textIs("keyMenu2Text", "Fire Function-F"));
        window->ask("call mainIten mainFocus");
        QVERIFY(WindowDriver::waitFor([&] { return drawing() == before; }, 5000));
        QVERIFY(window->click("applyBtn"));
        // A fire key is sent as type 10 with its key, rate 10 and endless repeat.
        QVERIFY(WindowDriver::waitFor(
            [&] { return state("keyMatrices", 0).mid(8, 4) == QByteArray::fromHex("0a090a00"); },
            20000));
    }

    // The gun editor in game mode: a preset chosen for slot 1 is sent when the editor closes,
    // with the button tables carrying the slots' periods.
    void gunEditor()
    {
        family = "553";
        setValue("p1.bin", "mouse/mouseMode", 1);
        QVERIFY(startProgram());
        QVERIFY(window->click("gunEditorBtn"));
        QVERIFY(WindowDriver::waitFor([&] { return window->shown("gunControlMain"); }));
        QVERIFY(window->click("gunRow3"));
        QVERIFY(WindowDriver::waitFor(
            [&] { return window->property("gunControlMain", "currentRow").toInt() == 3; }));
        QVERIFY(window->save(ProgramRig::screensFolder(), "gun-editor.png"));
        mouse->clearLog();
        QVERIFY(window->click("gunCloseBtn"));
        QVERIFY(WindowDriver::waitFor([&] { return !window->shown("gunControlMain"); }));
        // Table 2 starts with the period entry of slot 1: (11, 0, period, 0).
        QVERIFY(WindowDriver::waitFor(
            [&] { return state("keyMatrices", 1).left(4) == QByteArray::fromHex("0b000a00"); },
            20000));
        QSettings apConfig(runtime->path("modules/setting/apConfig.bin"), QSettings::IniFormat);
        QCOMPARE(apConfig.value("mouse/selectGun").toStringList(), QStringList({"3", "1", "2"}));
        QVERIFY(!window->shown("warningAssigmentMain"));
    }
};

QTEST_MAIN(TestMousePage)
#include "tst_mousepage.moc"
