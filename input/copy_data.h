#pragma once

// A per-user local socket through which another process hands the application a short text, as
// (tag, byte length, UTF-8 bytes). Only the user's own processes can connect.

#include "base/bounded_local_server.h"

#include <QByteArray>
#include <QObject>
#include <QQueue>

class CopyDataChannel : public QObject
{
    Q_OBJECT

public:
    static constexpr quint32 kMaxBytes = 64 * 1024;
    // Messages that wait while one is being handled (its box is open); more are dropped.
    static constexpr int kMaxPending = 8;
    // Connections at a time; more are closed at once.
    static constexpr int kMaxClients = 16;
    // A client must complete a message within this time of connecting or of its last message.
    static constexpr int kIdleTimeoutMs = 5000;

    explicit CopyDataChannel(QObject *parent = nullptr);
    ~CopyDataChannel() override;

    static QString socketPath();
    bool listen();
    void setIdleTimeout(int ms) { server.setTimeout(ms); }

private:
    struct Message {
        quint32 tag;
        QByteArray bytes;
    };

    void read(QLocalSocket *socket);
    void enqueue(quint32 tag, const QByteArray &bytes);
    void deliver();

    QQueue<Message> pending;
    bool delivering = false;
    bool deliveryQueued = false;
    BoundedLocalServer server; // last: its sockets go before the state they report to
};
