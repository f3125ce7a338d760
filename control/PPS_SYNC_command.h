#pragma once

#include "link/CommandParameters.h"

#include <QWidget>

class authentication;

// Placeholder page until the real tab lands.
class PPS_SYNC_command : public QWidget
{
    Q_OBJECT

public:
    PPS_SYNC_command(const PPS_DELAY *pps, authentication *access, QWidget *parent = nullptr);


signals:
    void sendCommand(int code);

public slots:
    void MyShow();
    void currentOffset_1PPS_isReady();
    void pps_updateOffset();
    void translate();
};
