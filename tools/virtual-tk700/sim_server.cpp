// The endpoint half of the simulator: the socket, its frames, the two HID interfaces with their
// handles and read time-outs, and the faults where the reports pass. The control half is in
// sim_control.cpp.

#include "sim_server.h"
#include "wire.h"

#include <QFile>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>

#include <sys/stat.h>
#include <type_traits>

namespace tk700sim
{

namespace
{

using namespace wire;

struct InterfaceDescription {
    const char *path;
    quint16 usagePage;
    quint16 usage;
    qint32 number;
};

constexpr quint16 kVendorId = 0x04D9;
constexpr quint16 kProductId = 0xA09F;
constexpr quint16 kRelease = 0x0100;
constexpr const char *kManufacturer = "Talvemark";
constexpr const char *kProduct = "TK700";
constexpr const char *kSerial = "SIM0001";

constexpr InterfaceDescription kInterfaces[2] = {
    {"tk700-sim:if0", 0xFF00, 0xFF00, 0},
    {"tk700-sim:if1", 0xFF01, 0xFF01, 1},
};

constexpr qsizetype kFeatureReportSize = std::tuple_size_v<FeatureReport>;
// A mouse buffers only a few reports; a host that never reads loses the oldest.
constexpr std::size_t kMaxQueuedInput = 64;

// A field of a request; bytes past the end of the request read as zero.
template <typename T> T field(const QByteArray &fields, qsizetype at)
{
    return get<T>(reinterpret_cast<const std::uint8_t *>(fields.constData()),
                  static_cast<std::size_t>(fields.size()), static_cast<std::size_t>(at));
}

QByteArray toQByteArray(const std::uint8_t *data, std::size_t size)
{
    return {reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)};
}

QByteArray toQByteArray(const Bytes &bytes)
{
    return toQByteArray(bytes.data(), bytes.size());
}

} // namespace

struct SimServer::Connection {
    QLocalSocket *socket = nullptr;
    QByteArray buffer;
    quint64 number = 0; // counts the connections since the start, for the log
    int iface = -1;     // the interface once OPEN succeeded
    // A silent fault swallowed a request; like a stalled pipe, nothing more is answered.
    bool stalled = false;
    bool closed = false;

    bool reading = false;
    quint32 readLength = 0;
    quint64 readSince = 0; // the oldest waiting read gets the next report
    QTimer *readTimer = nullptr;
};

SimServer::SimServer(const Options &options, QObject *parent)
    : QObject(parent), options_(options),
      firmware_(options.family, options.code.toStdString(), options.encode),
      random_(std::random_device{}())
{
    clock_.start();
}

SimServer::~SimServer()
{
    for (auto &c : connections_)
        if (c->socket)
            c->socket->disconnect(this);
    if (server_)
        server_->close();
}

bool SimServer::listen(QString *error)
{
    server_ = new QLocalServer(this);
    const QString path = options_.socketPath;
    if (QFile::exists(path)) {
        // Refuse to take over a live simulator; a file left by a crashed one is removed.
        QLocalSocket probe;
        probe.connectToServer(path);
        if (probe.waitForConnected(500)) {
            *error = QStringLiteral("another simulator is listening at %1").arg(path);
            return false;
        }
        QLocalServer::removeServer(path);
    }
    const mode_t previous = umask(0177);
    const bool ok = server_->listen(path);
    umask(previous);
    if (!ok) {
        *error = server_->errorString();
        return false;
    }
    chmod(QFile::encodeName(path).constData(), 0600);
    connect(server_, &QLocalServer::newConnection, this, &SimServer::accept);
    return true;
}

void SimServer::accept()
{
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        auto connection = std::make_unique<Connection>();
        Connection *c = connection.get();
        c->number = ++connectionCount_;
        c->socket = socket;
        c->readTimer = new QTimer(socket);
        c->readTimer->setSingleShot(true);
        connect(c->readTimer, &QTimer::timeout, this, [this, c] {
            if (!c->closed && c->reading)
                finishRead(c, QByteArray());
        });
        connect(socket, &QLocalSocket::readyRead, this, [this, c] {
            if (c->closed)
                return;
            c->buffer.append(c->socket->readAll());
            processFrames(c);
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, c] { closeConnection(c); });
        connections_.push_back(std::move(connection));
        if (socket->bytesAvailable() > 0) {
            c->buffer.append(socket->readAll());
            processFrames(c);
        }
    }
}

