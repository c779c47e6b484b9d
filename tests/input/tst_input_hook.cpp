// The hook procedures: key tables, overrides, repeat suppression, buttons, and the copy-data
// messages.

#include "app/input_forwarding.h"
#include "input/copy_data.h"
#include "input/input_hook.h"
#include "input/key_tables.h"
#include "platform/input_observer.h"
#include "view/dialogs.h"

#include <QKeyEvent>
#include <QLocalSocket>
#include <QMouseEvent>
#include <QWindow>
#include <QtEndian>
#include <QtTest>

#include <atomic>
#include <set>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace hookmsg;

namespace
{

struct KeyEvent {
    int usage;
    bool isDown;
    bool operator==(const KeyEvent &o) const { return usage == o.usage && isDown == o.isDown; }
};
QList<KeyEvent> keyEvents;
void recordKey(quint8 usage, bool isDown, void *)
{
    keyEvents.append({usage, isDown});
}

struct ButtonEvent {
    int button;
    bool isDown;
    qint32 x, y;
};
QList<ButtonEvent> buttonEvents;
void recordButton(quint8 button, bool isDown, qint32 x, qint32 y, void *)
{
    buttonEvents.append({button, isDown, x, y});
}

QList<CopyData> copyMessages;
QList<QByteArray> copyTexts;
void recordCopy(const CopyData *data, void *)
{
    copyMessages.append(*data);
    copyTexts.append(QByteArray(data->lpData, int(data->cbData)));
}

struct FakeDialogs : Dialogs {
    QStringList warnings;
    void warning(QWidget *, const QString &title, const QString &text) override
    {
        warnings << title + "|" + text;
    }
};

void press(quint32 scan, quint32 flags = 0)
{
    Input_Hook::keyboardProc(HC_ACTION, WM_KEYDOWN, scan, flags);
}
void release(quint32 scan, quint32 flags = 0)
{
    Input_Hook::keyboardProc(HC_ACTION, WM_KEYUP, scan, flags);
}

QByteArray frame(quint32 tag, quint32 length, const QByteArray &bytes)
{
    QByteArray f(8, 0);
    qToLittleEndian(tag, f.data());
    qToLittleEndian(length, f.data() + 4);
    return f + bytes;
}

// A warning box that stays open for a while and runs the event loop inside, as a modal box does.
struct ModalDialogs : Dialogs {
    int shown = 0;
    int depth = 0;
    int maxDepth = 0;
    void warning(QWidget *, const QString &, const QString &) override
    {
        ++shown;
        maxDepth = qMax(maxDepth, ++depth);
        QTest::qWait(20);
        --depth;
    }
};

// Another process flooding the channel: frames in small writes, so that more arrive while a box
// is open.
void flood(const QByteArray &path, int writes, std::atomic<bool> &done)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) {
        const QByteArray chunk = frame(0x250F, 5, "Hello").repeated(5);
        for (int i = 0; i < writes; ++i) {
            if (::send(fd, chunk.constData(), size_t(chunk.size()), MSG_NOSIGNAL) < 0)
                break;
            usleep(2000);
        }
    }
    ::close(fd);
    done = true;
}

} // namespace

class TestInputHook : public QObject
{
    Q_OBJECT

private:
    Input_Hook hook;

private slots:
    void initTestCase()
    {
        hook.start(false, createInputObserver());
        hook.setKeyboardCallback(recordKey, nullptr);
        hook.setMouseCallback(recordButton, nullptr);
    }
    void init()
    {
        keyEvents.clear();
        buttonEvents.clear();
    }

