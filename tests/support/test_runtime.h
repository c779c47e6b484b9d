#pragma once

#include <QString>
#include <QTemporaryDir>

// A private copy of the runtime folders (./modules/...) in a temporary directory, made the
// current directory for the lifetime of the object, so tests never write into the source tree.
class TestRuntime
{
public:
    TestRuntime();
    ~TestRuntime();

    bool isValid() const { return valid; }
    QString root() const { return dir.path(); }
    // Absolute path of a file below the copy, e.g. path("modules/setting/p1.bin").
    QString path(const QString &relative) const;
    QByteArray read(const QString &relative) const;
    bool write(const QString &relative, const QByteArray &content) const;

private:
    QTemporaryDir dir;
    QString previousDir;
    bool valid = false;
};
