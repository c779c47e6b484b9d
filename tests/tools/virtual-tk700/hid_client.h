// The host's side of the exchanges, written against the hidapi C API, for the tests of the
// virtual TK700. A test process has the stand-in preloaded, so these calls reach the simulator.
#pragma once

#include "support/bytes.h"
#include "support/virtual_mouse.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <hidapi/hidapi.h>

#include <memory>

namespace simtest
{

constexpr const char *kCommandPath = "tk700-sim:if0";
constexpr const char *kEventPath = "tk700-sim:if1";
constexpr int kReportLength = 32;

struct HidCloser {
    void operator()(hid_device *dev) const { hid_close(dev); }
};
using Handle = std::unique_ptr<hid_device, HidCloser>;

inline Handle openPath(const char *path)
{
    return Handle(hid_open_path(path));
}

// A 9-byte feature request: report ID 0, the given command and parameters, zeros, checksum.
inline QByteArray request(const QByteArray &commandAndParams)
{
    QByteArray report(9, '\0');
    unsigned sum = 0;
    for (int i = 0; i < 7 && i < commandAndParams.size(); ++i) {
        report[1 + i] = commandAndParams[i];
        sum += static_cast<unsigned char>(commandAndParams[i]);
    }
    report[8] = static_cast<char>(~sum & 0xFF);
    return report;
}

inline int sendFeature(hid_device *dev, const QByteArray &report)
{
    return hid_send_feature_report(dev, reinterpret_cast<const unsigned char *>(report.constData()),
                                   static_cast<size_t>(report.size()));
}

// Returns the reply, or an empty array when the call failed.
inline QByteArray getFeature(hid_device *dev)
{
    unsigned char buffer[9] = {0};
    const int n = hid_get_feature_report(dev, buffer, sizeof(buffer));
    return n < 0 ? QByteArray() : QByteArray(reinterpret_cast<const char *>(buffer), n);
}

inline int writeReport(hid_device *dev, const QByteArray &report)
{
    return hid_write(dev, reinterpret_cast<const unsigned char *>(report.constData()),
                     static_cast<size_t>(report.size()));
}

// One output report carrying a chunk of a data block: report ID 0 and 32 zero-padded bytes.
inline QByteArray chunk(const QByteArray &block, int at)
{
    QByteArray report(kReportLength + 1, '\0');
    const QByteArray part = block.mid(at, kReportLength);
    report.replace(1, part.size(), part);
    return report;
}

// The set exchange as the host runs it: the request, then the block in output reports.
inline bool sendCommand(const QByteArray &report, const QByteArray &block = QByteArray())
{
    Handle dev = openPath(kCommandPath);
    if (!dev || sendFeature(dev.get(), report) != report.size())
        return false;
    for (int at = 0; at < block.size(); at += kReportLength)
        if (writeReport(dev.get(), chunk(block, at)) != kReportLength + 1)
            return false;
    return true;
}

// The query exchange without a data block: the request, then the 9-byte reply.
inline QByteArray query(const QByteArray &report)
{
    Handle dev = openPath(kCommandPath);
    if (!dev || sendFeature(dev.get(), report) != report.size())
        return {};
    return getFeature(dev.get());
}

inline QByteArray readReport(hid_device *dev, int length, int timeoutMs)
{
    QByteArray buffer(length, '\0');
    const int n = hid_read_timeout(dev, reinterpret_cast<unsigned char *>(buffer.data()),
                                   static_cast<size_t>(length), timeoutMs);
    return n < 0 ? QByteArray("error") : buffer.left(n);
}

// A byte block whose every position differs from its neighbours and from the blocks of nearby
// seeds, so a shifted or mixed-up copy shows.
inline QByteArray seeded(int size, int seed)
{
    return pattern(size, seed * 31 + 1, 7);
}

inline QJsonArray entriesOfKind(const QJsonArray &log, const QString &kind)
{
    QJsonArray matching;
    for (const QJsonValue &entry : log)
        if (entry.toObject().value(QStringLiteral("kind")).toString() == kind)
            matching.append(entry);
    return matching;
}

// The value at a dotted path of a JSON object: "gun.1.x", "macros.11".
inline QJsonValue at(const QJsonObject &object, const QString &path)
{
    QJsonValue value = object;
    for (const QString &part : path.split('.')) {
        bool isIndex = false;
        const int index = part.toInt(&isIndex);
        value = isIndex ? value.toArray().at(index) : value.toObject().value(part);
    }
    return value;
}

// Parses a JSON value written inline in a test table.
inline QJsonValue json(const char *text)
{
    const QByteArray wrapped = QByteArray("[") + text + "]";
    return QJsonDocument::fromJson(wrapped).array().at(0);
}

} // namespace simtest
