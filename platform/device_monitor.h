#pragma once

// The system's own device events, where they reach the program: `changed` is emitted, on the GUI
// thread, whenever a HID device comes or goes. One implementation per platform
// (device_monitor_<platform>.cpp); where the system has no events for us, nothing is emitted.

#include <QObject>

#include <memory>

class DeviceMonitor : public QObject
{
    Q_OBJECT

public:
    explicit DeviceMonitor(QObject *parent = nullptr);
    ~DeviceMonitor() override;

    // Whether the system's events reach the program at all (on Linux: a udev daemon runs).
    bool isActive() const { return system != nullptr; }

signals:
    void changed();

private:
    struct System;
    std::unique_ptr<System> system;
};
