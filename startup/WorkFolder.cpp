#include "WorkFolder.h"

#include "DefaultConfiguration.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString WorkFolder::userFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

bool WorkFolder::enter(const QString &folder, bool withDefaults, QString *error)
{
    const QString path = QFileInfo(folder).absoluteFilePath();
    if (!QDir().mkpath(path) || !QDir::setCurrent(path)) {
        *error = tr("Cannot work in the folder %1: it cannot be made or entered.").arg(path);
        return false;
    }
    const QString ini = DefaultConfiguration::fileName();
    if (withDefaults && !QFileInfo::exists(ini) && !DefaultConfiguration::write(ini)) {
        *error = tr("Cannot write %1 in the folder %2.").arg(ini, path);
        return false;
    }
    return true;
}
