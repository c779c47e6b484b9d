#include "macro/macro_files.h"

#include "base/ini_text.h"
#include "base/settings_file.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSettings>

namespace
{

// Far more than the mouse's 128-byte block can play; bounds what a damaged total makes us read.
constexpr int kMaxRecords = 65536;
constexpr int kMaxRepeat = 65535;

QStringList entriesOf(const QString &folder)
{
    QStringList paths;
    const QFileInfoList infos = QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                           QDir::Hidden | QDir::System);
    for (const QFileInfo &info : infos)
        paths.append(info.filePath());
    return paths;
}

} // namespace

QString macroRoot()
{
    return QStringLiteral("./modules/macro/");
}

void MacroSelection::setNames(const QStringList &list)
{
    for (int i = 0; i < kMacroMaxLevel; ++i)
        names[i] = list.value(i);
}

QString MacroSelection::joinedNames(int count) const
{
    QString joined;
    for (int i = 0; i < count && i < kMacroMaxLevel; ++i)
        joined += names[i];
    return joined;
}

QString MacroSelection::folderPart(int level) const
{
    if (level < 0 || level > kMacroMaxLevel)
        return {};
    QString part = macroRoot();
    for (int i = 0; i < level; ++i) {
        if (!isUsableName(names[i]))
            return {};
        part += names[i] + QLatin1Char('/');
    }
    return part;
}

QString MacroSelection::macroPath(int level, const QString &name) const
{
    const QString part = folderPart(level);
    if (part.isEmpty() || !isUsableName(name, savedFileSuffix(macroSuffix())))
        return {};
    return part + name + macroSuffix();
}

QString MacroSelection::folderPath(int level, const QString &name) const
{
    const QString part = folderPart(level);
    if (part.isEmpty() || !isUsableName(name))
        return {};
    return part + name;
}

CreateResult MacroFiles::createMacro(int level, const QString &name, uint index) const
{
    const QString path = selection.macroPath(level, name);
    if (path.isEmpty())
        return CreateResult::Refused;
    // A FIFO or device of that name would hang the settings library's first read.
    if (!isSafeToRead(runtimeFileState(path)))
        return CreateResult::Failed;
    QSettings file(path, settingsFormat());
    file.beginGroup(QStringLiteral("config"));
    file.setValue(QStringLiteral("index"), index);
    file.setValue(QStringLiteral("total"), 0);
    file.setValue(QStringLiteral("repeat"), 1);
    file.setValue(QStringLiteral("did"), -1);
    file.endGroup();
    return saveSettings(file) ? CreateResult::Created : CreateResult::Failed;
}

CreateResult MacroFiles::createFolder(int level, const QString &name) const
{
    const QString path = selection.folderPath(level, name);
    if (path.isEmpty())
        return CreateResult::Refused;
    if (QFileInfo(path).isDir())
        return CreateResult::Duplicate;
    return QDir().mkdir(path) ? CreateResult::Created : CreateResult::Failed;
}

SaveResult MacroFiles::save(int level, const QString &name, const QStringList &records,
                            const QVariant &repeat) const
{
    const QString path = selection.macroPath(level, name);
    if (path.isEmpty() || runtimeFileState(path) != FileState::Usable)
        return {path.isEmpty() ? name : path,
                QCoreApplication::translate("MacroFiles", "there is no such macro file")};
    QSettings file(path, settingsFormat());
    // Fewer records than before must not leave old keys behind.
    file.remove(QStringLiteral("macro"));
    file.setValue(QStringLiteral("config/total"), records.size());
    file.setValue(QStringLiteral("config/repeat"), repeat);
    file.beginGroup(QStringLiteral("macro"));
    for (int i = 0; i < records.size(); ++i)
        file.setValue(QString::number(i), records.at(i));
    file.endGroup();
    return saveSettings(file);
}

QStringList MacroFiles::load(int level, const QString &name) const
{
    const QString path = selection.macroPath(level, name);
    if (path.isEmpty() || runtimeFileState(path) != FileState::Usable)
        return {};
    const QSettings file(path, settingsFormat());
    const int total = qMin(file.value(QStringLiteral("config/total"), 0).toInt(), kMaxRecords);
    QStringList list;
    for (int i = 0; i < total; ++i)
        list.append(file.value(QStringLiteral("macro/%1").arg(i), 0).toString());
    list.append(file.value(QStringLiteral("config/repeat"), 0).toString());
    return list;
}

