#include "virtual_mouse.h"

#include "wire.h"

#include <csignal>
#include <sys/prctl.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

namespace
{

constexpr int kStartWaitMs = 10000;
constexpr int kControlWaitMs = 5000;
constexpr int kQuitWaitMs = 3000;
constexpr char kCommandInterfacePath[] = "tk700-sim:if0";

bool readExactly(QLocalSocket &socket, char *into, qint64 size, const QDeadlineTimer &deadline)
{
    qint64 got = 0;
    while (got < size) {
        if (socket.bytesAvailable() == 0 &&
            !socket.waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime()))))
            return false;
        const qint64 n = socket.read(into + got, size - got);
        if (n < 0)
            return false;
        got += n;
    }
    return true;
}

// One request over `socket`: the reply's data, with *result set to its result (-1 when no whole
// reply came).
QByteArray requestOver(QLocalSocket &socket, wire::Op op, const QByteArray &fields, int *result)
{
    *result = -1;
    wire::Bytes body{op};
    body.insert(body.end(), fields.begin(), fields.end());
    const wire::Bytes frame = wire::frame(body);
    socket.write(reinterpret_cast<const char *>(frame.data()), qint64(frame.size()));

    const QDeadlineTimer deadline(kControlWaitMs);
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(
                static_cast<int>(qMax<qint64>(1, deadline.remainingTime()))))
            return {};
    char header[wire::kLengthSize];
    if (!readExactly(socket, header, sizeof(header), deadline))
        return {};
    const auto size =
        wire::get<quint32>(reinterpret_cast<const uchar *>(header), sizeof(header), 0);
    if (size < wire::kResultSize || size > wire::kMaxFrame)
        return {};
    QByteArray reply(static_cast<qsizetype>(size), Qt::Uninitialized);
    if (!readExactly(socket, reply.data(), reply.size(), deadline))
        return {};
    *result =
        wire::get<qint32>(reinterpret_cast<const uchar *>(reply.constData()), wire::kResultSize, 0);
    return reply.mid(wire::kResultSize);
}

} // namespace

VirtualMouse::VirtualMouse(Options options) : options_(std::move(options)) {}

VirtualMouse::~VirtualMouse()
{
    stop();
}

bool VirtualMouse::start()
{
    stop();
    const QString binary = qEnvironmentVariable("TK700_SIM_BIN");
    if (binary.isEmpty()) {
        qWarning("VirtualMouse: TK700_SIM_BIN is not set");
        return false;
    }
    dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/tk700-sim-XXXXXX"));
    if (!dir_->isValid())
        return false;
    socketPath_ = dir_->filePath(QStringLiteral("sim.sock"));

    QStringList args{QStringLiteral("serve"), QStringLiteral("--socket"), socketPath_,
                     QStringLiteral("--family"), options_.family};
    if (options_.encode)
        args << QStringLiteral("--encode");
    if (!options_.scode.isEmpty())
        args << QStringLiteral("--scode") << options_.scode;

    process_ = std::make_unique<QProcess>();
    // The stand-in library is meant for the process under test, not for the simulator.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LD_PRELOAD"));
    process_->setProcessEnvironment(env);
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A test that dies must not leave its simulator behind holding the test runner's output.
    process_->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_->start(binary, args);
    if (!process_->waitForStarted(kStartWaitMs)) {
        qWarning("VirtualMouse: cannot start %s", qPrintable(binary));
        return false;
    }

    const QDeadlineTimer deadline(kStartWaitMs);
    while (!process_->canReadLine()) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0 || process_->state() != QProcess::Running) {
            qWarning("VirtualMouse: the simulator did not report ready");
            stop();
            return false;
        }
        process_->waitForReadyRead(static_cast<int>(left));
    }
    const QByteArray line = process_->readLine().trimmed();
    if (!line.startsWith("ready ")) {
        qWarning("VirtualMouse: unexpected first line \"%s\"", line.constData());
        stop();
        return false;
    }

    if (!hadSocketEnv_) {
        hadSocketEnv_ = qEnvironmentVariableIsSet("TK700_SIM_SOCKET");
        previousSocketEnv_ = qgetenv("TK700_SIM_SOCKET");
    }
    qputenv("TK700_SIM_SOCKET", QFile::encodeName(socketPath_));
    return true;
}

