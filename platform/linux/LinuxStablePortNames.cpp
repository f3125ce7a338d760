#include "LinuxStablePortNames.h"

#include "DevicePath.h"

#include <QDir>
#include <QFileInfo>

LinuxStablePortNames::LinuxStablePortNames(const QString &folder) : m_folder(folder)
{
}

QString LinuxStablePortNames::forPort(const QString &port) const
{
    const QString device = QFileInfo(devicePath(port)).canonicalFilePath();
    if (device.isEmpty())
        return QString();
    // Device files count as "system" entries; sorted, so the answer does not
    // depend on the order the folder happens to list them in.
    const QFileInfoList links = QDir(m_folder).entryInfoList(
        QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &link : links) {
        if (link.isSymLink() && link.canonicalFilePath() == device)
            return link.absoluteFilePath();
    }
    return QString();
}
