#pragma once

#include <QString>

#include <memory>

// Puts a finished file in the place of another in one step, so that a reader
// finds the old file or the new one, never a part of either. This class
// itself renames as POSIX does, over the old file even while readers hold it
// open. On Windows an open file cannot be replaced unless its reader allowed
// it; that version retries briefly while a reader holds the file.
class FileReplacement
{
public:
    virtual ~FileReplacement() = default;

    // Moves `replacement` to `target`, replacing it. False when it could not;
    // `replacement` is then left where it was.
    virtual bool replace(const QString &replacement, const QString &target) const;

    static std::unique_ptr<FileReplacement> forThisSystem();
};
