#include "ConnectDialog.h"

#include "ui_ConnectDialog.h"

ConnectDialog::ConnectDialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::ConnectDialog>())
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setAnalyseAtStart(0);
}

ConnectDialog::~ConnectDialog() = default;

void ConnectDialog::setAnalyseAtStart(int value)
{
    m_analyseAtStart = value != 0 ? 1 : 0;
    ui->checkBox->setChecked(m_analyseAtStart != 0);
}

int ConnectDialog::analyseAtStart() const
{
    return m_analyseAtStart;
}

// Every list is applied, shown or not, so the dialog is current when opened.
// An index outside the list leaves no entry selected, and Apply then does
// nothing.
void ConnectDialog::on_updPorts(const QStringList &items, int index)
{
    ui->comBox->clear();
    ui->comBox->addItems(items);
    ui->comBox->setCurrentIndex(index);
    ui->comBox->setEnabled(true);
    ui->upd_Btn->setEnabled(true);
    ui->connectBtn->setEnabled(true);
}

void ConnectDialog::translate()
{
    ui->retranslateUi(this);
}

// The buttons stay disabled until the link answers with its next list, so
// a second request cannot overtake the first.
void ConnectDialog::on_connectBtn_clicked()
{
    const int index = ui->comBox->currentIndex();
    if (index < 0)
        return;
    ui->upd_Btn->setEnabled(false);
    ui->connectBtn->setEnabled(false);
    emit connectToSelPort(index);
}

void ConnectDialog::on_upd_Btn_clicked()
{
    ui->comBox->setEnabled(false);
    ui->upd_Btn->setEnabled(false);
    ui->connectBtn->setEnabled(false);
    emit reconnect();
}

void ConnectDialog::on_closeBtn_clicked()
{
    close();
}

void ConnectDialog::on_checkBox_clicked()
{
    m_analyseAtStart = ui->checkBox->isChecked() ? 1 : 0;
}