void SimServer::processFrames(Connection *c)
{
    // One request at a time per connection: a waiting read holds back what follows it.
    constexpr auto kHeader = static_cast<qsizetype>(kLengthSize);
    while (!c->closed && !c->stalled && !c->reading && c->buffer.size() >= kHeader) {
        const auto length = field<quint32>(c->buffer, 0);
        if (length == 0 || length > kMaxFrame) {
            closeConnection(c);
            return;
        }
        if (c->buffer.size() < kHeader + static_cast<qsizetype>(length))
            return;
        const QByteArray body = c->buffer.mid(kHeader, length);
        c->buffer.remove(0, kHeader + static_cast<qsizetype>(length));
        handleRequest(c, body);
    }
}

void SimServer::reply(Connection *c, qint32 result, const QByteArray &data)
{
    if (c->closed)
        return;
    c->socket->write(
        toQByteArray(replyFrame(result, reinterpret_cast<const std::uint8_t *>(data.constData()),
                                static_cast<std::size_t>(data.size()))));
}

void SimServer::closeConnection(Connection *c)
{
    if (c->closed)
        return;
    c->closed = true;
    c->reading = false;
    c->readTimer->stop();
    if (c->iface >= 0)
        log(connectionEntry(c, "close"));
    c->socket->abort();
    if (!reapScheduled_) {
        reapScheduled_ = true;
        QTimer::singleShot(0, this, &SimServer::reapClosed);
    }
}

void SimServer::reapClosed()
{
    reapScheduled_ = false;
    for (auto it = connections_.begin(); it != connections_.end();) {
        if ((*it)->closed) {
            (*it)->socket->disconnect(this);
            (*it)->socket->deleteLater();
            it = connections_.erase(it);
        } else {
            ++it;
        }
    }
}

void SimServer::handleRequest(Connection *c, const QByteArray &body)
{
    const auto op = static_cast<quint8>(body.at(0));
    const QByteArray fields = body.mid(1);
    const bool isHandle = c->iface >= 0;
    switch (op) {
    case OpEnumerate: {
        if (fields.size() != 4)
            return reply(c, -1);
        int count = 0;
        const QByteArray records =
            enumerate(field<quint16>(fields, 0), field<quint16>(fields, 2), &count);
        return reply(c, count, records);
    }
    case OpOpen:
        if (isHandle)
            return reply(c, -1);
        return open(c, fields);
    case OpSetFeature:
        if (!isHandle || fields.isEmpty())
            return reply(c, -1);
        return setFeature(c, fields);
    case OpGetFeature:
        if (!isHandle || fields.size() != 5)
            return reply(c, -1);
        return getFeature(c, field<quint32>(fields, 0), field<quint8>(fields, 4));
    case OpWrite:
        if (!isHandle || fields.isEmpty())
            return reply(c, -1);
        return write(c, fields);
    case OpRead:
        if (!isHandle || fields.size() != 8)
            return reply(c, -1);
        return read(c, field<quint32>(fields, 0), field<qint32>(fields, 4));
    case OpControl: {
        QJsonParseError parseError{};
        const QJsonDocument document = QJsonDocument::fromJson(fields, &parseError);
        qint32 result = -1;
        QJsonObject answer;
        if (parseError.error != QJsonParseError::NoError || !document.isObject())
            answer = QJsonObject{{"error", "the request is not a JSON object"}};
        else
            answer = control(document.object(), &result);
        return reply(c, result, QJsonDocument(answer).toJson(QJsonDocument::Compact));
    }
    default:
        return reply(c, -1);
    }
}

QByteArray SimServer::enumerate(quint16 vid, quint16 pid, int *count) const
{
    Bytes records;
    *count = 0;
    if (!plugged_ || (vid != 0 && vid != kVendorId) || (pid != 0 && pid != kProductId))
        return {};
    for (const InterfaceDescription &d : kInterfaces) {
        putText(records, d.path);
        putU16(records, kVendorId);
        putU16(records, kProductId);
        putU16(records, d.usagePage);
        putU16(records, d.usage);
        putI32(records, d.number);
        putU16(records, kRelease);
        putText(records, kManufacturer);
        putText(records, kProduct);
        putText(records, kSerial);
        ++*count;
    }
    return toQByteArray(records);
}

