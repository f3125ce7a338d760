#pragma once

#include "link/CommandParameters.h"

#include <QWidget>

class authentication;

// Placeholder page until the real tab lands.
class AVECONTROL_command : public QWidget
{
    Q_OBJECT

public:
    AVECONTROL_command(AveControlInfo *ave, authentication *access, QWidget *parent = nullptr);
    void openPage();

signals:
    void sendCommand(int code);

public slots:
    void update_AVE_curValues();
    void translate();
};
