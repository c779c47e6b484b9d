#include "base/settings_file.h"

#include "base/ini_text.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{

QString text(const char *source)
{
    return QCoreApplication::translate("SettingsFile", source);
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

QString absolute(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

// What the format's write function made of a file: it can only answer true or false to
// QSettings, and saveSettings() collects the rest from here.
struct WriteOutcome {
    bool tried = false; // the text was handed over: QSettings had something to write
    QString failure;    // why it did not reach the disk; empty when it did
};

class WriteOutcomes
{
public:
    void note(const QString &file, const QString &failure = {})
    {
        const QMutexLocker lock(&mutex);
        outcomes.insert(file, {true, failure});
    }
    WriteOutcome take(const QString &file)
    {
        const QMutexLocker lock(&mutex);
        return outcomes.take(file);
    }

private:
    QMutex mutex;
    QHash<QString, WriteOutcome> outcomes; // by absolute file name
};

WriteOutcomes &writeOutcomes()
{
    static WriteOutcomes outcomes;
    return outcomes;
}

bool readSettings(QIODevice &device, QSettings::SettingsMap &map)
{
    // A damaged line costs that line only, as in Qt's own INI files; the start-up check names
    // the file.
    ini::parse(device.readAll(), map);
    return true;
}

// QSettings hands the text to a QSaveFile and renames it over the file when this returns true:
// only when every byte has reached the disk.
bool writeSettings(QIODevice &device, const QSettings::SettingsMap &map)
{
    auto *file = qobject_cast<QFileDevice *>(&device);
    const QString path = file ? absolute(file->fileName()) : QString();
    if (file && QFileInfo(path).isSymLink()) {
        // QSaveFile would write where the link leads. saveSettings() replaces the link first;
        // a save from QSettings' own timer or destructor stops here.
        writeOutcomes().note(path, text("it is a link to another file"));
        return false;
    }
    const QByteArray content = ini::serialize(map);
    // A failing flush does not show in write()'s count for a small file: each step is checked.
    if (device.write(content) != content.size() || (file && !file->flush())) {
        writeOutcomes().note(path, device.errorString());
        return false;
    }
#ifdef Q_OS_UNIX
    if (file && ::fsync(file->handle()) != 0) {
        writeOutcomes().note(path, systemError());
        return false;
    }
#endif
    writeOutcomes().note(path);
    return true;
}

QString standInPath(const QString &path)
{
    static QTemporaryDir folder;
    static QSet<QString> reported;
    const QString name = absolute(path);
    if (!reported.contains(name)) {
        reported.insert(name);
        qDebug() << "settings file cannot be read:" << path << "- working on an empty stand-in";
    }
    QString flat = name;
    flat.replace(QLatin1Char('/'), QLatin1Char('_'));
    return folder.filePath(flat);
}

// What `settings` holds, as it reads back from its file.
QSettings::SettingsMap heldEntries(const QSettings &settings, QByteArray *text)
{
    QSettings::SettingsMap held;
    for (const QString &key : settings.allKeys())
        held.insert(key, settings.value(key));
    *text = ini::serialize(held);
    QSettings::SettingsMap entries;
    ini::parse(*text, entries);
    return entries;
}

// Why a file was not written although nothing reached the format's write function: the steps
// QSettings takes before it (open the file for writing, create its lock and temporary files in
// the folder), tried by hand. Empty when they all work: then there was nothing to write.
QString whyNotWritten(const QString &path, const QByteArray &content)
{
    QFile existing(path);
    if (existing.exists() && !existing.open(QIODevice::ReadWrite))
        return existing.errorString();
    QTemporaryFile probe(path + QStringLiteral(".XXXXXX"));
    if (!probe.open())
        return probe.errorString();
    if (probe.write(content) != content.size() || !probe.flush())
        return probe.errorString();
#ifdef Q_OS_UNIX
    if (::fsync(probe.handle()) != 0)
        return systemError();
#endif
    return {};
}

} // namespace

QSettings::Format settingsFormat()
{
    static const QSettings::Format format = QSettings::registerFormat(
        QStringLiteral("bin"), readSettings, writeSettings, Qt::CaseSensitive);
    return format;
}

QSettings *newSettingsFile(const QString &path)
{
    if (isSafeToRead(runtimeFileState(path)))
        return new QSettings(path, settingsFormat());
    return new QSettings(standInPath(path), settingsFormat());
}

std::unique_ptr<QSettings> openSettingsFile(const QString &path)
{
    return std::unique_ptr<QSettings>(newSettingsFile(path));
}

SaveResult saveSettings(QSettings &settings)
{
    const QString path = settings.fileName();
    const QString name = absolute(path);
    if (QFileInfo(name).isSymLink()) {
        // The settings stay in the data folder: the link gives way to a regular file with what
        // it leads to, and the save goes there.
        QByteArray content;
        (void)readRegularFile(name, kRuntimeFileMaxBytes, content);
        if (SaveResult replaced = replaceFileWith(content, path); !replaced)
            return replaced;
        qDebug() << "replaced the link" << path << "by a regular file";
    }
    writeOutcomes().take(name);
    settings.sync();
    const WriteOutcome outcome = writeOutcomes().take(name);
    if (!outcome.failure.isEmpty()) {
        qDebug() << "settings not saved:" << path << "-" << outcome.failure;
        return {path, outcome.failure};
    }

    // The file must now hold what the object holds. When nothing was handed to the write
    // function, it may differ only because another writer changed it unseen (QSettings notices a
    // change by size and time stamp): that is no failed write.
    QByteArray expected;
    const QSettings::SettingsMap held = heldEntries(settings, &expected);
    QByteArray content;
    QSettings::SettingsMap onDisk;
    if (readRegularFile(path, kRuntimeFileMaxBytes, content) == ReadResult::Done)
        ini::parse(content, onDisk);
    if (onDisk == held)
        return {};
    const QString reason =
        outcome.tried ? text("the file could not be replaced") : whyNotWritten(path, expected);
    if (reason.isEmpty())
        return {};
    qDebug() << "settings not saved:" << path << "-" << reason;
    return {path, reason};
}

bool isWellFormedSettings(const QByteArray &content)
{
    QSettings::SettingsMap entries;
    return ini::parse(content, entries);
}
