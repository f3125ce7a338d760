#pragma once

#include "platform/FileReplacement.h"

// ReplaceFileW, which keeps the target's security and attributes, and
// MoveFileExW where there is no target yet. Both fail while another program
// has the target open without FILE_SHARE_DELETE (most readers: fopen, a text
// editor); such a reader holds it for the moment of one read, so a few short
// retries save the update instead of losing it.
class WindowsFileReplacement : public FileReplacement
{
public:
    bool replace(const QString &replacement, const QString &target) const override;
};
