#pragma once

#include <QWidget>

class authentication;
class QTimer;
struct PPS_DELAY;

namespace Ui {
class PPS_SYNC_command;
}

// Shows whether an external 1PPS reaches the instrument and how far its own
// second pulse is from it, and aligns the two on request. While the page is
// shown it asks for the offset every 10 s.
class PPS_SYNC_command : public QWidget
{
    Q_OBJECT

public:
    PPS_SYNC_command(const PPS_DELAY *pps, authentication *access, QWidget *parent = nullptr);
    ~PPS_SYNC_command() override;

    // The offset as shown: the device counts it modulo 100 000 000 ns, so a
    // delay past the half second is the pulse coming early.
    static qint64 offsetNs(quint32 delay);

    bool isRefreshing() const;

signals:
    void sendCommand(int code);

public slots:
    void MyShow();
    void currentOffset_1PPS_isReady();
    void pps_updateOffset();
    void translate();

private slots:
    void on_pps_sync_pBtn_clicked();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    Ui::PPS_SYNC_command *ui;
    const PPS_DELAY *m_pps;
    authentication *m_access;
    QTimer *m_refresh;
};
