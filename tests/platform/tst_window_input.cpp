// Key capture from the program's own window, as on a Wayland session: a held key, which the
// desktop repeats, is one press and one release; the session decides which source is used.

#include "input/input_hook.h"
#include "platform/window_input_observer.h"

#include <QKeyEvent>
#include <QWindow>
#include <QtTest>

namespace
{

// Linux input-event code of A is 30; the window system's key code is that plus 8.
constexpr quint32 kKeycodeA = 30 + 8;
constexpr quint32 kKeycodeLeftShift = 42 + 8;
constexpr quint8 kUsageA = 0x04;
constexpr quint8 kUsageLeftShift = 0xE1;

struct Seen {
    QList<QPair<int, bool>> keys;
};

void recordKey(quint8 usage, bool isDown, void *context)
{
    static_cast<Seen *>(context)->keys.append({usage, isDown});
}

void sendKey(QWindow &window, QEvent::Type type, int key, quint32 keycode, bool autoRepeat)
{
    QKeyEvent event(type, key, Qt::NoModifier, keycode, 0, 0, QString(), autoRepeat);
    QCoreApplication::sendEvent(&window, &event);
}

} // namespace

class TestWindowInput : public QObject
{
    Q_OBJECT

private slots:
    void heldKeyIsOnePressAndOneRelease()
    {
        Seen seen;
        Input_Hook hook;
        QVERIFY(hook.start(false, std::make_unique<WindowInputObserver>()));
        hook.setKeyboardCallback(recordKey, &seen);
        QWindow window;

        // Shift held while A is held and repeated, as a compositor's repeat delivers it.
        sendKey(window, QEvent::KeyPress, Qt::Key_Shift, kKeycodeLeftShift, false);
        sendKey(window, QEvent::KeyPress, Qt::Key_A, kKeycodeA, false);
        for (int i = 0; i < 5; ++i) {
            sendKey(window, QEvent::KeyRelease, Qt::Key_A, kKeycodeA, true);
            sendKey(window, QEvent::KeyPress, Qt::Key_A, kKeycodeA, true);
        }
        sendKey(window, QEvent::KeyRelease, Qt::Key_A, kKeycodeA, false);
        sendKey(window, QEvent::KeyRelease, Qt::Key_Shift, kKeycodeLeftShift, false);

        const QList<QPair<int, bool>> expected = {
            {kUsageLeftShift, true}, {kUsageA, true}, {kUsageA, false}, {kUsageLeftShift, false}};
        QCOMPARE(seen.keys, expected);

        // Pressed again later: a new press.
        sendKey(window, QEvent::KeyPress, Qt::Key_A, kKeycodeA, false);
        QCOMPARE(seen.keys.size(), 5);
        QCOMPARE(seen.keys.last(), qMakePair(int(kUsageA), true));
        hook.stop();
    }

    void waylandSessionsUseTheOwnWindow_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("sessionType");
        QTest::addColumn<QString>("waylandDisplay");
        QTest::addColumn<bool>("wayland");
        QTest::newRow("native wayland") << "wayland"
                                        << "wayland"
                                        << "wayland-0" << true;
        QTest::newRow("xwayland") << "xcb"
                                  << "wayland"
                                  << "wayland-0" << true;
        QTest::newRow("x11 session") << "xcb"
                                     << "x11"
                                     << "" << false;
        QTest::newRow("xvfb") << "xcb"
                              << ""
                              << "" << false;
    }
    void waylandSessionsUseTheOwnWindow()
    {
        QFETCH(QString, platform);
        QFETCH(QString, sessionType);
        QFETCH(QString, waylandDisplay);
        QFETCH(bool, wayland);
        QCOMPARE(isWaylandSession(platform, sessionType, waylandDisplay), wayland);
    }
};

QTEST_MAIN(TestWindowInput)
#include "tst_window_input.moc"
