// The QML API's slots for profiles bound to applications: the bindings in apConfig, and what the
// desktop tells of its applications.

#include "controller/app_profiles.h"
#include "platform/active_window.h"
#include "view/myqquickview.h"

QVariantMap myQQuickView::applicationFollowing()
{
    return {{QStringLiteral("available"), activeWindows && activeWindows->working()},
            {QStringLiteral("applications"),
             activeWindows ? activeWindows->applications() : QStringList()}};
}

QStringList myQQuickView::boundApplications(int profile)
{
    return app_profiles::boundApplications(settings, profile);
}

bool myQQuickView::bindApplication(int profile, const QString &application)
{
    return app_profiles::bind(settings, profile, application);
}

void myQQuickView::unbindApplications(int profile)
{
    app_profiles::unbindAll(settings, profile);
}
