#include "app/single_application.h"

#include "base/instance_id.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QtEndian>

#include <unistd.h>

namespace
{

// The message travels as QDataStream writes a QString: a 32-bit big-endian byte count (all ones
// for a null string), then UTF-16.
constexpr qint64 kLengthBytes = 4;
constexpr quint32 kNullString = 0xFFFFFFFF;

} // namespace

SingleApplication::SingleApplication(int &argc, char **argv)
    : QApplication(argc, argv), channel(new InstanceChannel(instanceFolder(), instanceId(), this))
{
    connect(channel, &InstanceChannel::messageReceived, this, &SingleApplication::messageReceived);
}

SingleApplication::~SingleApplication()
{
    delete channel;
}

InstanceChannel::InstanceChannel(const QString &folder, const QString &id, QObject *parent)
    : QObject(parent), server({kMaxClients, kLengthBytes + kMaxMessageBytes, kClientTimeoutMs})
{
    serverName = folder + QLatin1Char('/') + id + QStringLiteral(".sock");
    toolLock = toolLockPath(folder, id);
    lock = std::make_unique<QLockFile>(instanceLockPath(folder, id));
    lock->setStaleLockTime(0);
    running = !lock->tryLock(0);
    if (!running)
        listen();
}

InstanceChannel::~InstanceChannel()
{
    server.close();
}

bool InstanceChannel::heldByTool() const
{
    if (!running)
        return false;
    // tk700ctl holds its own lock for as long as it holds ours; one that is free (or stale) is
    // no tool at work. Taken to look, it is given back at once.
    QLockFile tool(toolLock);
    tool.setStaleLockTime(0);
    if (tool.tryLock(0))
        return false;
    return tool.error() == QLockFile::LockFailedError;
}

void InstanceChannel::listen()
{
    // The lock is ours, so a socket file left here is stale, unless a server still answers on it
    // (an instance that does not take the lock): that one is never taken over.
    QLocalSocket probe;
    probe.connectToServer(serverName);
    if (probe.waitForConnected(200)) {
        qDebug() << "Single instance: another server answers at" << serverName << "- left alone";
        return;
    }
    connect(&server, &BoundedLocalServer::readyRead, this, &InstanceChannel::readMessage);
    server.listen(serverName);
}

void InstanceChannel::readMessage(QLocalSocket *socket)
{
    if (socket->property("answered").toBool()) {
        socket->readAll();
        return;
    }
    char header[kLengthBytes];
    if (socket->peek(header, kLengthBytes) < kLengthBytes)
        return;
    const auto length = qFromBigEndian<quint32>(header);
    const qint64 size = length == kNullString ? 0 : qint64(length);
    if (size > kMaxMessageBytes || size % 2 != 0) {
        BoundedLocalServer::drop(socket);
        return;
    }
    if (socket->bytesAvailable() < kLengthBytes + size)
        return;
    QByteArray bytes = socket->read(kLengthBytes + size);
    QDataStream in(&bytes, QIODevice::ReadOnly);
    QString message;
    in >> message;
    socket->setProperty("answered", true);
    socket->write("ack", 3);
    socket->flush();
    emit messageReceived(message);
}

bool InstanceChannel::sendMessage(const QString &message, int timeout)
{
    if (!running)
        return false;
    // One bound for the whole delivery: connecting, writing and the receipt.
    const QDeadlineTimer deadline(timeout);
    auto left = [&deadline] { return int(qMax<qint64>(0, deadline.remainingTime())); };
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(left()))
        return false;
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << message;
    socket.write(payload);
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(left()))
            return false;
    return socket.waitForReadyRead(left());
}
