#include "view/settings_check_box.h"

#include "base/settings_check.h"
#include "view/dialogs.h"

#include <QCoreApplication>
#include <QDebug>

#include <algorithm>

namespace
{

QString text(const char *source)
{
    return QCoreApplication::translate("SettingsCheck", source);
}

} // namespace

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
