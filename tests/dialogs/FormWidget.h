#pragma once

#include <QObject>
#include <QtGlobal>

// The form's widget of that object name; a missing one ends the test run,
// since every later check would be about nothing.
template<typename T> T *formWidget(const QObject *window, const char *name)
{
    T *widget = window->findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no widget named %s", name);
    return widget;
}
