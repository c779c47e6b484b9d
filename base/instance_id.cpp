#include "base/instance_id.h"

#include <QDir>
#include <QStandardPaths>

#include <unistd.h>

QString instanceId()
{
    return QStringLiteral("tk700-%1").arg(getuid());
}

QString instanceFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}

QString instanceLockPath(const QString &folder, const QString &id)
{
    return folder + QLatin1Char('/') + id + QStringLiteral(".lock");
}

QString toolLockPath(const QString &folder, const QString &id)
{
    return folder + QLatin1Char('/') + id + QStringLiteral("-tk700ctl.lock");
}
