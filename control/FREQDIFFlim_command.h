#pragma once

#include "link/CommandParameters.h"

#include <QWidget>

class authentication;

// Placeholder page until the real tab lands.
class FREQDIFFlim_command : public QWidget
{
    Q_OBJECT

public:
    FREQDIFFlim_command(double *freq_diffLimit_newValue, const float *currentLimit, authentication *access, QWidget *parent = nullptr);


signals:
    void sendCommand(int code);

public slots:
    void updateCurrentLimit();
    void translate();
};
