#include "FieldCheck.h"

#include "dialogs/MessageBox.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

namespace FieldCheck {

bool parse(const QString &text, double *value)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);  // C locale whatever the interface language
    if (ok && value)
        *value = v;
    return ok;
}

QString incorrectValueText()
{
    return QCoreApplication::translate("FieldCheck", "Incorrect value!");
}

void check(const QLineEdit *field, QLabel *warning)
{
    if (parse(field->text(), nullptr))
        warning->clear();
    else if (!field->text().isEmpty())
        warning->setText(incorrectValueText());
}

QString number(double value, int digits)
{
    return QString::number(value, 'g', digits);
}

bool isSettable(double value, double largest)
{
    const double magnitude = qAbs(value);
    return value == 0.0 || (magnitude >= 1e-18 && magnitude <= largest);
}

void rangeMessage(QWidget *parent, const QString &text)
{
    MessageBox::warning(parent, text);
}

}  // namespace FieldCheck
