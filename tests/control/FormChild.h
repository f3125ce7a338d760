#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

// A widget of a form found by its object name. A missing one stops the test
// program at once: the form and the test disagree.
template<typename T>
T *formChild(const QObject *form, const QString &name)
{
    T *widget = form->findChild<T *>(name);
    if (!widget)
        qFatal("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return widget;
}
