#include "WindowsFileReplacement.h"

#include <QDir>
#include <QThread>

#include <windows.h>

namespace {

constexpr int Attempts = 10;
constexpr unsigned long RetryPauseMs = 50;

const wchar_t *wide(const QString &path)
{
    return reinterpret_cast<const wchar_t *>(path.utf16());
}

// The errors of a file that someone else has open at this moment.
bool heldByAReader(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED
           || error == ERROR_LOCK_VIOLATION || error == ERROR_UNABLE_TO_REMOVE_REPLACED
           || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
}

}  // namespace

bool WindowsFileReplacement::replace(const QString &replacement, const QString &target) const
{
    const QString from = QDir::toNativeSeparators(replacement);
    const QString to = QDir::toNativeSeparators(target);
    for (int attempt = 1;; ++attempt) {
        const bool done = ::GetFileAttributesW(wide(to)) == INVALID_FILE_ATTRIBUTES
            ? ::MoveFileExW(wide(from), wide(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
            : ::ReplaceFileW(wide(to), wide(from), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                             nullptr);
        if (done)
            return true;
        if (attempt == Attempts || !heldByAReader(::GetLastError()))
            return false;
        QThread::msleep(RetryPauseMs);
    }
}