    void keys_data()
    {
        QTest::addColumn<int>("scan");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("usage"); // 0: no event
        QTest::newRow("A") << 0x1E << 0 << 0x04;
        QTest::newRow("Z") << 0x2C << 0 << 0x1D;
        QTest::newRow("1") << 0x02 << 0 << 0x1E;
        QTest::newRow("0") << 0x0B << 0 << 0x27;
        QTest::newRow("F10") << 0x44 << 0 << 0x43;
        QTest::newRow("F12") << 0x58 << 0 << 0x45;
        QTest::newRow("Enter") << 0x1C << 0 << 0x28;
        QTest::newRow("Keypad Enter") << 0x1C << 1 << 0x58;
        QTest::newRow("Backslash") << 0x2B << 0 << 0x31;
        QTest::newRow("Pause") << 0x45 << 0 << 0x48;
        QTest::newRow("Num Lock") << 0x45 << 1 << 0x53;
        QTest::newRow("Ctrl+Break") << 0x46 << 1 << 0x48;
        QTest::newRow("Scroll Lock") << 0x46 << 0 << 0x47;
        QTest::newRow("Print Screen") << 0x37 << 1 << 0x46;
        QTest::newRow("Alt+Print Screen") << 0x54 << 0x20 << 0x46;
        QTest::newRow("SysRq without Alt") << 0x54 << 0 << 0;
        QTest::newRow("Keypad *") << 0x37 << 0 << 0x55;
        QTest::newRow("Keypad 1") << 0x4F << 0 << 0x59;
        QTest::newRow("End") << 0x4F << 1 << 0x4D;
        QTest::newRow("Keypad 0") << 0x52 << 0 << 0x62;
        QTest::newRow("Keypad .") << 0x53 << 0 << 0x63;
        QTest::newRow("Left Ctrl") << 0x1D << 0 << 0xE0;
        QTest::newRow("Right Ctrl") << 0x1D << 1 << 0xE4;
        QTest::newRow("Left Shift") << 0x2A << 0 << 0xE1;
        QTest::newRow("Right Shift") << 0x36 << 1 << 0xE5;
        QTest::newRow("scan 36 plain") << 0x36 << 0 << 0;
        QTest::newRow("Left Alt") << 0x38 << 0 << 0xE2;
        QTest::newRow("Right Alt") << 0x38 << 1 << 0xE6;
        QTest::newRow("Left Windows") << 0x5B << 1 << 0xE3;
        QTest::newRow("Right Windows") << 0x5C << 1 << 0;
        QTest::newRow("F13") << 0x64 << 0 << 0;
        QTest::newRow("F23") << 0x6E << 0 << 0x72;
        QTest::newRow("F24") << 0x76 << 0 << 0;
        QTest::newRow("Non-US backslash") << 0x56 << 0 << 0x64;
        QTest::newRow("Application") << 0x5D << 1 << 0x65;
        QTest::newRow("scan above 0xFF") << 0x11E << 0 << 0;
    }
    void keys()
    {
        QFETCH(int, scan);
        QFETCH(int, flags);
        QFETCH(int, usage);
        press(quint32(scan), quint32(flags));
        release(quint32(scan), quint32(flags));
        if (usage == 0)
            QVERIFY(keyEvents.isEmpty());
        else
            QCOMPARE(keyEvents, QList<KeyEvent>({{usage, true}, {usage, false}}));
    }

    void repeatsAndUnseenPresses()
    {
        press(0x1E);
        press(0x1E);
        press(0x1E);
        release(0x1E);
        release(0x1E);
        QCOMPARE(keyEvents, QList<KeyEvent>({{0x04, true}, {0x04, false}}));
        keyEvents.clear();
        // A release whose press was never seen.
        release(0x30);
        QVERIFY(keyEvents.isEmpty());
        // Anything but an action code counts as a release.
        press(0x2E);
        Input_Hook::keyboardProc(1, WM_KEYDOWN, 0x2E, 0);
        QCOMPARE(keyEvents, QList<KeyEvent>({{0x06, true}, {0x06, false}}));
    }

    void stateFollowsWithoutCallback()
    {
        hook.setKeyboardCallback(nullptr, nullptr);
        press(0x20); // D
        hook.setKeyboardCallback(recordKey, nullptr);
        press(0x20);
        QVERIFY(keyEvents.isEmpty());
        release(0x20);
        QCOMPARE(keyEvents, QList<KeyEvent>({{0x07, false}}));
    }

    void hashKeyFlagChangesBackslash()
    {
        Input_Hook other;
        other.start(true, createInputObserver());
        press(0x2B);
        release(0x2B);
        hook.start(false, createInputObserver());
        QCOMPARE(keyEvents, QList<KeyEvent>({{0x32, true}, {0x32, false}}));
    }

    void buttons_data()
    {
        QTest::addColumn<int>("message");
        QTest::addColumn<int>("button"); // 0: nothing
        QTest::addColumn<bool>("isDown");
        QTest::newRow("left down") << 0x201 << 0xF0 << true;
        QTest::newRow("left up") << 0x202 << 0xF0 << false;
        QTest::newRow("left double") << 0x203 << 0 << false;
        QTest::newRow("right down") << 0x204 << 0xF1 << true;
        QTest::newRow("right up") << 0x205 << 0xF1 << false;
        QTest::newRow("right double") << 0x206 << 0 << false;
        QTest::newRow("middle down") << 0x207 << 0xF2 << true;
        QTest::newRow("middle up") << 0x208 << 0xF2 << false;
        QTest::newRow("wheel") << 0x20A << 0 << false;
        QTest::newRow("side button") << 0x20B << 0 << false;
        QTest::newRow("move") << 0x200 << 0 << false;
    }
    void buttons()
    {
        QFETCH(int, message);
        QFETCH(int, button);
        QFETCH(bool, isDown);
        Input_Hook::mouseProc(HC_ACTION, quint32(message), -5, 7);
        if (button == 0) {
            QVERIFY(buttonEvents.isEmpty());
        } else {
            QCOMPARE(buttonEvents.size(), 1);
            QCOMPARE(buttonEvents[0].button, button);
            QCOMPARE(buttonEvents[0].isDown, isDown);
            QCOMPARE(buttonEvents[0].x, -5);
        }
    }

