#pragma once

#include <QString>

class QWidget;

// The directory chooser. Tests answer it in advance with setNextAnswer(), so
// no chooser ever blocks a test run.
class FolderChooser
{
public:
    // The folder chosen, or an empty text when the operator cancelled.
    // Shows directories only and leaves symbolic links unresolved.
    static QString choose(QWidget *parent, const QString &title, const QString &startFolder);

    // --- test hook ---
    // The next chooser is not shown and answers `folder` at once (an empty
    // text stands for Cancel).
    static void setNextAnswer(const QString &folder);
};