void SimServer::open(Connection *c, const QByteArray &path)
{
    int iface = -1;
    for (int i = 0; i < 2; ++i)
        if (path == kInterfaces[i].path)
            iface = i;
    if (iface < 0 || !plugged_ || faults_[RefuseOpen]) {
        QJsonObject entry = connectionEntry(c, "refused", QByteArray(), iface);
        entry.insert("path", QString::fromUtf8(path));
        log(entry);
        return reply(c, -1);
    }
    c->iface = iface;
    QJsonObject entry = connectionEntry(c, "open");
    entry.insert("path", QString::fromUtf8(path));
    log(entry);
    reply(c, 0);
}

void SimServer::setFeature(Connection *c, const QByteArray &report)
{
    if (c->iface == kCommandInterface && exchangeStarts(c, report))
        return;
    if (dropHere(c, report))
        return;
    FeatureReport wire{};
    std::copy_n(report.constBegin(), std::min(report.size(), kFeatureReportSize), wire.begin());
    Firmware::FeatureResult result;
    if (c->iface == kCommandInterface) {
        result = firmware_.featureOut(wire);
        // Reports of an earlier exchange that the host never read are not part of this one (on
        // hidraw they went with the handle that read them).
        if (result.valid)
            interfaces_[kCommandInterface].input.clear();
    } else {
        result.plain = wire; // the event interface has no firmware commands
        result.valid = checksumValid(wire);
    }
    QJsonObject entry = connectionEntry(c, "feature-out", report);
    entry.insert("plain", hexBytes(result.plain.data(), result.plain.size()));
    entry.insert("valid", result.valid);
    log(entry);
    reply(c, static_cast<qint32>(report.size()));
    reportTaken(c);
}

void SimServer::getFeature(Connection *c, quint32 length, quint8 reportId)
{
    if (faults_[SilentFeature]) {
        c->stalled = true;
        log(connectionEntry(c, "stall"));
        return;
    }
    if (length == 0)
        return reply(c, -1);
    FeatureReport wire{};
    if (c->iface == kCommandInterface)
        wire = firmware_.featureIn();
    if (faults_[GarbageReply])
        for (std::size_t i = 1; i < wire.size(); ++i)
            wire[i] = static_cast<std::uint8_t>(random_() & 0xFF);
    wire[0] = reportId;
    const QByteArray bytes =
        toQByteArray(wire.data(), std::min<std::size_t>(length, kFeatureReportSize));
    if (dropHere(c, bytes))
        return;
    log(connectionEntry(c, "feature-in", bytes));
    reply(c, static_cast<qint32>(bytes.size()), bytes);
    if (c->iface == kCommandInterface) {
        std::vector<Bytes> block = firmware_.takeInputReports();
        if (faults_[TornRead] && !block.empty()) {
            // Once: the block stops after the first reports, as when the mouse is pulled mid-read.
            faults_[TornRead] = false;
            const std::size_t kept = std::min<std::size_t>(block.size(), std::size_t(tornReports_));
            QJsonObject entry = connectionEntry(c, "torn");
            entry.insert("kept", static_cast<int>(kept));
            log(entry);
            block.resize(kept);
        }
        for (const Bytes &report : block)
            queueInput(kCommandInterface, report);
    }
    reportTaken(c);
}

void SimServer::write(Connection *c, const QByteArray &report)
{
    if (faults_[SilentWrite]) {
        c->stalled = true;
        log(connectionEntry(c, "stall", report));
        return;
    }
    if (dropHere(c, report))
        return;
    log(connectionEntry(c, "out", report));
    if (c->iface == kCommandInterface) {
        // Byte 0 is the report ID; the data block travels in the rest.
        firmware_.output(reinterpret_cast<const std::uint8_t *>(report.constData()) + 1,
                         static_cast<std::size_t>(report.size() - 1));
    }
    reply(c, static_cast<qint32>(report.size()));
    reportTaken(c);
}

void SimServer::read(Connection *c, quint32 length, qint32 timeoutMs)
{
    c->reading = true;
    c->readLength = length;
    c->readSince = ++readSequence_;
    deliverInput(c->iface);
    if (c->closed || !c->reading)
        return;
    if (timeoutMs == 0)
        finishRead(c, QByteArray());
    else if (timeoutMs > 0)
        c->readTimer->start(timeoutMs);
}

void SimServer::finishRead(Connection *c, const QByteArray &data)
{
    c->reading = false;
    c->readTimer->stop();
    reply(c, static_cast<qint32>(data.size()), data);
    // Requests that arrived while the read waited are served once this delivery is over.
    QTimer::singleShot(0, this, [this, socket = QPointer<QLocalSocket>(c->socket)] {
        if (!socket)
            return;
        for (const auto &live : connections_)
            if (live->socket == socket && !live->closed)
                return processFrames(live.get());
    });
}

