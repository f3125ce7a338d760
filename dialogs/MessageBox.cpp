#include "MessageBox.h"

#include <QCoreApplication>
#include <QStringList>

namespace {
QMessageBox::StandardButton g_nextAnswer = QMessageBox::NoButton;
bool g_autoAnswer = false;
QStringList g_shown;
}  // namespace

QString MessageBox::title()
{
    return QCoreApplication::translate("MessageBox", "Monitor KSR-583");
}

void MessageBox::warning(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBox::information(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

QMessageBox::StandardButton MessageBox::question(QWidget *parent, const QString &text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    return show(parent, QMessageBox::Question, text, buttons, defaultButton);
}

QMessageBox::StandardButton MessageBox::show(QWidget *parent, QMessageBox::Icon icon,
                                             const QString &text,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton)
{
    g_shown.append(text);
    if (g_nextAnswer != QMessageBox::NoButton) {
        const QMessageBox::StandardButton answer = g_nextAnswer;
        g_nextAnswer = QMessageBox::NoButton;
        return answer;
    }
    if (g_autoAnswer)
        return defaultButton != QMessageBox::NoButton ? defaultButton : QMessageBox::Ok;

    QMessageBox box(icon, title(), text, buttons, parent);
    box.setDefaultButton(defaultButton);
    box.setWindowModality(Qt::ApplicationModal);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer)
{
    g_nextAnswer = answer;
}

void MessageBox::setAutoAnswer(bool on)
{
    g_autoAnswer = on;
}

QStringList MessageBox::shownTexts()
{
    return g_shown;
}

void MessageBox::clearShownTexts()
{
    g_shown.clear();
}
