#pragma once

// The system's requests to end the program (SIGTERM, SIGINT, SIGHUP on Linux) as one Qt signal, so
// that they end it the way Quit in the tray menu does, with the same teardown.

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override; // the default handling comes back

    // Whether a request has arrived; one that comes before the event loop runs must still end it.
    bool arrived() const { return seen; }

signals:
    void requested();

private:
    void take();

    QSocketNotifier *notifier = nullptr;
    bool seen = false;
};
