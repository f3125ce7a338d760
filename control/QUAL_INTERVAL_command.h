#pragma once

#include "link/CommandParameters.h"

#include <QWidget>

class authentication;

// Placeholder page until the real tab lands.
class QUAL_INTERVAL_command : public QWidget
{
    Q_OBJECT

public:
    QUAL_INTERVAL_command(QualIntervalInfo *intervals, authentication *access, QWidget *parent = nullptr);


signals:
    void sendCommand(int code);

public slots:
    void translate();
};
