#pragma once

#include "status/StatusDisplay.h"

#include <QPalette>

class QLabel;
class QLineEdit;

// The seven palettes of the status display: four field styles (coloured base,
// white text) for line edits and three text colours for labels.
class DisplayStyles
{
public:
    explicit DisplayStyles(const QPalette &base);

    void apply(QLineEdit *field, FieldStyle style) const;
    void apply(QLabel *label, TextStyle style) const;

    const QPalette &palette(FieldStyle style) const;
    const QPalette &palette(TextStyle style) const;

private:
    QPalette m_fields[4];
    QPalette m_texts[3];
};