void SimServer::queueInput(int iface, const Bytes &report)
{
    std::deque<Bytes> &queue = interfaces_[iface].input;
    queue.push_back(report);
    while (queue.size() > kMaxQueuedInput)
        queue.pop_front();
    deliverInput(iface);
}

void SimServer::deliverInput(int iface)
{
    if (iface == kCommandInterface && faults_[SilentRead])
        return;
    std::deque<Bytes> &queue = interfaces_[iface].input;
    while (!queue.empty()) {
        Connection *reader = nullptr;
        for (const auto &c : connections_)
            if (!c->closed && c->reading && c->iface == iface &&
                (!reader || c->readSince < reader->readSince))
                reader = c.get();
        if (!reader)
            return;
        const Bytes report = queue.front();
        queue.pop_front();
        const QByteArray bytes =
            toQByteArray(report.data(), std::min<std::size_t>(report.size(), reader->readLength));
        if (dropHere(reader, bytes))
            continue; // the report went down with the connection
        log(connectionEntry(reader, "in", bytes));
        finishRead(reader, bytes);
        reportTaken(reader);
    }
}

bool SimServer::dropHere(Connection *c, const QByteArray &bytes)
{
    if (!faults_[DropAfter])
        return false;
    if (dropRemaining_ > 0) {
        --dropRemaining_;
        return false;
    }
    // One drop per injection: the host is expected to recover on its next exchange.
    faults_[DropAfter] = false;
    log(connectionEntry(c, "drop", bytes));
    closeConnection(c);
    return true;
}

void SimServer::reportTaken(Connection *c)
{
    if (faults_[UnplugAfter] && --unplugRemaining_ <= 0) {
        faults_[UnplugAfter] = false;
        // The answer to the report that was taken still reaches the host.
        if (c && !c->closed)
            c->socket->flush();
        unplug();
        log(logEntry(-1, "unplug"));
        return;
    }
    if (!faults_[ReplugAfter] || --replugRemaining_ > 0)
        return;
    replug(c);
}

bool SimServer::exchangeStarts(Connection *c, const QByteArray &request)
{
    FeatureReport wire{};
    std::copy_n(request.constBegin(), std::min(request.size(), kFeatureReportSize), wire.begin());
    const FeatureReport plain = firmware_.plainOf(wire);
    // A request the firmware ignores starts no exchange.
    if (!checksumValid(plain))
        return false;
    if (exchangeFault_ >= 0) {
        faults_[exchangeFault_] = false;
        exchangeFault_ = -1;
        applyFaults();
    }
    if (armed_.fault < 0 || plain[1] != armed_.code)
        return false;
    const int fault = armed_.fault;
    const int count = std::max(0, armed_.count);
    const bool keep = armed_.keep;
    armed_ = ArmedFault();
    QJsonObject entry = connectionEntry(c, "armed", request);
    entry.insert("fault", QLatin1String(faultName(fault)));
    log(entry);
    if ((fault == ReplugAfter || fault == UnplugAfter) && count == 0) {
        // Before the request: it never reaches the firmware.
        if (fault == ReplugAfter) {
            replug(nullptr);
        } else {
            unplug();
            log(logEntry(-1, "unplug"));
        }
        return true;
    }
    // A kept fault lasts until it is cleared, like a mouse that uses another code from then on.
    exchangeFault_ = keep ? -1 : fault;
    faults_[fault] = true;
    dropRemaining_ = count;
    replugRemaining_ = count;
    unplugRemaining_ = count;
    tornReports_ = count;
    applyFaults();
    return false;
}

void SimServer::replug(Connection *c)
{
    faults_[ReplugAfter] = false;
    // The answer to the report that was taken still reaches the host.
    if (c && !c->closed)
        c->socket->flush();
    unplug();
    log(logEntry(-1, "replug"));
    plug();
}

void SimServer::plug()
{
    plugged_ = true;
}

void SimServer::unplug()
{
    plugged_ = false;
    for (const auto &c : connections_)
        if (!c->closed && c->iface >= 0)
            closeConnection(c.get());
    for (Interface &i : interfaces_)
        i.input.clear();
    firmware_.powerCycle();
}

QJsonObject SimServer::connectionEntry(const Connection *c, const char *kind,
                                       const QByteArray &bytes, int iface)
{
    QJsonObject entry = logEntry(iface == kNoInterface ? c->iface : iface, kind, bytes);
    entry.insert("conn", static_cast<double>(c->number));
    return entry;
}

} // namespace tk700sim
