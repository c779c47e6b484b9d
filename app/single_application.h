#pragma once

// An application object that knows whether another instance of the program runs for the same
// user, and passes messages to it. The identity of an instance is the user: copies at different
// paths are one program. Instances of other users are never reached: the lock and the socket live
// in the user's own runtime folder and the socket is open to its owner only.

#include "base/bounded_local_server.h"

#include <QApplication>
#include <QLockFile>

#include <memory>

class QLocalSocket;

// The meeting point of the instances: a lock file and a local socket named `id` in `folder`. The
// first to take the lock listens; the others send it messages.
class InstanceChannel : public QObject
{
    Q_OBJECT

public:
    // A message is a short text; a client that sends more, or nothing whole within the time-out,
    // is dropped. At most this many clients are served at once.
    static constexpr qint64 kMaxMessageBytes = 4096;
    static constexpr int kClientTimeoutMs = 3000;
    static constexpr int kMaxClients = 8;

    InstanceChannel(const QString &folder, const QString &id, QObject *parent = nullptr);
    ~InstanceChannel() override;

    // Another instance holds the lock.
    bool isRunning() const { return running; }
    // The lock is held by tk700ctl working on the mouse, not by a running program.
    bool heldByTool() const;
    // Sends `message` to the running instance and waits for its receipt; `timeout` bounds the
    // whole delivery.
    bool sendMessage(const QString &message, int timeout);
    QString socketName() const { return serverName; }

signals:
    void messageReceived(const QString &message);

private:
    void listen();
    void readMessage(QLocalSocket *socket);

    QString serverName;
    QString toolLock;
    std::unique_ptr<QLockFile> lock;
    bool running = false;
    BoundedLocalServer server; // last: its sockets go before the state they report to
};

class SingleApplication : public QApplication
{
    Q_OBJECT

public:
    SingleApplication(int &argc, char **argv);
    ~SingleApplication() override; // the socket and the lock go while the application still exists

    bool isRunning() const { return channel->isRunning(); }
    bool heldByTool() const { return channel->heldByTool(); }
    bool sendMessage(const QString &message, int timeout)
    {
        return channel->sendMessage(message, timeout);
    }

signals:
    void messageReceived(const QString &message);

private:
    InstanceChannel *channel = nullptr;
};
