#pragma once

// A feature's world for one test: a private runtime copy with its settings files and a profile
// image and, for a firmware family, a virtual TK700 of that family with a device link connected
// to it, handed out as a DeviceContext.

#include "base/device_context.h"
#include "support/bytes.h"
#include "support/test_runtime.h"
#include "support/virtual_mouse.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

#include <memory>

class MouseRig : public DeviceTraits
{
public:
    // The shipped device table's entry of the mouse the simulator presents.
    static constexpr int kSimulatedEntry = 1;

    // Without a family there is no mouse and no link: nothing is sent. The model can still be
    // changed until start().
    explicit MouseRig(const QString &family = QString(), bool gun = false)
    {
        model.icType = family;
        model.isGun = gun;
    }
    ~MouseRig() override
    {
        link.reset(); // before its mouse goes away
        mouse.reset();
    }
    MouseRig(const MouseRig &) = delete;
    MouseRig &operator=(const MouseRig &) = delete;

    // False when the runtime copy or the simulator could not be set up, or the link did not find
    // the mouse. The mouse's log starts empty.
    bool start()
    {
        if (!runtime.isValid())
            return false;
        settings = std::make_unique<SettingsStore>();
        if (model.icType.isEmpty())
            return true;
        mouse = std::make_unique<VirtualMouse>(VirtualMouse::Options{model.icType, false, {}});
        if (!mouse->start())
            return false;
        link = std::make_unique<Hid_Thread>();
        link->traits = this;
        const int index = link->scanDevices();
        if (index != kSimulatedEntry)
            return false;
        link->selectDevice(index);
        mouse->clearLog();
        return true;
    }

    DeviceContext context() { return DeviceContext{model, link.get(), *settings, image}; }
    // With the image's blocks tracked as the program tracks them: a block whose read failed is
    // read again before it is changed and sent.
    DeviceContext tracked() { return DeviceContext{model, link.get(), *settings, image, &blocks}; }

    // The feature requests the mouse received since the log was last cleared, unscrambled, hex.
    QStringList requests() { return mouse->requests(); }
    // Command code (byte 1) and first parameter (byte 2) of each request, "0c 01": enough to tell
    // which command went to which table or block.
    QStringList commands()
    {
        QStringList out;
        for (const QString &request : requests())
            out << request.mid(3, 5);
        return out;
    }

    // A value of the mouse's state, e.g. state("keyboardOptions") == "01 02 30 44".
    QString state(const char *key) { return mouse->state()[QLatin1String(key)].toString(); }
    // One byte block of a list in the mouse's state, e.g. block("keyMatrices", 0).
    QByteArray block(const char *key, int index)
    {
        return VirtualMouse::bytesOf(mouse->state()[QLatin1String(key)].toArray().at(index));
    }
    QByteArray deviceBlock(int n) { return block("profiles", n); }
    QByteArray imageBlock(int n) const
    {
        return {reinterpret_cast<const char *>(image[n]), kProfileBlockSize};
    }

    bool gunCapable() const override { return model.isGun; }
    bool family560() const override { return model.family560(); }

    TestRuntime runtime; // first: it makes the copy the current directory
    MouseModel model;
    std::unique_ptr<SettingsStore> settings;
    ProfileImage image = {};
    BlockStates blocks;
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<Hid_Thread> link;
};

// A list of QVariant numbers start, start + 1, ...
inline QVariantList numbers(int count, int start = 1)
{
    QVariantList out;
    for (int i = 0; i < count; ++i)
        out << start + i;
    return out;
}
