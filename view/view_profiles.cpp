// The view's profile slots: the file dialogs and argument conversion; the work is in Profiles.

#include "controller/profiles.h"
#include "macro/macro_catalogue.h"
#include "view/dialogs.h"
#include "view/myqquickview.h"

#include <QDir>
#include <QRegularExpression>

bool myQQuickView::loadProfile(int profile)
{
    if (!Profiles::checkSlot("loadProfile:", profile))
        return false;
    const QString file = Dialogs::instance().openFileName(
        window(), tr("Open File"), Dialogs::documentsFolder(), tr("Profile(*.pf)"));
    if (file.isEmpty())
        return false;
    DeviceContext ctx = context();
    QString refusal;
    if (Profiles(ctx).importFile(profile, file, &refusal))
        return true;
    Dialogs::instance().warning(window(), tr("Import"), refusal);
    return false;
}

void myQQuickView::saveProfile(int profile)
{
    if (!Profiles::checkSlot("saveProfile:", profile))
        return;
    // The profile's name as the dialog shows it, made a file name, in the documents folder.
    QString name = MacroCatalogue().profileName(profile);
    name.replace(QRegularExpression(QStringLiteral(R"([/\\:*?"<>|\x00-\x1f])")), QStringLiteral("_"));
    if (name.trimmed().isEmpty() || name.startsWith(QLatin1Char('.')))
        name = QStringLiteral("profile%1").arg(profile + 1);
    const QString file = Dialogs::instance().saveFileName(
        window(), tr("Save File"),
        QDir(Dialogs::documentsFolder()).filePath(name + QStringLiteral(".pf")),
        tr("Profile(*.pf)"));
    if (file.isEmpty())
        return;
    DeviceContext ctx = context();
    const SaveResult exported = Profiles(ctx).exportFile(profile, file);
    if (!noteSave(exported))
        Dialogs::instance().warning(window(), tr("Export"),
                                    tr("The profile could not be exported.") +
                                        QLatin1Char('\n') + saveFailure());
}

bool myQQuickView::resetProfile(int profile)
{
    DeviceContext ctx = context();
    return noteSave(Profiles(ctx).reset(profile));
}

bool myQQuickView::copyProfile(int destprofile, int srcprofile)
{
    DeviceContext ctx = context();
    return noteSave(Profiles(ctx).copy(destprofile, srcprofile));
}
