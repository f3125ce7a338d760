#pragma once

#include <QDialog>

// Placeholder login dialog until the real one lands.
class authentication : public QDialog
{
    Q_OBJECT

public:
    explicit authentication(QWidget *parent = nullptr);
    int requestAccess();
};
