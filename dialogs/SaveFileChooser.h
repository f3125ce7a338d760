#pragma once

#include <QString>

class QWidget;

// The chooser of a file to save into. Tests answer it in advance with
// setNextAnswer(), so no chooser ever blocks a test run.
class SaveFileChooser
{
public:
    // The file chosen, or an empty text when the operator cancelled.
    // `filters` as for QFileDialog ("PNG image (*.png);;PDF document (*.pdf)").
    static QString choose(QWidget *parent, const QString &title, const QString &suggested, const QString &filters);

    // --- test hook ---
    // The next chooser is not shown and answers `path` at once (an empty text
    // stands for Cancel).
    static void setNextAnswer(const QString &path);
};
