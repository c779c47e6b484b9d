#include "input/copy_data.h"

#include "input/input_hook.h"

#include <QDebug>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QtEndian>

#include <unistd.h>

namespace
{
constexpr int kHeaderBytes = 8; // u32 tag, u32 byte length, little-endian
}

CopyDataChannel::CopyDataChannel(QObject *parent)
    : QObject(parent), server({kMaxClients, kHeaderBytes + kMaxBytes, kIdleTimeoutMs})
{
    connect(&server, &BoundedLocalServer::readyRead, this, &CopyDataChannel::read);
}

CopyDataChannel::~CopyDataChannel() = default;

QString CopyDataChannel::socketPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/tk700-copydata-%1.sock").arg(getuid());
}

bool CopyDataChannel::listen()
{
    return server.listen(socketPath());
}

void CopyDataChannel::read(QLocalSocket *socket)
{
    while (socket->bytesAvailable() >= kHeaderBytes) {
        const QByteArray header = socket->peek(kHeaderBytes);
        const auto tag = qFromLittleEndian<quint32>(header.constData());
        const auto length = qFromLittleEndian<quint32>(header.constData() + 4);
        if (length > kMaxBytes) {
            socket->abort();
            return;
        }
        if (socket->bytesAvailable() < kHeaderBytes + qint64(length))
            return;
        socket->skip(kHeaderBytes);
        enqueue(tag, socket->read(length));
        server.touch(socket);
    }
}

void CopyDataChannel::enqueue(quint32 tag, const QByteArray &bytes)
{
    if (pending.size() >= kMaxPending) {
        qDebug() << "copy data: message dropped," << kMaxPending << "already waiting";
        return;
    }
    pending.enqueue({tag, bytes});
    // Handled from the event loop, never from inside read(): a handler that opens a modal box
    // runs a nested loop, in which this socket may be read again or deleted.
    if (!delivering && !deliveryQueued) {
        deliveryQueued = true;
        QMetaObject::invokeMethod(this, &CopyDataChannel::deliver, Qt::QueuedConnection);
    }
}

void CopyDataChannel::deliver()
{
    deliveryQueued = false;
    // One message at a time: what arrives while a box is open waits in `pending`.
    if (delivering)
        return;
    delivering = true;
    while (!pending.isEmpty()) {
        const Message message = pending.dequeue();
        const CopyData data{message.tag, quint32(message.bytes.size()), message.bytes.constData()};
        Input_Hook::messageFilter(&data);
    }
    delivering = false;
}
