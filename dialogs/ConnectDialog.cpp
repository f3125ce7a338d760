#include "ConnectDialog.h"

#include "PortDetails.h"
#include "ui_ConnectDialog.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTreeView>

ConnectDialog::ConnectDialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::ConnectDialog>())
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setAnalyseAtStart(0);

    // The box shows the port's item; its open list shows, beside each
    // port, why it refused to open, and what the system knows of it with its
    // stable name below.
    portModel()->setColumnCount(ColumnCount);
    auto *list = new QTreeView(ui->comBox);
    list->setHeaderHidden(true);
    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui->comBox->setView(list);
    ui->portDetails->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    ui->portDetails->viewport()->setAutoFillBackground(false);
    connect(ui->comBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ConnectDialog::showCurrentDetails);
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
    showDetails();
}

void ConnectDialog::setPortDetails(const QList<PortInfo> &ports)
{
    m_ports = ports;
    showDetails();
}

QStandardItemModel *ConnectDialog::portModel() const
{
    return qobject_cast<QStandardItemModel *>(ui->comBox->model());
}

// Details that do not match the list entry for entry belong to another
// list: they wait for theirs.
void ConnectDialog::showDetails()
{
    QStandardItemModel *model = portModel();
    const bool matching = m_ports.size() == model->rowCount();
    for (int row = 0; row < model->rowCount(); ++row) {
        const PortInfo port = matching ? m_ports.at(row) : PortInfo();
        auto *failure = new QStandardItem(PortFailure::shortText(port.failure));
        failure->setForeground(Qt::red);
        model->setItem(row, FailureColumn, failure);
        QStringList known{PortDetails::summary(port), port.stableName};
        known.removeAll(QString());
        model->setItem(row, DetailsColumn, new QStandardItem(known.join(QLatin1Char('\n'))));
    }
    // The open list is as wide as its columns need, not as the box.
    QAbstractItemView *list = ui->comBox->view();
    int width = 0;
    for (int column = 0; column < ColumnCount; ++column)
        width += qMax(0, list->sizeHintForColumn(column));
    list->setMinimumWidth(width + list->frameWidth() * 2);
    showCurrentDetails();
}

void ConnectDialog::showCurrentDetails()
{
    const int index = ui->comBox->currentIndex();
    if (index < 0 || m_ports.size() != portModel()->rowCount())
        ui->portDetails->clear();
    else
        ui->portDetails->setHtml(PortDetails::html(m_ports.at(index)));
}

void ConnectDialog::translate()
{
    ui->retranslateUi(this);
    showDetails();
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
