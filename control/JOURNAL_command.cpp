#include "JOURNAL_command.h"
#include "ui_JOURNAL_command.h"

#include "dialogs/FolderChooser.h"
#include "dialogs/MessageBox.h"
#include "link/CommandParameters.h"

#include <QDebug>
#include <QDir>

JOURNAL_command::JOURNAL_command(QString *journalFolder, authentication *access, QWidget *parent)
    : QWidget(parent), ui(new Ui::JOURNAL_command), m_folder(journalFolder), m_access(access)
{
    ui->setupUi(this);
    ui->jour_location_lineEdit->setText(*m_folder);
    ui->jour_label->hide();
    ui->jour_progressBar->hide();
}

JOURNAL_command::~JOURNAL_command()
{
    delete ui;
}

void JOURNAL_command::openPage()
{
    ui->jour_label->hide();
}

bool JOURNAL_command::isDownloading() const
{
    return ui->jour_location_lineEdit->isReadOnly();
}

void JOURNAL_command::on_jour_browse_pBtn_clicked()
{
    const QString folder = FolderChooser::choose(this, tr("Open Directory"), QDir::currentPath());
    if (!folder.isEmpty())
        ui->jour_location_lineEdit->setText(folder);
}

void JOURNAL_command::on_jour_upload_pBtn_clicked()
{
    const QString text = ui->jour_location_lineEdit->text();
    if (text.isEmpty())
        return;
    const QString path = QDir(text).absolutePath();
    if (!QDir(path).exists()) {
        const auto answer = MessageBox::question(
            this,
            tr("The folder %1 does not exist. \nWould you like to create it?").arg(path),
            QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Yes);
        if (answer == QMessageBox::Yes)
            QDir().mkpath(path);
    }
    if (!QDir(path).exists())
        return;

    *m_folder = path;
    emit sendCommand(COMMAND_GET_JOURNAL);
    ui->jour_label->hide();
    ui->jour_progressBar->setValue(0);
    ui->jour_progressBar->show();
    setDownloading(true);
}

void JOURNAL_command::loadHistory()
{
    if (QDir(*m_folder).exists())
        emit sendCommand(COMMAND_GET_JOURNAL);
}

void JOURNAL_command::on_jour_clear_pBtn_clicked()
{
    emit sendCommand(COMMAND_CLEAR_JOURNAL);
    ui->jour_label->hide();
}

void JOURNAL_command::setNumberOfJournalRec(int number)
{
    qDebug() << "this is number of ALL rec = " << number;
    if (number > 0) {
        ui->jour_progressBar->setMaximum(number);
        ui->jour_progressBar->show();
        ui->jour_label->hide();
    } else if (number == 0) {
        showResult(Result::Empty);
    }
}

void JOURNAL_command::setNumberOfReadyRec(int number)
{
    // The link reports 0 only when the download failed; the bar's maximum is
    // never 0, so that report would otherwise leave the page unchanged.
    if (number < 1) {
        showResult(Result::Failed);
        return;
    }
    ui->jour_progressBar->setValue(number);
    if (number == ui->jour_progressBar->maximum())
        showResult(Result::Loaded);
}

void JOURNAL_command::showResult(Result result)
{
    m_result = result;
    showResultText();
    ui->jour_progressBar->hide();
    ui->jour_label->show();
    setDownloading(false);
}

void JOURNAL_command::showResultText()
{
    switch (m_result) {
    case Result::None:
        break;
    case Result::Empty:
        ui->jour_label->setText(tr("No records in the history"));
        ui->jour_label->setStyleSheet(QStringLiteral("QLabel{color:black;}"));
        break;
    case Result::Loaded:
        ui->jour_label->setText(tr("Successfully loaded!"));
        ui->jour_label->setStyleSheet(QStringLiteral("QLabel{color:green;}"));
        break;
    case Result::Failed:
        ui->jour_label->setText(tr("Loading failed!"));
        ui->jour_label->setStyleSheet(QStringLiteral("QLabel{color:red;}"));
        break;
    }
}

void JOURNAL_command::setDownloading(bool downloading)
{
    ui->jour_upload_pBtn->setEnabled(!downloading);
    ui->jour_browse_pBtn->setEnabled(!downloading);
    ui->jour_location_lineEdit->setReadOnly(downloading);
}

void JOURNAL_command::translate()
{
    ui->retranslateUi(this);
    showResultText();
}
