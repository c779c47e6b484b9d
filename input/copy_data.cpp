#include "input/copy_data.h"

#include "input/input_hook.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QtEndian>

#include <unistd.h>

namespace
{
constexpr int kHeaderBytes = 8; // u32 tag, u32 byte length, little-endian
}

CopyDataChannel::CopyDataChannel(QObject *parent) : QObject(parent) {}

CopyDataChannel::~CopyDataChannel()
{
    server.close();
}

QString CopyDataChannel::socketPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/tk700-copydata-%1.sock").arg(getuid());
}

bool CopyDataChannel::listen()
{
    QLocalServer::removeServer(socketPath());
    server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
        }
    });
    return server.listen(socketPath());
}

void CopyDataChannel::read(QLocalSocket *socket)
{
    while (socket->bytesAvailable() >= kHeaderBytes) {
        const QByteArray header = socket->peek(kHeaderBytes);
        const quint32 tag = qFromLittleEndian<quint32>(header.constData());
        const quint32 length = qFromLittleEndian<quint32>(header.constData() + 4);
        if (length > kMaxBytes) {
            socket->abort();
            return;
        }
        if (socket->bytesAvailable() < kHeaderBytes + qint64(length))
            return;
        socket->skip(kHeaderBytes);
        const QByteArray bytes = socket->read(length);
        const CopyData data{tag, length, bytes.constData()};
        Input_Hook::messageFilter(&data);
    }
}
