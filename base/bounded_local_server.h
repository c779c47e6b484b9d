#pragma once

// A per-user local socket server whose clients cannot cost much: at most so many connected at
// once (more are closed at once), at most so many bytes buffered for each, and a time after which
// a client is dropped, counted from its connection or, when the owner calls touch(), from its last
// complete message. The owner reads and parses; the protocol is its own.

#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>

class BoundedLocalServer : public QObject
{
    Q_OBJECT

public:
    struct Limits {
        int maxClients;
        qint64 readBufferBytes; // at least one whole message of the owner's protocol
        int timeoutMs;
    };

    explicit BoundedLocalServer(const Limits &limits, QObject *parent = nullptr);
    ~BoundedLocalServer() override;

    // Listens at `name` for the user's own processes only; a socket file left there goes.
    bool listen(const QString &name);
    void close() { server.close(); }
    void setTimeout(int ms) { limits.timeoutMs = ms; }

    // The client's time starts again.
    void touch(QLocalSocket *socket) const;
    // The client is cut off.
    static void drop(QLocalSocket *socket);

signals:
    // Also once at the connection when the client's first bytes came with it.
    void readyRead(QLocalSocket *socket);

private:
    void accept();

    Limits limits;
    int clients = 0;
    QLocalServer server; // last: its sockets go before the count they report to
};
