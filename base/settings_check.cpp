#include "base/settings_check.h"

#include "base/settings_file.h"
#include "base/settings_store.h"
#include "device/device_table.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSettings>

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
    if (content.contains('\0') || !isWellFormedSettings(content))
        return text("the file is damaged (it does not read as a settings file)");
    return {};
}

QString deviceTableProblem(const QString &path, bool *unsafe)
{
    const QSettings file(path, settingsFormat());
    bool ok = false;
    const int count = file.value(QStringLiteral("common/deviceCount")).toString().toInt(&ok);
    if (!ok || count < 1)
        return text("it holds no device table");
    if (count > kMaxDeviceCount) {
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
    return replaceFileWithCopy(problem.factoryCopy, problem.file).ok();
}
