#pragma once

#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

// The checks every command tab shares: reading a number the operator typed,
// flagging a field that holds none, and showing numbers the same way.
namespace FieldCheck {

// Parses a number as typed; a decimal comma is taken as a point, since
// operators with a Russian keyboard layout type one. Blanks around it are
// ignored.
bool parse(const QString &text, double *value);

// Clears `warning` when the field holds a number, sets it to "Incorrect
// value!" when it holds other text, and leaves it alone when it is empty.
void check(const QLineEdit *field, QLabel *warning);

// QString::number(value, 'g', digits): the shortest of fixed and exponent
// notation.
QString number(double value, int digits = 6);

// An offset or trend the instrument can be set to: 0, or a magnitude from
// 1e-18 up to `largest`. Smaller magnitudes are below its resolution.
bool isSettable(double value, double largest);

// The modal range message box ("Monitor KSR-583").
void rangeMessage(QWidget *parent, const QString &text);

QString incorrectValueText();

}  // namespace FieldCheck
