// Runs a private tk700-sim for one test and talks to it over its control channel.
#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <memory>

class QProcess;
class QTemporaryDir;

// VirtualMouse::Options. It lives outside the class because a nested struct with member
// initialisers cannot be the default argument of its enclosing class's constructor.
struct VirtualMouseOptions {
    QString family = QStringLiteral("553");
    bool encode = false;
    QString scode;
};

class VirtualMouse
{
public:
    using Options = VirtualMouseOptions;

    explicit VirtualMouse(Options options = Options());
    ~VirtualMouse(); // sends quit, waits, kills if needed, removes the socket

    VirtualMouse(const VirtualMouse &) = delete;
    VirtualMouse &operator=(const VirtualMouse &) = delete;

    // Starts $TK700_SIM_BIN serve on a fresh socket, waits for its "ready" line and points
    // TK700_SIM_SOCKET of this process at it, so that the preloaded library finds it.
    bool start();

    QJsonObject control(const QJsonObject &request); // one CONTROL exchange; {} on failure
    QJsonObject command(const QString &cmd, const QJsonObject &fields = QJsonObject());
    QJsonObject state();
    QJsonArray log();
    // What the mouse received since the log was last cleared: the feature requests as plain hex
    // ("00 01 02 ... fc"), and the data of the output reports without their report IDs.
    QStringList requests();
    QByteArray outputData();
    void clearLog();
    bool fault(const QString &name, int count = 0);
    bool plug();
    bool unplug();
    bool pressDpi(int stage);
    // A feature request on the command interface over a connection of its own, as another program
    // on the machine would send it; true when the mouse took all of it.
    bool sendFeature(const QByteArray &report);
    QString socketPath() const;

    static QByteArray bytesOf(const QJsonValue &hex); // "00 01 fe" -> bytes
    // What a profile put on the mouse: the state without what the link and the test set, and
    // without the event reports the running program turns on while it watches the DPI button.
    QJsonObject profileState();

private:
    // The JSON answer, with *result set to the simulator's result (-1 when the exchange failed).
    QJsonObject exchange(const QJsonObject &request, int *result);
    bool succeeded(const QJsonObject &request);
    void stop();

    Options options_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QProcess> process_;
    QString socketPath_;
    QByteArray previousSocketEnv_;
    bool hadSocketEnv_ = false;
};
