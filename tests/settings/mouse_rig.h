// A feature's world for one test: a private runtime copy, a virtual TK700 of one family, a device
// link connected to it, the settings store and a profile image, handed out as a DeviceContext.
#pragma once

#include "controller/device_context.h"
#include "support/test_runtime.h"
#include "support/virtual_mouse.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

#include <memory>

class MouseRig : public DeviceTraits
{
public:
    explicit MouseRig(const QString &family)
        : mouse(VirtualMouse::Options{family, false, QString()})
    {
        model.icType = family;
    }

    // False when the runtime copy or the simulator could not be set up, or the link found no mouse.
    bool start()
    {
        if (!runtime.isValid() || !mouse.start())
            return false;
        settings = std::make_unique<SettingsStore>();
        link.traits = this;
        const int index = link.scanDevices();
        link.selectDevice(index);
        mouse.clearLog();
        return index == 1;
    }

    DeviceContext context() { return DeviceContext{model, &link, *settings, image}; }

    // The feature requests the mouse received since the log was last cleared, unscrambled, hex.
    QStringList requests() { return mouse.requests(); }

    // Command code (byte 1) and first parameter (byte 2) of each request, as "0c 01".
    QStringList commands()
    {
        QStringList out;
        for (const QString &r : requests())
            out << r.mid(3, 5);
        return out;
    }

    QString state(const char *key) { return mouse.state()[QLatin1String(key)].toString(); }
    QByteArray deviceBlock(int n)
    {
        return VirtualMouse::bytesOf(mouse.state()[QStringLiteral("profiles")].toArray().at(n));
    }
    QByteArray imageBlock(int n) const
    {
        return QByteArray(reinterpret_cast<const char *>(image[n]), kProfileBlockSize);
    }

    static QString hex(const QByteArray &b) { return QString::fromLatin1(b.toHex(' ')); }

    bool gunCapable() const override { return model.isGun; }
    bool family560() const override { return model.family560(); }

    TestRuntime runtime; // first: it makes the copy the current directory
    VirtualMouse mouse;
    MouseModel model;
    Hid_Thread link;
    std::unique_ptr<SettingsStore> settings;
    ProfileImage image = {};
};

// A list of QVariant numbers start, start + 1, ...
inline QVariantList numbers(int count, int start = 1)
{
    QVariantList out;
    for (int i = 0; i < count; ++i)
        out << start + i;
    return out;
}