    // Every key of the table can be reached from a Linux key code, and the Linux codes of keys
    // without a row give nothing.
    void linuxKeysCoverTheTable()
    {
        const keys::UsageMap usages = keys::virtualKeyToUsage(false);
        std::set<int> expected;
        for (const auto &row : usages)
            expected.insert(row.second);
        std::set<int> reached;
        for (int code = 0; code < 256; ++code) {
            keyEvents.clear();
            const keys::ScanCode sc = keys::scanCodeOfLinuxKey(quint16(code));
            if (sc.scan == 0)
                continue;
            press(sc.scan, sc.extended ? LLKHF_EXTENDED : 0);
            release(sc.scan, sc.extended ? LLKHF_EXTENDED : 0);
            for (const KeyEvent &e : keyEvents)
                reached.insert(e.usage);
        }
        QCOMPARE(reached, expected);
        QCOMPARE(int(expected.size()), 105);
        // A few by name: Linux KEY_NUMLOCK, KEY_PAUSE, KEY_RIGHTMETA, KEY_F13, KEY_KP1.
        QCOMPARE(keys::scanCodeOfLinuxKey(69).extended, true);
        QCOMPARE(int(keys::scanCodeOfLinuxKey(119).scan), 0x45);
        QCOMPARE(keys::scanCodeOfLinuxKey(119).extended, false);
        QCOMPARE(int(keys::scanCodeOfLinuxKey(79).scan), 0x4F);
        QCOMPARE(int(keys::scanCodeOfLinuxKey(300).scan), 0);
    }

