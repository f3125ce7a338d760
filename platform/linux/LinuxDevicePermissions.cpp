#include "LinuxDevicePermissions.h"

#include "DevicePath.h"

#include <QFile>

#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

QString LinuxDevicePermissions::groupThatMayReadWrite(const QString &port) const
{
    struct stat info;
    if (::stat(QFile::encodeName(devicePath(port)).constData(), &info) != 0)
        return QString();
    if ((info.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP))
        return QString();

    // The reentrant lookup: the link asks from its own thread.
    std::vector<char> buffer(4096);
    struct group entry;
    struct group *found = nullptr;
    int error;
    while ((error = ::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found)) == ERANGE
           && buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    if (error == 0 && found && found->gr_name)
        return QString::fromLocal8Bit(found->gr_name);
    // A group without a name is still one the administrator can add a user to.
    return QString::number(info.st_gid);
}

bool LinuxDevicePermissions::mayReadWrite(const QString &port) const
{
    // The effective ids and groups, as open() itself will check them.
    return ::faccessat(AT_FDCWD, QFile::encodeName(devicePath(port)).constData(), R_OK | W_OK,
                       AT_EACCESS)
        == 0;
}
