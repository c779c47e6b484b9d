#pragma once

// Tells when HID devices come or go, as a device-change message would: from the system's device
// events where they reach the program, and, where they do not (no udev daemon runs), from
// comparing the enumerated HID interfaces while no device is watched. Devices the system does not
// know (the virtual TK700's) are compared where TK700_POLL_DEVICES=1 asks for it. While a device
// is watched nothing is polled.

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

class DeviceChangeNotifier : public QObject
{
    Q_OBJECT

public:
    // `watching` says whether a device is watched now; the comparison pauses meanwhile.
    explicit DeviceChangeNotifier(std::function<bool()> watching, QObject *parent = nullptr);

    static constexpr int kPollMs = 250;
    // Set to 1, the enumeration is compared whether or not the system has device events.
    static constexpr char kPollVariable[] = "TK700_POLL_DEVICES";

    // Takes the present interfaces, less those of the device `vid`:`pid`, as the state to compare
    // with from now on. Called when a watch has just ended because its device went away: that
    // change belonged to the watch, and the device showing up again is a new one, even when it
    // came back before this call.
    void rebase(quint16 vid, quint16 pid);
    // The watch has ended: the comparison starts again, where there is one.
    void resume();

signals:
    void deviceChanged();

private:
    void poll();

    std::function<bool()> watching;
    QTimer pollTimer;
    bool polling = false;
    QStringList baseline;
    bool haveBaseline = false;
};