void VirtualMouse::stop()
{
    if (process_ && process_->state() != QProcess::NotRunning) {
        exchange(QJsonObject{{QStringLiteral("cmd"), QStringLiteral("quit")}}, nullptr);
        if (!process_->waitForFinished(kQuitWaitMs)) {
            process_->kill();
            process_->waitForFinished(kQuitWaitMs);
        }
    }
    process_.reset();
    if (!socketPath_.isEmpty()) {
        QFile::remove(socketPath_);
        if (hadSocketEnv_)
            qputenv("TK700_SIM_SOCKET", previousSocketEnv_);
        else
            qunsetenv("TK700_SIM_SOCKET");
        hadSocketEnv_ = false;
    }
    dir_.reset();
    socketPath_.clear();
}

QJsonObject VirtualMouse::exchange(const QJsonObject &request, int *result)
{
    if (result)
        *result = -1;
    if (socketPath_.isEmpty())
        return {};
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kControlWaitMs))
        return {};
    int answered = -1;
    const QByteArray data = requestOver(
        socket, wire::OpControl, QJsonDocument(request).toJson(QJsonDocument::Compact), &answered);
    if (result)
        *result = answered;
    return QJsonDocument::fromJson(data).object();
}

bool VirtualMouse::sendFeature(const QByteArray &report)
{
    if (socketPath_.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kControlWaitMs))
        return false;
    int opened = -1, taken = -1;
    requestOver(socket, wire::OpOpen, kCommandInterfacePath, &opened);
    if (opened != 0)
        return false;
    requestOver(socket, wire::OpSetFeature, report, &taken);
    return taken == report.size();
}

QJsonObject VirtualMouse::control(const QJsonObject &request)
{
    return exchange(request, nullptr);
}

QJsonObject VirtualMouse::command(const QString &cmd, const QJsonObject &fields)
{
    QJsonObject request = fields;
    request.insert(QStringLiteral("cmd"), cmd);
    return control(request);
}

bool VirtualMouse::succeeded(const QJsonObject &request)
{
    int result = -1;
    exchange(request, &result);
    return result == 0;
}

QJsonObject VirtualMouse::state()
{
    return command(QStringLiteral("state"));
}

QJsonArray VirtualMouse::log()
{
    return command(QStringLiteral("log")).value(QStringLiteral("log")).toArray();
}

QStringList VirtualMouse::requests()
{
    QStringList out;
    for (const QJsonValue &v : log()) {
        const QJsonObject e = v.toObject();
        if (e.value(QStringLiteral("kind")) == QLatin1String("feature-out"))
            out << e.value(QStringLiteral("plain")).toString();
    }
    return out;
}

QByteArray VirtualMouse::outputData()
{
    QByteArray out;
    for (const QJsonValue &v : log()) {
        const QJsonObject e = v.toObject();
        if (e.value(QStringLiteral("kind")) == QLatin1String("out"))
            out += bytesOf(e.value(QStringLiteral("bytes"))).mid(1);
    }
    return out;
}

void VirtualMouse::clearLog()
{
    command(QStringLiteral("clear-log"));
}

bool VirtualMouse::fault(const QString &name, int count)
{
    QJsonObject request{{QStringLiteral("cmd"), QStringLiteral("fault")},
                        {QStringLiteral("name"), name}};
    if (count != 0)
        request.insert(QStringLiteral("count"), count);
    return succeeded(request);
}

bool VirtualMouse::plug()
{
    return succeeded(QJsonObject{{QStringLiteral("cmd"), QStringLiteral("plug")}});
}

bool VirtualMouse::unplug()
{
    return succeeded(QJsonObject{{QStringLiteral("cmd"), QStringLiteral("unplug")}});
}

bool VirtualMouse::pressDpi(int stage)
{
    return succeeded(QJsonObject{{QStringLiteral("cmd"), QStringLiteral("press-dpi")},
                                 {QStringLiteral("stage"), stage}});
}

QString VirtualMouse::socketPath() const
{
    return socketPath_;
}

QJsonObject VirtualMouse::profileState()
{
    QJsonObject held = state();
    for (const char *set : {"plugged", "faults", "keyboardOptions"})
        held.remove(QLatin1String(set));
    return held;
}

QByteArray VirtualMouse::bytesOf(const QJsonValue &hex)
{
    return QByteArray::fromHex(hex.toString().toLatin1());
}
