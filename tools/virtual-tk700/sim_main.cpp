// tk700-sim: "serve" runs the virtual mouse, "ctl" sends it one control command.

#include "sim_server.h"
#include "wire.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

using namespace tk700sim;

namespace
{

constexpr int kControlWaitMs = 5000;

const char kUsage[] =
    "usage: tk700-sim serve [--socket PATH] [--family 553|560] [--scode CODE] [--encode]\n"
    "       tk700-sim ctl [--socket PATH] COMMAND [NAME=VALUE ...]\n"
    "       tk700-sim ctl [--socket PATH] '{\"cmd\": ...}'\n"
    "\n"
    "COMMAND is one of plug, unplug, press-dpi stage=N, state, log, clear-log,\n"
    "fault name=NAME [count=N], quit. Values that are integers are sent as numbers.\n";

int usage()
{
    std::fputs(kUsage, stderr);
    return 2;
}

QString defaultSocketPath()
{
    const QString env = qEnvironmentVariable("TK700_SIM_SOCKET");
    if (!env.isEmpty())
        return env;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime + QStringLiteral("/tk700-sim.sock");
    return QStringLiteral("/tmp/tk700-sim-%1.sock").arg(getuid());
}

// Takes "--socket PATH" out of args; the default path otherwise.
QString takeSocketPath(QStringList &args)
{
    const qsizetype at = args.indexOf(QStringLiteral("--socket"));
    if (at < 0 || at + 1 >= args.size())
        return defaultSocketPath();
    const QString path = args.at(at + 1);
    args.remove(at, 2);
    return QFileInfo(path).absoluteFilePath();
}

int fdForSignals[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(fdForSignals[1], &byte, 1);
}

int serve(QStringList args)
{
    SimServer::Options options;
    options.socketPath = takeSocketPath(args);
    while (!args.isEmpty()) {
        const QString option = args.takeFirst();
        if (option == "--encode") {
            options.encode = true;
        } else if (option == "--family" && !args.isEmpty()) {
            const QString family = args.takeFirst();
            if (family != "553" && family != "560")
                return usage();
            options.family = family == "560" ? Family::F560 : Family::F553;
        } else if (option == "--scode" && !args.isEmpty()) {
            options.code = args.takeFirst();
            if (options.code.size() != 6 || options.code.toLatin1().size() != 6) {
                std::fputs("tk700-sim: --scode takes six characters\n", stderr);
                return 2;
            }
        } else {
            return usage();
        }
    }

    SimServer server(options);
    QString error;
    if (!server.listen(&error)) {
        std::fprintf(stderr, "tk700-sim: %s\n", qPrintable(error));
        return 1;
    }
    QObject::connect(&server, &SimServer::quitRequested, qApp, &QCoreApplication::quit);

    // SIGINT and SIGTERM end the event loop normally, so the socket file is removed.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, fdForSignals) == 0) {
        auto *notifier = new QSocketNotifier(fdForSignals[0], QSocketNotifier::Read, qApp);
        QObject::connect(notifier, &QSocketNotifier::activated, qApp, &QCoreApplication::quit);
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
    }

    std::printf("ready %s\n", qPrintable(server.socketPath()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}

QJsonObject controlRequest(const QStringList &args)
{
    if (args.size() == 1 && args.first().startsWith('{'))
        return QJsonDocument::fromJson(args.first().toUtf8()).object();
    QJsonObject request{{"cmd", args.value(0)}};
    for (const QString &pair : args.mid(1)) {
        const qsizetype eq = pair.indexOf('=');
        if (eq <= 0)
            return {};
        const QString value = pair.mid(eq + 1);
        bool isNumber = false;
        const int number = value.toInt(&isNumber);
        request.insert(pair.left(eq), isNumber ? QJsonValue(number) : QJsonValue(value));
    }
    return request;
}

bool readExactly(QLocalSocket &socket, char *into, qint64 size)
{
    qint64 got = 0;
    while (got < size) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(kControlWaitMs))
            return false;
        const qint64 n = socket.read(into + got, size - got);
        if (n < 0)
            return false;
        got += n;
    }
    return true;
}

int control(QStringList args)
{
    const QString path = takeSocketPath(args);
    const QJsonObject request = controlRequest(args);
    if (request.value("cmd").toString().isEmpty())
        return usage();

    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kControlWaitMs)) {
        std::fprintf(stderr, "tk700-sim: no simulator at %s\n", qPrintable(path));
        return 2;
    }
    wire::Bytes body{wire::OpControl};
    const QByteArray json = QJsonDocument(request).toJson(QJsonDocument::Compact);
    body.insert(body.end(), json.begin(), json.end());
    const wire::Bytes frame = wire::frame(body);
    socket.write(reinterpret_cast<const char *>(frame.data()), qint64(frame.size()));
    socket.flush();

    std::uint8_t header[wire::kLengthSize];
    if (!readExactly(socket, reinterpret_cast<char *>(header), sizeof(header))) {
        std::fputs("tk700-sim: no answer\n", stderr);
        return 2;
    }
    const auto size = wire::get<quint32>(header, sizeof(header), 0);
    if (size < wire::kResultSize || size > wire::kMaxFrame) {
        std::fputs("tk700-sim: no answer of this protocol\n", stderr);
        return 2;
    }
    QByteArray reply(qsizetype(size), Qt::Uninitialized);
    if (!readExactly(socket, reply.data(), size)) {
        std::fputs("tk700-sim: incomplete answer\n", stderr);
        return 2;
    }
    const auto result = wire::get<qint32>(reinterpret_cast<const std::uint8_t *>(reply.constData()),
                                          wire::kResultSize, 0);
    const QJsonDocument answer = QJsonDocument::fromJson(reply.mid(wire::kResultSize));
    std::fputs(answer.toJson(QJsonDocument::Indented).constData(), stdout);
    return result == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString mode = args.takeFirst();
    if (mode == "serve")
        return serve(args);
    if (mode == "ctl")
        return control(args);
    if (mode == "--help" || mode == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    return usage();
}
