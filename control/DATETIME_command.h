#pragma once

#include "DateShift.h"

#include <QDateTime>
#include <QWidget>

#include <functional>

class authentication;
class QTimer;
struct DateTimeShiftInfo;

namespace Ui {
class DATETIME_command;
}

// Shows the computer's clock and the instrument's (the computer's plus the
// last measured shift) side by side, and sets the instrument's clock to an
// entered date or by a shift from the computer's clock.
class DATETIME_command : public QWidget
{
    Q_OBJECT

public:
    DATETIME_command(DateTimeShiftInfo *shift, authentication *access, QWidget *parent = nullptr);
    ~DATETIME_command() override;

    // Page opening: the shift entry back to 0 and both clocks refreshed.
    void openPage();
    void startClock();
    void stopClock();
    bool isClockRunning() const;

    // The source of the computer's local time; tests set their own.
    void setClock(std::function<QDateTime()> now);

signals:
    void sendCommand(int code);
    // Asks for the instrument's clock to be read again.
    void updateTimeDifference();

public slots:
    void setCurrentTime();
    void newTimeDifferenceIsReady();
    void translate();

private slots:
    void on_changeDateTime_pBtn_clicked();
    void on_dateTime_btnBox_accepted();
    void on_cancel_pBtn_clicked();
    void on_enter_date_rBtn_clicked(bool checked);
    void on_enter_shift_rBtn_clicked(bool checked);
    void on_updateCurDateTime_pBtn_clicked();

private:
    DateShift::Fields shiftFields() const;
    void setShiftFields(const DateShift::Fields &f);
    void setDateEntry(const QDateTime &t);
    QDateTime enteredDateTime() const;
    void showLastUpdate();

    Ui::DATETIME_command *ui;
    DateTimeShiftInfo *m_shift;
    authentication *m_access;
    QTimer *m_clock;
    std::function<QDateTime()> m_now;
};
