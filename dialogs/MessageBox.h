#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Modal message boxes titled "Monitor KSR-583". Tests answer them in advance
// with setNextAnswer(), so no box ever blocks a test run.
class MessageBox
{
public:
    // A box with an OK button.
    static void warning(QWidget *parent, const QString &text);
    static void information(QWidget *parent, const QString &text);
    // A box with the given buttons; returns the one pressed.
    static QMessageBox::StandardButton question(QWidget *parent, const QString &text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton);

    // --- test hooks ---
    // The next box is not shown and answers `answer` at once.
    static void setNextAnswer(QMessageBox::StandardButton answer);
    // Every box answers at once with its default button (or OK) while set.
    static void setAutoAnswer(bool on);
    // The texts of the boxes shown or answered since the last clear.
    static QStringList shownTexts();
    static void clearShownTexts();

    static QString title();

private:
    static QMessageBox::StandardButton show(QWidget *parent, QMessageBox::Icon icon,
                                            const QString &text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton);
};
