#include "support/test_runtime.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace
{

bool copyTree(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target))
                return false;
        } else if (!QFile::copy(source, target)) {
            return false;
        } else {
            QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        }
    }
    return true;
}

} // namespace

TestRuntime::TestRuntime() : previousDir(QDir::currentPath())
{
    valid = dir.isValid() && copyTree(QStringLiteral(TK700_RUNTIME_DIR), dir.path() + "/modules") &&
            QDir::setCurrent(dir.path());
}

TestRuntime::~TestRuntime()
{
    QDir::setCurrent(previousDir);
}

QString TestRuntime::path(const QString &relative) const
{
    return dir.path() + QLatin1Char('/') + relative;
}

QByteArray TestRuntime::read(const QString &relative) const
{
    QFile f(path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TestRuntime::write(const QString &relative, const QByteArray &content) const
{
    QFile f(path(relative));
    QDir().mkpath(QFileInfo(f).path());
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}
