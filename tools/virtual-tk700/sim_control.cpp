// The control half of the simulator: the control commands (plug, unplug, the DPI button, injected
// faults, quit), the state dump and the report log. The endpoint half is in sim_server.cpp.

#include "sim_server.h"

#include <QTimer>

#include <iterator>

namespace tk700sim
{

namespace
{

// Old entries go first so that a long demo cannot eat the memory.
constexpr qsizetype kMaxLogEntries = 100000;

const char *const kFaultNames[] = {"silent-feature", "silent-read",  "silent-write",
                                   "refuse-open",    "drop-after",   "garbage-reply",
                                   "wrong-scode",    "wrong-echo",   "wrong-checksum",
                                   "torn-read",      "replug-after", "unplug-after"};

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

} // namespace

QJsonObject SimServer::control(const QJsonObject &request, qint32 *result)
{
    const QString cmd = request.value("cmd").toString();
    const QJsonObject ok{{"ok", true}};
    *result = 0;
    if (cmd == "plug") {
        plug();
        return ok;
    }
    if (cmd == "unplug") {
        unplug();
        return ok;
    }
    if (cmd == "press-dpi") {
        const int stage = request.value("stage").toInt(-1);
        if (stage < 0 || stage > 255 || !request.value("stage").isDouble()) {
            *result = -1;
            return QJsonObject{{"error", "press-dpi needs a stage from 0 to 255"}};
        }
        if (!plugged_) {
            *result = -1;
            return QJsonObject{{"error", "the mouse is unplugged"}};
        }
        const auto value = static_cast<std::uint8_t>(stage);
        firmware_.pressDpi(value);
        queueInput(kEventInterface, Bytes{0x06, 0x07, 0x00, value});
        return ok;
    }
    if (cmd == "event") {
        // Any report on the event interface, for reports the DPI button never sends.
        const QByteArray bytes = QByteArray::fromHex(request.value("bytes").toString().toLatin1());
        if (bytes.isEmpty() || bytes.size() > 64 || !plugged_) {
            *result = -1;
            return QJsonObject{{"error", "event needs 1 to 64 hex bytes and a plugged mouse"}};
        }
        queueInput(kEventInterface, Bytes(bytes.begin(), bytes.end()));
        return ok;
    }
    if (cmd == "state")
        return stateJson();
    if (cmd == "log")
        return QJsonObject{{"log", log_}};
    if (cmd == "clear-log") {
        log_ = QJsonArray();
        return ok;
    }
    if (cmd == "fault") {
        if (setFault(request))
            return ok;
        *result = -1;
        return QJsonObject{{"error", "unknown fault"}};
    }
    if (cmd == "quit") {
        QTimer::singleShot(0, this, &SimServer::quitRequested);
        return ok;
    }
    *result = -1;
    return QJsonObject{{"error", QStringLiteral("unknown command \"%1\"").arg(cmd)}};
}

const char *SimServer::faultName(int fault)
{
    static_assert(std::size(kFaultNames) == FaultCount);
    return kFaultNames[fault];
}

bool SimServer::setFault(const QJsonObject &request)
{
    const QString name = request.value("name").toString();
    const int count = request.value("count").toInt(0);
    if (name == "none") {
        faults_.fill(false);
        armed_ = ArmedFault();
        exchangeFault_ = -1;
    } else {
        int index = -1;
        for (int i = 0; i < FaultCount; ++i)
            if (name == QLatin1String(kFaultNames[i]))
                index = i;
        if (index < 0 || (index == RefuseOpen && request.contains("on")))
            return false;
        if (request.contains("on")) {
            // For the next exchange of that command only: "on" is its code in hex ("0d").
            bool ok = false;
            const int code = request.value("on").toString().toInt(&ok, 16);
            if (!ok || code < 0 || code > 0xFF)
                return false;
            armed_ = ArmedFault{index, code, count, request.value("keep").toBool()};
            return true;
        }
        faults_[index] = true;
        if (index == UnplugAfter) {
            unplugRemaining_ = count;
            if (count <= 0) {
                faults_[index] = false;
                unplug();
                log(logEntry(-1, "unplug"));
            }
        }
        if (index == DropAfter)
            dropRemaining_ = std::max(0, count);
        if (index == TornRead)
            tornReports_ = std::max(0, count);
        if (index == ReplugAfter) {
            replugRemaining_ = count;
            if (count <= 0)
                replug(nullptr);
        }
    }
    applyFaults();
    return true;
}

void SimServer::applyFaults()
{
    firmware_.setWrongCode(faults_[WrongCode]);
    firmware_.setReplyFault(faults_[WrongEcho]       ? Firmware::ReplyFault::WrongEcho
                            : faults_[WrongChecksum] ? Firmware::ReplyFault::WrongChecksum
                                                     : Firmware::ReplyFault::None);
    // Reports held back by a silent read go out once it is lifted.
    deliverInput(kCommandInterface);
}

QJsonObject SimServer::stateJson() const
{
    QJsonObject state = firmware_.state().toJson();
    QJsonArray faults;
    for (int i = 0; i < FaultCount; ++i)
        if (faults_[i])
            faults.append(QLatin1String(kFaultNames[i]));
    state.insert("plugged", plugged_);
    state.insert("encode", firmware_.encode());
    state.insert("scode", QString::fromStdString(firmware_.code()));
    if (armed_.fault >= 0)
        faults.append(QStringLiteral("%1 on %2")
                          .arg(QLatin1String(kFaultNames[armed_.fault]))
                          .arg(armed_.code, 2, 16, QLatin1Char('0')));
    state.insert("faults", faults);
    return state;
}

QJsonObject SimServer::logEntry(int iface, const char *kind, const QByteArray &bytes)
{
    return QJsonObject{{"t", static_cast<double>(clock_.nsecsElapsed()) / 1e6},
                       {"iface", iface},
                       {"kind", QLatin1String(kind)},
                       {"bytes", hex(bytes)}};
}

void SimServer::log(QJsonObject entry)
{
    if (log_.size() >= kMaxLogEntries)
        log_.removeFirst();
    log_.append(entry);
}

} // namespace tk700sim
