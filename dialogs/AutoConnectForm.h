#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class AutoConnectForm;
}

// The progress window of the start-up port search. It shows how far the
// link has got, lets the operator stop the search and carries the start-up
// search flag.
class AutoConnectForm : public QWidget
{
    Q_OBJECT

public:
    explicit AutoConnectForm(QWidget *parent = nullptr);
    ~AutoConnectForm() override;

    // Non-zero checks the box.
    void setAnalyseAtStart(int value);
    int analyseAtStart() const;

    // The bar's value for `done` of `total` ports tried: whole per cent,
    // truncated, kept within 0..100.
    static int progressPercent(int total, int done);

signals:
    // The box was toggled; the new flag, 0 or 1.
    void autoStartKey(int analyseAtStart);
    void stopConnecting();

public slots:
    // (ports to try, ports tried so far); no ports to try closes the form.
    void upd_status(int total, int done);

private slots:
    void on_pBtnStop_clicked();
    void on_pBtnClose_clicked();
    void on_checkBox_clicked();

private:
    std::unique_ptr<Ui::AutoConnectForm> ui;
    int m_analyseAtStart = 0;
};
