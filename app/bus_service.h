#pragma once

// The running program as the mouse's one owner on the session bus: other front ends (tk700ctl,
// desktop shortcuts) ask it to switch profiles, send the stored profile, set the DPI stage or send
// a macro, and the window does it as if the user had. QtCore and QtDBus only: MouseOwner is what
// the service needs of the program, so the service can run against a stand-in.
//
// A request that writes waits until the window's device work is done, runs as a device work of
// its own, and is answered when that work has reached the mouse and its settings files; one that
// cannot be done is answered with a named error (bus_names.h) and a message.

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <deque>
#include <functional>

class MouseOwner : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool connected() const = 0;
    virtual QString family() const = 0;     // "553" or "560"
    virtual int profile() const = 0;        // 1 ... 10, as the window shows it
    virtual int dpiStage() const = 0;       // 1 ... 8, as the window shows it; 0 unknown
    virtual QVariantMap device() const = 0; // vid, pid, command and event interface
    virtual QStringList profileFiles() const = 0;
    virtual QString language() const = 0;    // the program's, for the macros' key names
    virtual QString saveFailure() const = 0; // "<file>: <reason>" of the last save that failed
    // A device work is under way, or the window cannot take one yet (start-up).
    virtual bool busy() const = 0;
    // Each starts one device work of the window and answers whether it did; workFinished() follows
    // for a work that was started. `immediateOk` is false when a write was refused before it was
    // queued.
    struct Started {
        bool started = false;
        bool immediateOk = false;
    };
    virtual Started switchProfile(int profile) = 0;
    virtual Started applyProfile() = 0;
    virtual Started setDpiStage(int stage) = 0;
    virtual Started sendMacro(const QVariantList &bytes, int button, const QString &name) = 0;

signals:
    void profileChanged(int profile);
    void dpiStageChanged(int stage);
    void connectionChanged(bool connected);
    // The device work has run: `ok` when every write reached the mouse, `saved` when the settings
    // files took what it stored; `parts` is what a profile send reported, by part.
    void workFinished(bool ok, bool saved, const QVariantMap &parts);
    void becameIdle();
};

class BusService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.talvemark.TK700")
    Q_PROPERTY(bool Connected READ connected)
    Q_PROPERTY(QString Family READ family)
    Q_PROPERTY(int Profile READ profile)
    Q_PROPERTY(int DpiStage READ dpiStage)
    Q_PROPERTY(QVariantMap Device READ device)

public:
    explicit BusService(MouseOwner *owner, QObject *parent = nullptr);

    // Registers the object and the service name on `bus`; false, with the reason logged, when the
    // bus or the name is not to be had (the program runs on without it).
    bool publish(const QDBusConnection &bus);

    bool connected() const { return owner->connected(); }
    QString family() const { return owner->family(); }
    int profile() const { return owner->profile(); }
    int dpiStage() const { return owner->dpiStage(); }
    QVariantMap device() const { return owner->device(); }

public slots:
    // File names of profiles 1 ... 10.
    QStringList ListProfiles();
    // The parts of the profile sent, each with true.
    QVariantMap SwitchProfile(int profile);
    QVariantMap ApplyProfile();
    void SetDpiStage(int stage);
    // The number of bytes of the macro's block.
    int SendMacro(const QString &name, int button);
    // The desktop's script (KWin on Wayland) telling which application came to the front.
    void ActiveWindowChanged(const QString &application);

public:
    // Where ActiveWindowChanged's reports go; unset, they are dropped.
    std::function<void(const QString &application)> activeWindowReported;

signals:
    void ProfileChanged(int profile);
    void DpiStageChanged(int stage);
    void ConnectionChanged(bool connected);

private:
    enum class Kind { Profile, Stage, Macro }; // a profile send answers the parts it sent
    struct Request {
        QDBusConnection bus;
        QDBusMessage message;
        Kind kind;
        std::function<MouseOwner::Started()> start;
        QVariant answer; // what a success replies, when not the parts sent
        QString what;    // "macro NAME", "DPI stage N": what the mouse did not take
    };

    // Answers the call being handled with the named `error`.
    void refuse(const char *error, const QString &text);
    // Queues the call being handled; its answer is sent when its device work has run.
    void enqueue(Kind kind, const QString &what, std::function<MouseOwner::Started()> start,
                 QVariant answer = {});
    void runNext();
    void finish(bool ok, bool saved, const QVariantMap &parts);

    MouseOwner *owner;
    std::deque<Request> waiting;
    bool running = false;     // the front request's device work is under way
    bool immediateOk = false; // its writes were all queued
};