bool MacroFiles::removeMacro(int level, const QString &name) const
{
    const QString path = selection.macroPath(level, name);
    return !path.isEmpty() && QFileInfo(path).isFile() && QFile::remove(path);
}

bool MacroFiles::removeFolder(int level, const QString &name) const
{
    const QString path = selection.folderPath(level, name);
    return !path.isEmpty() && removeFolderTree(path);
}

bool MacroFiles::rename(int level, bool folder, const QString &oldName,
                        const QString &newName) const
{
    if (!folder) {
        const QString from = selection.macroPath(level, oldName);
        const QString to = selection.macroPath(level, newName);
        if (from.isEmpty() || to.isEmpty() || !QFileInfo(from).isFile())
            return false;
        return QFile::rename(from, to); // fails when `to` exists
    }
    const QString from = selection.folderPath(level, oldName);
    const QString to = selection.folderPath(level, newName);
    if (from.isEmpty() || to.isEmpty() || !QFileInfo(from).isDir()) {
        qDebug().noquote()
            << "========================  rename  = false  ===================================";
        return false;
    }
    qDebug().noquote() << QStringLiteral("=========  oldfilePathName ==") + from +
                              QStringLiteral(",newfilePathName = ") + to +
                              QStringLiteral(",exist = true");
    // rename(2) would replace an empty folder of the new name.
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return false;
    return QDir().rename(from, to);
}

bool removeFolderTree(const QString &path)
{
    const QFileInfo top(path);
    if (top.isSymLink())
        return QFile::remove(path);
    if (!top.isDir())
        return false;

    QStringList work = entriesOf(path);
    QSet<QString> known(work.cbegin(), work.cend());
    while (!work.isEmpty()) {
        bool changed = false;
        for (qsizetype i = work.size() - 1; i >= 0; --i) {
            const QString entry = work.at(i);
            const QFileInfo info(entry);
            bool removed = false;
            if (info.isDir() && !info.isSymLink()) {
                const QStringList inside = entriesOf(entry);
                if (inside.isEmpty()) {
                    removed = QDir().rmdir(entry);
                } else {
                    for (const QString &child : inside) {
                        if (!known.contains(child)) {
                            known.insert(child);
                            work.append(child);
                            changed = true;
                        }
                    }
                }
            } else {
                removed = QFile::remove(entry);
            }
            if (removed) {
                known.remove(entry);
                work.removeAt(i);
                changed = true;
            }
        }
        // An entry that cannot be removed would keep the list from ever emptying.
        if (!changed)
            return false;
    }
    return QDir().rmdir(path);
}

bool isMacroRecord(const QString &record)
{
    if (record.size() < 3 || record.at(1) != QLatin1Char(','))
        return false;
    const QStringView info = QStringView(record).mid(2);
    switch (record.at(0).unicode()) {
    case '0': {
        if (info.size() > 10)
            return false;
        for (const QChar c : info) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
        // Ten digits may still exceed 32 bits.
        bool ok = false;
        (void)info.toUInt(&ok);
        return ok;
    }
    case '1':
    case '2':
    case '3':
    case '4':
        return true;
    default:
        return false;
    }
}

bool isMacroFile(const QString &path)
{
    QByteArray content;
    QSettings::SettingsMap file;
    if (readRegularFile(path, kMacroFileMaxBytes, content) != ReadResult::Done ||
        !ini::parse(content, file))
        return false;
    bool ok = false;
    const QVariant totalValue = file.value(QStringLiteral("config/total"));
    const int total = totalValue.toString().toInt(&ok);
    if (totalValue.typeId() != QMetaType::QString || !ok || total < 0 || total > kMaxRecords)
        return false;
    const QVariant repeatValue = file.value(QStringLiteral("config/repeat"));
    const int repeat = repeatValue.toString().toInt(&ok);
    if (repeatValue.typeId() != QMetaType::QString || !ok || repeat < 1 || repeat > kMaxRepeat)
        return false;
    for (int i = 0; i < total; ++i) {
        const QVariant record = file.value(QStringLiteral("macro/%1").arg(i));
        if (record.typeId() != QMetaType::QString || !isMacroRecord(record.toString()))
            return false;
    }
    return true;
}
