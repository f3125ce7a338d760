#include "AutoConnectForm.h"

#include "ui_AutoConnectForm.h"

#include <QtGlobal>

AutoConnectForm::AutoConnectForm(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::AutoConnectForm>())
{
    ui->setupUi(this);
    setAnalyseAtStart(0);
}

AutoConnectForm::~AutoConnectForm() = default;

void AutoConnectForm::setAnalyseAtStart(int value)
{
    m_analyseAtStart = value != 0 ? 1 : 0;
    ui->checkBox->setChecked(m_analyseAtStart != 0);
}

int AutoConnectForm::analyseAtStart() const
{
    return m_analyseAtStart;
}

int AutoConnectForm::progressPercent(int total, int done)
{
    if (total <= 0)
        return 0;
    const int percent = static_cast<int>(static_cast<double>(done) / total * 100.0);
    return qBound(0, percent, 100);
}

void AutoConnectForm::upd_status(int total, int done)
{
    if (total <= 0) {
        close();
        return;
    }
    ui->progressBar->setValue(progressPercent(total, done));
}

// Stop does not close the form: the search ends only after the port being
// probed, and the operator closes the form when he has seen that.
void AutoConnectForm::on_pBtnStop_clicked()
{
    ui->pBtnClose->setEnabled(true);
    emit stopConnecting();
}

void AutoConnectForm::on_pBtnClose_clicked()
{
    close();
}

void AutoConnectForm::on_checkBox_clicked()
{
    m_analyseAtStart = ui->checkBox->isChecked() ? 1 : 0;
    emit autoStartKey(m_analyseAtStart);
}
