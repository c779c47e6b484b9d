#include "controller/settings_check.h"

#include "controller/dialogs.h"
#include "controller/runtime_files.h"
#include "controller/settings_store.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSettings>

#include <algorithm>

namespace
{

QString text(const char *source)
{
    return QCoreApplication::translate("SettingsCheck", source);
}

QString gunDataFile()
{
    return QStringLiteral("./modules/gun/gunData.bin");
}

// Why `path` cannot be used as a settings file; empty when it can. A missing file is fine only
// where `missingIsFine` says so.
QString fileProblem(const QString &path, bool missingIsFine, bool *unsafe)
{
    QByteArray content;
    switch (readRegularFile(path, kRuntimeFileMaxBytes, content)) {
    case ReadResult::Done:
        break;
    case ReadResult::Missing:
        return missingIsFine ? QString() : text("the file is missing");
    case ReadResult::NotRegular:
        *unsafe = true;
        return text("it is not a regular file");
    case ReadResult::TooLarge:
        *unsafe = true;
        return text("the file is far too large");
    case ReadResult::Unreadable:
        return text("the file cannot be read");
    }
    const QSettings file(path, QSettings::IniFormat);
    // Sections are parsed when first read; a line that is no entry shows only then.
    (void)file.allKeys();
    if (content.contains('\0') || file.status() != QSettings::NoError)
        return text("the file is damaged (it does not read as a settings file)");
    return {};
}

QString deviceTableProblem(const QString &path, bool *unsafe)
{
    const QSettings file(path, QSettings::IniFormat);
    bool ok = false;
    const int count = file.value(QStringLiteral("common/deviceCount")).toString().toInt(&ok);
    if (!ok || count < 1)
        return text("it holds no device table");
    if (count > kMaxDeviceEntries) {
        *unsafe = true;
        return text("its device table claims %1 devices").arg(count);
    }
    return {};
}

// Why the file `path` cannot be used; the global files must also hold a device table.
QString problemOf(const QString &path, bool missingIsFine, bool holdsDeviceTable, bool *unsafe)
{
    QString reason = fileProblem(path, missingIsFine, unsafe);
    if (reason.isEmpty() && holdsDeviceTable)
        reason = deviceTableProblem(path, unsafe);
    return reason;
}

} // namespace

QList<SettingsProblem> findSettingsProblems()
{
    QList<SettingsProblem> problems;
    enum Kind { Global, GlobalDefaults, Other };
    auto check = [&](const QString &path, bool missingIsFine, const QString &factory, Kind kind) {
        bool unsafe = false;
        const QString reason = problemOf(path, missingIsFine, kind != Other, &unsafe);
        if (reason.isEmpty())
            return;
        bool copyUnsafe = false;
        const bool copyUsable =
            !factory.isEmpty() && problemOf(factory, false, kind != Other, &copyUnsafe).isEmpty();
        // Only apConfig.bin is read outside the guarded settings objects (by the device link).
        problems.append({path, reason, copyUsable ? factory : QString(), kind == Global && unsafe});
    };
    const QString globalDefaults = SettingsStore::settingPath(QStringLiteral("apConfigD.bin"));
    const QString profileDefaults = SettingsStore::settingPath(QStringLiteral("pD.bin"));
    check(SettingsStore::settingPath(QStringLiteral("apConfig.bin")), false, globalDefaults,
          Global);
    check(globalDefaults, false, {}, GlobalDefaults);
    check(profileDefaults, false, {}, Other);
    // A missing profile reads as empty and is written anew; the catalogue is created on demand.
    for (int i = 0; i < SettingsStore::kProfileCount; ++i)
        check(SettingsStore::profileFileName(i), true, profileDefaults, Other);
    check(SettingsStore::settingPath(QStringLiteral("name.bin")), true, {}, Other);
    check(gunDataFile(), true, {}, Other);
    return problems;
}

bool restoreFactoryCopy(const SettingsProblem &problem)
{
    if (problem.factoryCopy.isEmpty())
        return false;
    return replaceFileWithCopy(problem.factoryCopy, problem.file);
}

bool checkSettingsFiles(Dialogs &dialogs)
{
    QList<SettingsProblem> problems = findSettingsProblems();
    if (problems.isEmpty())
        return true;
    auto describe = [](const QList<SettingsProblem> &list) {
        QStringList lines;
        for (const SettingsProblem &p : list) {
            QString line = text("%1: %2.").arg(p.file, p.reason);
            if (!p.factoryCopy.isEmpty())
                line += QLatin1Char(' ') +
                        text("The factory copy %1 can be restored.").arg(p.factoryCopy);
            lines << line;
        }
        return lines.join(QLatin1Char('\n'));
    };
    for (const SettingsProblem &p : problems)
        qDebug().noquote() << "broken settings file:" << p.file << "-" << p.reason
                           << (p.factoryCopy.isEmpty()
                                   ? QStringLiteral("- no factory copy")
                                   : QStringLiteral("- factory copy ") + p.factoryCopy);

    const QString title = text("Settings files");
    auto blocksStart = [](const SettingsProblem &p) { return p.blocksStart; };
    auto hasCopy = [](const SettingsProblem &p) { return !p.factoryCopy.isEmpty(); };
    bool told = false;
    if (std::any_of(problems.cbegin(), problems.cend(), hasCopy)) {
        told = true;
        if (dialogs.ask(nullptr, title,
                        describe(problems) + QStringLiteral("\n\n") +
                            text("Restore the factory copies now? The settings in these files "
                                 "are replaced by the factory settings."))) {
            for (const SettingsProblem &p : problems) {
                if (!hasCopy(p))
                    continue;
                const bool restored = restoreFactoryCopy(p);
                qDebug().noquote() << (restored ? "restored" : "could not restore") << p.file
                                   << "from" << p.factoryCopy;
            }
            // What is still broken is named once more.
            problems = findSettingsProblems();
            told = false;
        }
    }
    if (std::any_of(problems.cbegin(), problems.cend(), blocksStart)) {
        qDebug().noquote() << "cannot start: a settings file cannot be read safely";
        dialogs.warning(nullptr, title,
                        describe(problems) + QStringLiteral("\n\n") +
                            text("The program cannot start with these files in place."));
        return false;
    }
    if (!problems.isEmpty() && !told)
        dialogs.warning(nullptr, title, describe(problems));
    return true;
}
