// What the tests that run the real tk700 program share: a copy of it beside a runtime copy, its
// environment against the virtual TK700 with the item probe (TK700_ITEM_PROBE), the wait for its
// first screen and its end. QtCore and QtNetwork only, so a test without QtGui can use it.
#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QTest>

namespace ProgramRig
{

inline QString binDir()
{
    return qEnvironmentVariable("TK700_BIN_DIR");
}

// Where the tests leave their screenshots: build/test-screens/.
inline QString screensFolder()
{
    return binDir() + "/../test-screens/";
}

// One request to the running program's item probe; empty when it does not answer.
// `replyMs` bounds the wait for the answer: a call that holds the window's thread answers only
// when it returns.
inline QJsonObject askProbe(const QString &probe, const QByteArray &request, int replyMs = 3000)
{
    QLocalSocket socket;
    socket.connectToServer(probe);
    if (!socket.waitForConnected(2000))
        return {};
    socket.write(request + '\n');
    QDeadlineTimer deadline(replyMs);
    while (!socket.canReadLine() && !deadline.hasExpired())
        socket.waitForReadyRead(100);
    return QJsonDocument::fromJson(socket.readLine()).object();
}

// A copy of the built program at `exe`, which the owner may run.
inline bool installProgram(const QString &exe)
{
    const bool copied = QFile::copy(binDir() + "/tk700", exe);
    QFile(exe).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return copied;
}

// The program's environment: the test's own, on the platform the display offers, with the
// virtual TK700's hidapi stand-in (and the device polling that notices its plugs, which udev never
// sees), `runtimeDir` as XDG_RUNTIME_DIR and its item probe at `probe`.
inline QProcessEnvironment programEnvironment(const QString &runtimeDir, const QString &probe)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.insert("LD_PRELOAD", qEnvironmentVariable("TK700_HIDAPI_SIM"));
    env.insert("TK700_POLL_DEVICES", "1");
    env.insert("XDG_RUNTIME_DIR", runtimeDir);
    env.insert("TK700_ITEM_PROBE", probe);
    return env;
}

// True once the program's first screen after the logo is up; otherwise its output is printed.
inline bool waitForStart(QProcess &program, const QString &probe, int ms = 20000)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (askProbe(probe, "item mainIten isStarted")["props"].toObject()["isStarted"].toBool())
            return true;
        QTest::qWait(100);
    }
    qWarning().noquote() << "program output:" << program.readAll();
    return false;
}

// Asks a process the test started to end, and kills it when it has not within `graceMs`.
inline void stopProcess(QProcess &process, int graceMs = 3000)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(graceMs)) {
        process.kill();
        process.waitForFinished();
    }
}

// Ends a program the test started and deletes it; nothing when there is none.
inline void endProcess(QProcess *&process, int graceMs = 3000)
{
    if (!process)
        return;
    stopProcess(*process, graceMs);
    delete process;
    process = nullptr;
}

} // namespace ProgramRig
