#pragma once

// An application object that knows whether another instance of the same program runs for the
// same user, and passes messages to it. Instances of other users are never reached: the lock and
// the socket live in the user's own runtime folder and the socket is open to its owner only.

#include <QApplication>
#include <QLocalServer>
#include <QLockFile>

#include <memory>

class SingleApplication : public QApplication
{
    Q_OBJECT

public:
    SingleApplication(int &argc, char **argv);
    ~SingleApplication() override;

    bool isRunning() const { return running; }
    bool sendMessage(const QString &message, int timeout);

signals:
    void messageReceived(const QString &message);

private:
    void listen();
    void readMessage(QLocalSocket *socket);

    QString serverName;
    std::unique_ptr<QLockFile> lock;
    QLocalServer server;
    bool running = false;
};
