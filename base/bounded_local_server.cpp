#include "base/bounded_local_server.h"

#include <QTimer>

namespace
{
const char kTimerName[] = "clientTimeout";
}

BoundedLocalServer::BoundedLocalServer(const Limits &limits, QObject *parent)
    : QObject(parent), limits(limits)
{
    connect(&server, &QLocalServer::newConnection, this, &BoundedLocalServer::accept);
}

BoundedLocalServer::~BoundedLocalServer()
{
    server.close();
}

bool BoundedLocalServer::listen(const QString &name)
{
    QLocalServer::removeServer(name);
    server.setSocketOptions(QLocalServer::UserAccessOption);
    return server.listen(name);
}

void BoundedLocalServer::touch(QLocalSocket *socket) const
{
    if (auto *timer = socket->findChild<QTimer *>(QLatin1String(kTimerName)))
        timer->start(limits.timeoutMs);
}

void BoundedLocalServer::drop(QLocalSocket *socket)
{
    socket->abort();
    socket->deleteLater();
}

void BoundedLocalServer::accept()
{
    while (QLocalSocket *socket = server.nextPendingConnection()) {
        if (clients >= limits.maxClients) {
            drop(socket);
            continue;
        }
        ++clients;
        connect(socket, &QObject::destroyed, this, [this] { --clients; });
        // Qt never buffers more than the owner lets a message be.
        socket->setReadBufferSize(limits.readBufferBytes);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A client that connects and then says nothing (or stops halfway) would hold its
        // connection for ever.
        auto *timer = new QTimer(socket);
        timer->setObjectName(QLatin1String(kTimerName));
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, socket, [socket] { drop(socket); });
        timer->start(limits.timeoutMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { emit readyRead(socket); });
        if (socket->bytesAvailable() > 0)
            emit readyRead(socket);
    }
}
