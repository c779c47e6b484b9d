#pragma once

// A private runtime copy, its settings files, a profile image and, when asked for, a virtual TK700
// of one family with a device link connected to it: what the feature classes work with.

#include "controller/device_context.h"
#include "support/test_runtime.h"
#include "support/virtual_mouse.h"

#include <QJsonArray>
#include <QJsonObject>

#include <memory>

struct RigTraits : DeviceTraits {
    bool gun = false;
    bool family560Flag = false;
    bool gunCapable() const override { return gun; }
    bool family560() const override { return family560Flag; }
};

class MouseRig
{
public:
    // An empty family: no mouse, no link (nothing is sent).
    explicit MouseRig(const QString &family = QString(), bool gun = false)
    {
        traits.gun = gun;
        traits.family560Flag = family == QLatin1String("560");
        model.isGun = gun;
        model.icType = family;
        if (!runtime.isValid())
            return;
        settings = std::make_unique<SettingsStore>();
        if (family.isEmpty()) {
            valid = true;
            return;
        }
        mouse = std::make_unique<VirtualMouse>(VirtualMouse::Options{family, false, QString()});
        if (!mouse->start())
            return;
        link = std::make_unique<Hid_Thread>();
        link->traits = &traits;
        const int index = link->scanDevices();
        if (index < 0)
            return;
        link->selectDevice(index);
        valid = true;
    }
    ~MouseRig()
    {
        link.reset(); // before the mouse goes away
        mouse.reset();
    }

    bool isValid() const { return valid; }
    DeviceContext context() { return DeviceContext{model, link.get(), *settings, image}; }

    // The feature requests the mouse received since the log was last cleared, as "code byte2"
    // pairs in hex ("0d01"): enough to tell which command went to which table or block.
    QStringList commands()
    {
        QStringList out;
        for (const QString &request : mouse->requests())
            out << QString(request.mid(3, 5)).remove(QLatin1Char(' '));
        return out;
    }
    // One byte block of the mouse's state, e.g. block("keyMatrices", 0).
    QByteArray block(const char *key, int index)
    {
        return VirtualMouse::bytesOf(mouse->state()[key].toArray()[index]);
    }

    TestRuntime runtime;
    RigTraits traits;
    MouseModel model;
    std::unique_ptr<SettingsStore> settings;
    ProfileImage image = {};
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<Hid_Thread> link;

private:
    bool valid = false;
};
