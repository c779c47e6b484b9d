// The single-instance channel: one instance per user, messages that are bounded in size and time,
// and a live server that is never taken over.

#include "app/single_application.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <atomic>

namespace
{

const QString kId = QStringLiteral("tk700-test");

// A client that speaks the channel's framing by hand.
QByteArray frame(quint32 byteLength, const QByteArray &utf16 = QByteArray())
{
    char length[4];
    qToBigEndian(byteLength, length);
    return QByteArray(length, 4) + utf16;
}

} // namespace

class TestSingleApplication : public QObject
{
    Q_OBJECT

private slots:
    void secondInstanceWakesTheFirst()
    {
        QTemporaryDir folder;
        InstanceChannel first(folder.path(), kId);
        QVERIFY(!first.isRunning());
        InstanceChannel second(folder.path(), kId);
        QVERIFY(second.isRunning());
        QSignalSpy received(&first, &InstanceChannel::messageReceived);
        // The receipt needs the first one's event loop; the sender blocks, so it runs beside.
        bool delivered = false;
        QThread *sender = QThread::create([&] {
            InstanceChannel third(folder.path(), kId);
            delivered = third.sendMessage(QStringLiteral("wake"), 5000);
        });
        sender->start();
        QTRY_VERIFY(sender->isFinished());
        delete sender;
        QVERIFY(delivered);
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.at(0).at(0).toString(), QStringLiteral("wake"));
    }

    // One bound for the whole delivery. The peer lets the sender wait at each step: its queue of
    // connections is full until shortly before the time-out, and it never acknowledges.
    void deliveryHasOneBound()
    {
        QTemporaryDir folder;
        QLockFile held(folder.filePath(kId + ".lock"));
        QVERIFY(held.tryLock(0));
        const QString name = folder.filePath(kId + ".sock");
        constexpr int kTimeoutMs = 1500;
        std::atomic<bool> listening{false};
        std::atomic<bool> senderDone{false};
        QThread *peer = QThread::create([&] {
            QLocalServer server;
            server.setListenBacklogSize(1);
            if (!server.listen(name))
                return;
            listening = true;
            QThread::msleep(kTimeoutMs * 8 / 10);
            // Takes every connection and reads, but never answers.
            QList<QLocalSocket *> taken;
            QElapsedTimer open;
            open.start();
            while (!senderDone && open.elapsed() < 3LL * kTimeoutMs) {
                server.waitForNewConnection(50);
                while (QLocalSocket *s = server.nextPendingConnection())
                    taken << s;
                for (QLocalSocket *s : taken)
                    s->readAll();
            }
        });
        peer->start();
        QTRY_VERIFY(listening);
        // Fill the peer's queue of connections that wait to be taken.
        QList<QLocalSocket *> fillers;
        for (int i = 0; i < 8; ++i) {
            auto *filler = new QLocalSocket(this);
            filler->connectToServer(name);
            fillers << filler;
        }
        InstanceChannel second(folder.path(), kId);
        QVERIFY(second.isRunning());
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!second.sendMessage(QString(), kTimeoutMs));
        const qint64 took = timer.elapsed();
        senderDone = true;
        peer->wait();
        delete peer;
        qDeleteAll(fillers);
        QVERIFY2(took < kTimeoutMs + 400, qPrintable(QString::number(took)));
    }

    // Oversized messages and silent clients are dropped without being read; the channel keeps
    // serving.
    void clientsAreBounded()
    {
        QTemporaryDir folder;
        InstanceChannel channel(folder.path(), kId);
        QSignalSpy received(&channel, &InstanceChannel::messageReceived);

        QLocalSocket huge;
        huge.connectToServer(channel.socketName());
        QVERIFY(huge.waitForConnected(2000));
        // Claims 256 MB and starts sending them.
        huge.write(frame(256u << 20, QByteArray(64LL * 1024, 'x')));
        QTRY_COMPARE_WITH_TIMEOUT(huge.state(), QLocalSocket::UnconnectedState, 2000);

        QLocalSocket odd;
        odd.connectToServer(channel.socketName());
        QVERIFY(odd.waitForConnected(2000));
        odd.write(frame(3, "abc")); // UTF-16 comes in pairs of bytes
        QTRY_COMPARE_WITH_TIMEOUT(odd.state(), QLocalSocket::UnconnectedState, 2000);

        QLocalSocket silent;
        silent.connectToServer(channel.socketName());
        QVERIFY(silent.waitForConnected(2000));
        silent.write(frame(8)); // announces a message that never comes
        QTRY_COMPARE_WITH_TIMEOUT(silent.state(), QLocalSocket::UnconnectedState,
                                  InstanceChannel::kClientTimeoutMs + 2000);
        QCOMPARE(received.size(), 0);

        QLocalSocket good;
        good.connectToServer(channel.socketName());
        QVERIFY(good.waitForConnected(2000));
        const QString text = QStringLiteral("hi");
        good.write(frame(4, QByteArray("\0h\0i", 4)));
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received.at(0).at(0).toString(), text);
        QTRY_VERIFY(good.bytesAvailable() > 0 || good.waitForReadyRead(10));
        QCOMPARE(good.readAll(), QByteArray("ack"));
    }

    // An instance that does not hold the lock yet answers on the socket keeps it.
    void liveServerIsNotTakenOver()
    {
        QTemporaryDir folder;
        QLocalServer other;
        QVERIFY(other.listen(folder.filePath(kId + ".sock")));
        InstanceChannel channel(folder.path(), kId);
        QVERIFY(!channel.isRunning());
        QLocalSocket client;
        client.connectToServer(folder.filePath(kId + ".sock"));
        QVERIFY(client.waitForConnected(2000));
        QVERIFY(other.waitForNewConnection(2000));
    }

    // Nothing of a stale instance stands in the way of a new one.
    void staleSocketIsReplaced()
    {
        QTemporaryDir folder;
        QFile stale(folder.filePath(kId + ".sock"));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        InstanceChannel channel(folder.path(), kId);
        QVERIFY(!channel.isRunning());
        QSignalSpy received(&channel, &InstanceChannel::messageReceived);
        QLocalSocket client;
        client.connectToServer(channel.socketName());
        QVERIFY(client.waitForConnected(2000));
        client.write(frame(0));
        QTRY_COMPARE(received.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSingleApplication)
#include "tst_single_application.moc"
