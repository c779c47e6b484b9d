// The USB side of the virtual mouse: the socket, the two HID interfaces, handles, read time-outs,
// injected faults and the report log. The firmware decides what the reports mean.
#pragma once

#include "firmware.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>

#include <array>
#include <deque>
#include <list>
#include <memory>
#include <random>

class QLocalServer;
class QLocalSocket;
class QTimer;

namespace tk700sim
{

class SimServer : public QObject
{
    Q_OBJECT
public:
    struct Options {
        QString socketPath;
        Family family = Family::F553;
        QString code = QString::fromLatin1(kDefaultScrambleCode);
        bool encode = false;
    };

    explicit SimServer(const Options &options, QObject *parent = nullptr);
    ~SimServer() override;

    bool listen(QString *error);
    QString socketPath() const { return options_.socketPath; }

signals:
    void quitRequested();

private:
    struct Connection;
    static constexpr int kCommandInterface = 0;
    static constexpr int kEventInterface = 1;
    struct Interface {
        std::deque<Bytes> input; // reports the host has not read yet
    };
    enum Fault {
        SilentFeature,
        SilentRead,
        SilentWrite,
        RefuseOpen,
        DropAfter,
        GarbageReply,
        WrongCode,
        WrongEcho,
        WrongChecksum,
        TornRead,
        ReplugAfter,
        UnplugAfter,
        FaultCount
    };

    void accept();
    void processFrames(Connection *c);
    void handleRequest(Connection *c, const QByteArray &body);
    void reply(Connection *c, qint32 result, const QByteArray &data = QByteArray());
    void closeConnection(Connection *c);
    void reapClosed();

    QByteArray enumerate(quint16 vid, quint16 pid, int *count) const;
    void open(Connection *c, const QByteArray &path);
    void setFeature(Connection *c, const QByteArray &report);
    void getFeature(Connection *c, quint32 length, quint8 reportId);
    void write(Connection *c, const QByteArray &report);
    void read(Connection *c, quint32 length, qint32 timeoutMs);
    void finishRead(Connection *c, const QByteArray &data);

    void queueInput(int iface, const Bytes &report);
    void deliverInput(int iface);
    // Counts one report towards the drop-after fault; true when it dropped the connection.
    bool dropHere(Connection *c, const QByteArray &bytes);
    // Counts one report that went through towards the replug-after fault; replugs when it is due.
    void reportTaken(Connection *c);
    // The mouse goes away and comes back at once: handles are lost, transfers forgotten.
    void replug(Connection *c);
    // A fault armed for one exchange ("on"): it starts with the next valid request carrying that
    // command and ends with the request after it. True when it fired before `request` was taken.
    bool exchangeStarts(Connection *c, const QByteArray &request);
    void applyFaults();
    static const char *faultName(int fault);

    QJsonObject control(const QJsonObject &request, qint32 *result);
    bool setFault(const QJsonObject &request);
    void plug();
    void unplug();
    QJsonObject stateJson() const;

    QJsonObject logEntry(int iface, const char *kind, const QByteArray &bytes = QByteArray());
    // An entry of one connection: it carries the connection's number as "conn".
    static constexpr int kNoInterface = -2;
    QJsonObject connectionEntry(const Connection *c, const char *kind,
                                const QByteArray &bytes = QByteArray(), int iface = kNoInterface);
    void log(QJsonObject entry);

    Options options_;
    QLocalServer *server_ = nullptr;
    std::list<std::unique_ptr<Connection>> connections_;
    bool reapScheduled_ = false;
    quint64 readSequence_ = 0;
    quint64 connectionCount_ = 0;

    Firmware firmware_;
    std::array<Interface, 2> interfaces_;
    bool plugged_ = true;
    std::array<bool, FaultCount> faults_{};
    int dropRemaining_ = 0;
    int replugRemaining_ = 0;
    int tornReports_ = 0;
    int unplugRemaining_ = 0;
    struct ArmedFault {
        int fault = -1; // waiting for its request while >= 0
        int code = 0;
        int count = 0;
        bool keep = false; // lasts past its exchange
    };
    ArmedFault armed_;
    int exchangeFault_ = -1; // the armed fault while its exchange runs
    std::mt19937 random_;

    QElapsedTimer clock_;
    QJsonArray log_;
};

} // namespace tk700sim
