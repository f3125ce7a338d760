#pragma once

#include "link/CommandParameters.h"

#include <QWidget>

class authentication;

// Placeholder page until the real tab lands.
class DATETIME_command : public QWidget
{
    Q_OBJECT

public:
    DATETIME_command(DateTimeShiftInfo *shift, authentication *access, QWidget *parent = nullptr);
    void openPage();
    void startClock();
    void stopClock();
    bool isClockRunning() const;

signals:
    void updateTimeDifference();
    void sendCommand(int code);

public slots:
    void setCurrentTime();
    void newTimeDifferenceIsReady();
    void translate();

private:
    bool m_clockRunning = false;
};
