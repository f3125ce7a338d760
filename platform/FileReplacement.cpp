#include "FileReplacement.h"

#ifdef Q_OS_WIN
#include "windows/WindowsFileReplacement.h"
#endif

#include <QFile>

#include <cstdio>

bool FileReplacement::replace(const QString &replacement, const QString &target) const
{
    return std::rename(QFile::encodeName(replacement).constData(),
                       QFile::encodeName(target).constData())
           == 0;
}

std::unique_ptr<FileReplacement> FileReplacement::forThisSystem()
{
#ifdef Q_OS_WIN
    return std::make_unique<WindowsFileReplacement>();
#else
    return std::make_unique<FileReplacement>();
#endif
}
