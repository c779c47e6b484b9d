#pragma once

// What the fuzz targets share: a Qt core application (QSettings and QJSEngine want one), a private
// working folder with the runtime folders' layout, and a check that ends the run with a report.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzz
{

// A property that must hold for every input; a violation is a finding like a crash.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__,          \
                         __LINE__);                                                                \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// Made once per process: the application object and a working folder holding ./modules/...,
// made the current folder, so that nothing is written anywhere else.
inline QString workFolder()
{
    static int argc = 1;
    static char name[] = "tk700-fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *app = [] {
        qputenv("QT_LOGGING_RULES", "*.debug=false");
        return new QCoreApplication(argc, argv);
    }();
    (void)app;
    static QTemporaryDir *folder = [] {
        auto *dir = new QTemporaryDir;
        for (const char *sub : {"modules/setting", "modules/i18n", "modules/macro", "modules/gun"})
            QDir(dir->path()).mkpath(QString::fromLatin1(sub));
        QDir::setCurrent(dir->path());
        return dir;
    }();
    return folder->path();
}

inline bool writeFile(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size);
}

} // namespace fuzz
