#pragma once

#include "link/PortInfo.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <memory>

class QStandardItemModel;

namespace Ui {
class ConnectDialog;
}

// The manual connection dialog: shows the ports the link found on its last
// scan and forwards the operator's choice to it. Opening ports is the link's
// work; this window only shows state and asks.
class ConnectDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ConnectDialog(QWidget *parent = nullptr);
    ~ConnectDialog() override;

    // Non-zero checks the box. The box's state is what the program stores as
    // its start-up search flag at exit.
    void setAnalyseAtStart(int value);
    int analyseAtStart() const;

signals:
    // A new scan of every port, then connection to the first instrument.
    void reconnect();
    // Connection to the port at this index of the last list, without a scan.
    void connectToSelPort(int index);

public slots:
    void on_updPorts(const QStringList &items, int index);
    // What is known of each port of the list that follows (or has just
    // come): shown beside each entry and in full for the chosen one.
    void setPortDetails(const QList<PortInfo> &ports);
    void translate();

private slots:
    void on_connectBtn_clicked();
    void on_upd_Btn_clicked();
    void on_closeBtn_clicked();
    void on_checkBox_clicked();

private:
    enum Column { ItemColumn, FailureColumn, DetailsColumn, ColumnCount };

    QStandardItemModel *portModel() const;
    void showDetails();
    void showCurrentDetails();

    std::unique_ptr<Ui::ConnectDialog> ui;
    int m_analyseAtStart = 0;
    QList<PortInfo> m_ports;
};
