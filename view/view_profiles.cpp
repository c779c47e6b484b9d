// The view's profile slots: the file dialogs and argument conversion; the work is in Profiles.

#include "controller/profiles.h"
#include "view/dialogs.h"
#include "view/myqquickview.h"

bool myQQuickView::loadProfile(int profile)
{
    if (!Profiles::checkSlot("loadProfile:", profile))
        return false;
    const QString file = Dialogs::instance().openFileName(
        this, tr("Open File"), Dialogs::desktopFolder(), tr("Profile(*.pf)"));
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
    const QString file = Dialogs::instance().saveFileName(
        this, tr("Save File"), Dialogs::desktopFolder(), tr("Profile(*.pf)"));
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