    // Without an X display to observe, the program's own windows feed the same procedures.
    void ownWindowEventsWithoutDisplay()
    {
        const QByteArray display = qgetenv("DISPLAY");
        qunsetenv("DISPLAY");
        Input_Hook local;
        const bool started = local.start(false, createInputObserver());
        if (!display.isEmpty())
            qputenv("DISPLAY", display);
        QVERIFY(started);
        QWindow window;
        // X key code 38 is A; the event reaches the filter at its window once.
        QKeyEvent down(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38, 0, 0);
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, 38, 0, 0);
        QCoreApplication::sendEvent(&window, &down);
        QCoreApplication::sendEvent(&window, &up);
        QMouseEvent click(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(40, 50), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &click);
        local.stop();
        hook.start(false, createInputObserver());
        QCOMPARE(keyEvents, QList<KeyEvent>({{0x04, true}, {0x04, false}}));
        QCOMPARE(buttonEvents.size(), 1);
        QCOMPARE(buttonEvents[0].button, 0xF0);
        QCOMPARE(buttonEvents[0].x, 40);
    }

    void copyDataShownOnlyWhenWellFormed_data()
    {
        QTest::addColumn<quint32>("tag");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<quint32>("length");
        QTest::addColumn<bool>("shown");
        const QByteArray hello("Hello");
        const QByteArray umlaut = QStringLiteral("Grüße").toUtf8();
        QTest::newRow("plain") << 0x250Fu << hello << 5u << true;
        QTest::newRow("non-ASCII") << 0x250Fu << umlaut << quint32(umlaut.size()) << true;
        QTest::newRow("length counts the NUL")
            << 0x250Fu << QByteArray("Hello\0", 6) << 6u << false;
        QTest::newRow("length short") << 0x250Fu << hello << 4u << false;
        QTest::newRow("other tag") << 0x2510u << hello << 5u << false;
    }
    void copyDataShownOnlyWhenWellFormed()
    {
        QFETCH(quint32, tag);
        QFETCH(QByteArray, bytes);
        QFETCH(quint32, length);
        QFETCH(bool, shown);
        FakeDialogs dialogs;
        Dialogs::setInstance(&dialogs);
        QWidget widget;
        widget.setWindowTitle("Talvemark TK700");
        const CopyData data{tag, length, bytes.constData()};
        showCopyData(&data, &widget);
        showCopyData(&data, nullptr);
        Dialogs::setInstance(nullptr);
        if (shown)
            QCOMPARE(dialogs.warnings, QStringList({"Talvemark TK700|" +
                                                    QString::fromUtf8(bytes.left(int(length)))}));
        else
            QVERIFY(dialogs.warnings.isEmpty());
    }

    void copyDataChannelDeliversFrames()
    {
        Input_Hook receiver;
        receiver.setMessageFilter(recordCopy, nullptr, nullptr);
        copyMessages.clear();
        copyTexts.clear();
        QLocalSocket client;
        client.connectToServer(CopyDataChannel::socketPath());
        QVERIFY(client.waitForConnected(2000));
        // A frame in two writes, then a second one.
        const QByteArray first = frame(0x250F, 5, "Hello");
        client.write(first.left(6));
        client.flush();
        QTest::qWait(50);
        client.write(first.mid(6) + frame(0x2510, 2, "ok"));
        client.flush();
        QTRY_COMPARE(copyMessages.size(), 2);
        QCOMPARE(copyMessages[0].dwData, 0x250Fu);
        QCOMPARE(copyTexts[0], QByteArray("Hello"));
        QCOMPARE(copyMessages[1].dwData, 0x2510u);
        // A length beyond any notification closes the connection.
        client.write(frame(0x250F, 1u << 30, "x"));
        client.flush();
        QTRY_COMPARE(client.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(copyMessages.size(), 2);
    }

    // Each message used to open its box from inside the socket's read, nested in the box before:
    // a few thousand messages overflowed the stack.
    void notificationsShowOneBoxAtATime()
    {
        ModalDialogs dialogs;
        Dialogs::setInstance(&dialogs);
        QWidget widget;
        Input_Hook receiver;
        receiver.setMessageFilter(showCopyData, nullptr, &widget);
        std::atomic<bool> done = false;
        std::thread sender(flood, CopyDataChannel::socketPath().toLocal8Bit(), 200, std::ref(done));
        QTRY_VERIFY_WITH_TIMEOUT(done, 20000);
        sender.join();
        // Until the queue has drained.
        int seen = -1;
        while (seen != dialogs.shown) {
            seen = dialogs.shown;
            QTest::qWait(200);
        }
        Dialogs::setInstance(nullptr);
        QCOMPARE(dialogs.maxDepth, 1);
        QVERIFY2(dialogs.shown >= 2, qPrintable(QString::number(dialogs.shown)));
        // 1000 were sent; what came while a box was open beyond the queue's bound was dropped.
        QVERIFY2(dialogs.shown < 500, qPrintable(QString::number(dialogs.shown)));
    }

    void silentClientsAreDropped()
    {
        Input_Hook receiver;
        receiver.setMessageFilter(recordCopy, nullptr, nullptr);
        receiver.copyDataChannel()->setIdleTimeout(300);
        copyMessages.clear();
        QLocalSocket silent, halfway, talking;
        for (QLocalSocket *client : {&silent, &halfway, &talking}) {
            client->connectToServer(CopyDataChannel::socketPath());
            QVERIFY(client->waitForConnected(2000));
        }
        halfway.write(frame(0x250F, 5, "Hello").left(10));
        halfway.flush();
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 1000) {
            talking.write(frame(0x2510, 2, "ok"));
            talking.flush();
            QTest::qWait(100);
        }
        QCOMPARE(silent.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(halfway.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(talking.state(), QLocalSocket::ConnectedState);
        QVERIFY(copyMessages.size() >= 5);
    }

    void connectionsAreBounded()
    {
        Input_Hook receiver;
        receiver.setMessageFilter(recordCopy, nullptr, nullptr);
        std::vector<std::unique_ptr<QLocalSocket>> clients;
        for (int i = 0; i < CopyDataChannel::kMaxClients + 4; ++i) {
            clients.push_back(std::make_unique<QLocalSocket>());
            clients.back()->connectToServer(CopyDataChannel::socketPath());
            QVERIFY(clients.back()->waitForConnected(2000));
        }
        auto closed = [&clients] {
            return std::count_if(clients.cbegin(), clients.cend(), [](const auto &c) {
                return c->state() == QLocalSocket::UnconnectedState;
            });
        };
        QTRY_COMPARE(closed(), 4);
        // A place that comes free is taken again.
        clients.front()->disconnectFromServer();
        QLocalSocket late;
        QTest::qWait(100);
        late.connectToServer(CopyDataChannel::socketPath());
        QVERIFY(late.waitForConnected(2000));
        QTest::qWait(200);
        QCOMPARE(late.state(), QLocalSocket::ConnectedState);
    }

    void copyDataChannelRefusesOtherUsers()
    {
        if (geteuid() != 0)
            QSKIP("needs root to act as another user");
        Input_Hook receiver;
        receiver.setMessageFilter(recordCopy, nullptr, nullptr);
        const QByteArray path = CopyDataChannel::socketPath().toLocal8Bit();
        const pid_t child = fork();
        if (child == 0) {
            // As nobody: the socket must not accept us.
            if (setgid(65534) != 0 || setuid(65534) != 0)
                _exit(3);
            const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
            _exit(::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 ? 0
                                                                                             : 1);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 1);
    }
};

QTEST_MAIN(TestInputHook)
#include "tst_input_hook.moc"
