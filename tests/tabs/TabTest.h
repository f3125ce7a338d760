#pragma once

// What the tests of the command tabs share: the codes a tab has raised, and
// driving its fields and buttons as an operator would.

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace TabTest {

inline QList<int> codes(const QSignalSpy &spy)
{
    QList<int> result;
    for (const QList<QVariant> &call : spy)
        result << call.at(0).toInt();
    return result;
}

template <typename T>
T *child(const QWidget *tab, const char *name)
{
    T *w = tab->findChild<T *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no widget %s", name);
    return w;
}

// Replaces the field's text by typing, then leaves it.
inline void type(QWidget *tab, const char *field, const QString &text)
{
    auto *edit = child<QLineEdit>(tab, field);
    edit->clear();
    QTest::keyClicks(edit, text);
    emit edit->editingFinished();
}

// Near the left edge: a check box takes clicks only on its box and text.
inline void click(QWidget *tab, const char *button)
{
    auto *b = child<QAbstractButton>(tab, button);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(qMin(8, b->width() / 2), b->height() / 2));
}

inline void clickOk(QWidget *tab, const char *buttonBox)
{
    QTest::mouseClick(child<QDialogButtonBox>(tab, buttonBox)->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
}

}  // namespace TabTest
