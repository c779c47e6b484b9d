#include "app/single_application.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace
{

// The identity of an instance: the program's own path, per user.
QString instanceId()
{
    const QByteArray path = QCoreApplication::applicationFilePath().toUtf8();
    const QByteArray hash =
        QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("tk700-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash));
}

QString runtimeFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}

} // namespace

SingleApplication::SingleApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    const QString id = instanceId();
    serverName = runtimeFolder() + QLatin1Char('/') + id + QStringLiteral(".sock");
    lock = std::make_unique<QLockFile>(runtimeFolder() + QLatin1Char('/') + id +
                                       QStringLiteral(".lock"));
    lock->setStaleLockTime(0);
    running = !lock->tryLock(0);
    if (!running)
        listen();
}

SingleApplication::~SingleApplication()
{
    server.close();
}

void SingleApplication::listen()
{
    QLocalServer::removeServer(serverName);
    server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this,
                    [this, socket] { readMessage(socket); });
        }
    });
    server.listen(serverName);
}

void SingleApplication::readMessage(QLocalSocket *socket)
{
    QDataStream in(socket);
    in.startTransaction();
    QString message;
    in >> message;
    if (!in.commitTransaction())
        return;
    socket->write("ack", 3);
    socket->flush();
    emit messageReceived(message);
}

bool SingleApplication::sendMessage(const QString &message, int timeout)
{
    if (!running)
        return false;
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(timeout))
        return false;
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << message;
    socket.write(payload);
    return socket.waitForBytesWritten(timeout) && socket.waitForReadyRead(timeout);
}
