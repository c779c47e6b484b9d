// Keys and buttons pressed anywhere on the X display reach the QML root as USB usages, through
// the program's own wiring (observer, hook procedures, forwarding into the view).

#include "app/input_forwarding.h"
#include "app/widget.h"
#include "input/input_hook.h"
#include "platform/input_observer.h"
#include "support/test_runtime.h"
#include "view/myqquickview.h"
#include "view/ui_controler.h"

#include <QProcess>
#include <QQuickItem>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

namespace
{

bool xdotool(const QStringList &args)
{
    return QProcess::execute("xdotool", args) == 0;
}

} // namespace

class TestKeyCapture : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    std::unique_ptr<Widget> widget;
    std::unique_ptr<Input_Hook> hook;
    std::unique_ptr<QSignalSpy> keys;
    std::unique_ptr<QSignalSpy> buttons;

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X display (the test command runs under Xvfb)");
        if (QStandardPaths::findExecutable("xdotool").isEmpty())
            QSKIP("needs xdotool");
        runtime = std::make_unique<TestRuntime>();
        widget = std::make_unique<Widget>();
        hook = std::make_unique<Input_Hook>();
        QVERIFY(hook->start(false, createInputObserver()));
        hook->setKeyboardCallback(forwardKeyboard, widget.get());
        hook->setMouseCallback(forwardMouse, widget.get());
        QQuickItem *root = widget->controler->mainView->rootObject();
        QVERIFY(root);
        keys = std::make_unique<QSignalSpy>(root, SIGNAL(msg_KB(bool, int)));
        buttons = std::make_unique<QSignalSpy>(root, SIGNAL(msg_MS(bool, int, int, int)));
    }
    void cleanupTestCase()
    {
        keys.reset();
        buttons.reset();
        hook.reset();
        widget.reset();
        runtime.reset();
    }
    void init()
    {
        QTest::qWait(50);
        keys->clear();
        buttons->clear();
    }

    // X key codes are Linux input-event codes plus 8.
    void keyPressAndRelease_data()
    {
        QTest::addColumn<int>("xKeycode");
        QTest::addColumn<int>("usage"); // 0: nothing
        QTest::newRow("A") << 38 << 0x04;
        QTest::newRow("Left Ctrl") << 37 << 0xE0;
        QTest::newRow("Left Shift") << 50 << 0xE1;
        QTest::newRow("Left Alt") << 64 << 0xE2;
        QTest::newRow("Right Ctrl") << 105 << 0xE4;
        QTest::newRow("Right Shift") << 62 << 0xE5;
        QTest::newRow("Right Alt") << 108 << 0xE6;
        QTest::newRow("Keypad 1") << 87 << 0x59;
        QTest::newRow("Keypad 9") << 81 << 0x61;
        QTest::newRow("Keypad 0") << 90 << 0x62;
        QTest::newRow("Pause") << 127 << 0x48;
        QTest::newRow("Num Lock") << 77 << 0x53;
        QTest::newRow("Keypad 1 again, Num Lock toggled") << 87 << 0x59;
        QTest::newRow("Keypad Enter") << 104 << 0x58;
        QTest::newRow("Right Windows") << 134 << 0;
        QTest::newRow("F13") << 191 << 0;
    }
    void keyPressAndRelease()
    {
        QFETCH(int, xKeycode);
        QFETCH(int, usage);
        QVERIFY(xdotool({"key", QString::number(xKeycode)}));
        if (usage == 0) {
            QTest::qWait(300);
            QCOMPARE(keys->count(), 0);
            return;
        }
        QTRY_COMPARE(keys->count(), 2);
        QCOMPARE(keys->at(0), QVariantList({true, usage}));
        QCOMPARE(keys->at(1), QVariantList({false, usage}));
    }

    void heldKeyGivesOnePress()
    {
        QProcess::execute("xset", {"r", "rate", "200", "30"});
        QVERIFY(xdotool({"keydown", "38"}));
        QTest::qWait(900);
        QVERIFY(xdotool({"keyup", "38"}));
        QTRY_VERIFY(keys->count() >= 2);
        QTest::qWait(200);
        QCOMPARE(keys->count(), 2);
        QCOMPARE(keys->at(0), QVariantList({true, 0x04}));
        QCOMPARE(keys->at(1), QVariantList({false, 0x04}));
    }

    void leftClickAndWheel()
    {
        QVERIFY(xdotool({"mousemove", "300", "200"}));
        QVERIFY(xdotool({"click", "1"}));
        QTRY_COMPARE(buttons->count(), 2);
        QCOMPARE(buttons->at(0), QVariantList({true, 0xF0, 300, 200}));
        QCOMPARE(buttons->at(1), QVariantList({false, 0xF0, 300, 200}));
        buttons->clear();
        QVERIFY(xdotool({"click", "3"}));
        QTRY_COMPARE(buttons->count(), 2);
        QCOMPARE(buttons->at(0).at(1).toInt(), 0xF1);
        buttons->clear();
        // Wheel turns and side buttons give nothing.
        QVERIFY(xdotool({"click", "4"}));
        QVERIFY(xdotool({"click", "5"}));
        QVERIFY(xdotool({"click", "8"}));
        QTest::qWait(300);
        QCOMPARE(buttons->count(), 0);
        QCOMPARE(keys->count(), 0);
    }
};

QTEST_MAIN(TestKeyCapture)
#include "tst_key_capture.moc"
