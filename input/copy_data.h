#pragma once

// A per-user local socket through which another process hands the application a short text, as
// (tag, byte length, UTF-8 bytes). Only the user's own processes can connect.

#include <QLocalServer>
#include <QObject>

class CopyDataChannel : public QObject
{
    Q_OBJECT

public:
    static constexpr quint32 kMaxBytes = 64 * 1024;

    explicit CopyDataChannel(QObject *parent = nullptr);
    ~CopyDataChannel() override;

    static QString socketPath();
    bool listen();

private:
    void read(QLocalSocket *socket);
    QLocalServer server;
};
