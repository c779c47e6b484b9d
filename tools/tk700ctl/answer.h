#pragma once

// What one tk700ctl command answers, whether the core did it here or the running program did.

#include <QJsonObject>
#include <QStringList>

// Exit codes, as --help lists them.
enum Exit {
    kDone = 0,
    kFailed = 1, // the mouse did not take it, or a file was not written
    kUsage = 2,  // unknown command, wrong or missing argument
    kProgramRuns = 3,
    kNoMouse = 4, // not found, or found but not ours to open
};

// Text lines for people, fields for --json.
struct Answer {
    int code = kDone;
    QStringList lines;
    QJsonObject json;
    QString error;
};

inline Answer failure(int code, const QString &error)
{
    Answer a;
    a.code = code;
    a.error = error;
    return a;
}
