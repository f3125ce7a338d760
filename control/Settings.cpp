#include "Settings.h"
#include "ui_Settings.h"

#include "AVECONTROL_command.h"
#include "DATETIME_command.h"
#include "FREQDIFFlim_command.h"
#include "JOURNAL_command.h"
#include "OFFSET_command.h"
#include "PPS_SYNC_command.h"
#include "QUAL_INTERVAL_command.h"
#include "SCONTROL_command.h"
#include "SYNCHR_command.h"
#include "link/CommandParameters.h"

#include <QIcon>
#include <QSettings>

namespace {

constexpr int kRowHeight = 40;

// An integer key of the configuration; a missing key or text that is no
// integer counts as 0.
int configurationInteger(const QString &key)
{
    QSettings ini(QStringLiteral("fconn583.ini"), QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");
    return ini.value(key, QStringLiteral("0")).toString().toInt();
}

}  // namespace

Settings::Settings(QWidget *parent) : QDialog(parent), ui(new Ui::Settings)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    const QSize initial = size();
    setMaximumSize(initial);
    setMinimumSize(initial.width() - 50, initial.height() - 30);
}

Settings::~Settings()
{
    deletePages();
    delete ui;
}

void Settings::init(authentication *access, CommandParameters *params)
{
    m_access = access;
    deletePages();
    createPages(params);
    connectPages();
    setWindowIcon(QIcon(QStringLiteral(":/icon2016_583.ico")));
    hideDisabledRows();
    for (int row = 0; row < RowCount; ++row)
        ui->menu_tabWidget->setRowHeight(row, kRowHeight);
}

void Settings::deletePages()
{
    for (int row = 0; row < RowCount; ++row)
        delete page(row);
    m_limit = nullptr;
    m_smooth = nullptr;
    m_mode = nullptr;
    m_offset = nullptr;
    m_pps = nullptr;
    m_dateTime = nullptr;
    m_journal = nullptr;
    m_ave = nullptr;
    m_qualification = nullptr;
}

void Settings::createPages(CommandParameters *params)
{
    QWidget *container = ui->widget;
    m_limit = new FREQDIFFlim_command(&params->freq_diffLimit_newValue, &params->currentLimit,
                                      m_access, container);
    m_smooth = new SCONTROL_command(&params->smartControl_info, &params->freq_newOffset, m_access,
                                    container);
    m_mode = new SYNCHR_command(&params->syncControl_info, m_access, container);
    m_offset = new OFFSET_command(&params->phaseControl_info, &params->freq_newOffset,
                                  &params->drift_newOffset, m_access, container);
    m_pps = new PPS_SYNC_command(&params->pps_info, m_access, container);
    m_dateTime = new DATETIME_command(&params->dateTime_info, m_access, container);
    m_journal = new JOURNAL_command(&params->journalFolder, m_access, container);
    m_ave = new AVECONTROL_command(&params->ave_info, m_access, container);
    m_qualification = new QUAL_INTERVAL_command(&params->qualInterval_info, m_access, container);
    for (int row = 0; row < RowCount; ++row)
        page(row)->hide();
}

// What every page shares: its commands go up, a language change comes down.
template<typename Page>
void Settings::relay(Page *page)
{
    connect(page, &Page::sendCommand, this, &Settings::sendCommand);
    connect(this, &Settings::translateWidgets, page, &Page::translate);
}

void Settings::connectPages()
{
    connect(this, &Settings::set_offsetControl_curValues, m_offset,
            &OFFSET_command::set_offsetControl_curValues);
    connect(this, &Settings::set_offsetControl_curValues, m_smooth,
            &SCONTROL_command::set_smartControl_curValues);
    connect(this, &Settings::set_channelStatus, m_mode, &SYNCHR_command::set_channelStatus);
    connect(this, &Settings::set_syncAndChanStatus, m_mode, &SYNCHR_command::set_syncAndChanStatus);
    connect(this, &Settings::set_channelNames, m_mode, &SYNCHR_command::set_channelNames);
    connect(this, &Settings::newTimeDifferenceIsReady, m_dateTime,
            &DATETIME_command::newTimeDifferenceIsReady);
    connect(this, &Settings::setNumberOfJournalRec, m_journal, &JOURNAL_command::setNumberOfJournalRec);
    connect(this, &Settings::setNumberOfReadyRec, m_journal, &JOURNAL_command::setNumberOfReadyRec);
    connect(this, &Settings::currentOffset_1PPS_isReady, m_pps,
            &PPS_SYNC_command::currentOffset_1PPS_isReady);
    connect(this, &Settings::loadHistory, m_journal, &JOURNAL_command::loadHistory);
    connect(this, &Settings::updateCurrentFreqLimit, m_limit, &FREQDIFFlim_command::updateCurrentLimit);
    connect(this, &Settings::smartControlIsFinished, m_smooth, &SCONTROL_command::smartControlIsFinished);

    relay(m_limit);
    relay(m_smooth);
    relay(m_mode);
    relay(m_offset);
    relay(m_pps);
    relay(m_dateTime);
    relay(m_journal);
    relay(m_ave);
    relay(m_qualification);

    connect(m_dateTime, &DATETIME_command::updateTimeDifference, this, &Settings::updateTimeDifference);
    connect(m_smooth, &SCONTROL_command::stopSmartControl, this, &Settings::stopSmartControl);
    // The offset page shows each value the smooth correction reaches.
    connect(m_smooth, &SCONTROL_command::set_newFreqOffsetCurValue, m_offset,
            &OFFSET_command::set_newFreqOffsetCurValue);
}

void Settings::hideDisabledRows()
{
    ui->menu_tabWidget->setRowHidden(RowQualification,
                                     configurationInteger(QStringLiteral("Settings/Qualification")) == 0);
    ui->menu_tabWidget->setRowHidden(RowAve, configurationInteger(QStringLiteral("Settings/AVE")) == 0);
}

QWidget *Settings::page(int row) const
{
    QWidget *pages[RowCount] = {m_mode, m_offset, m_smooth, m_limit, m_pps,
                                m_dateTime, m_qualification, m_journal, m_ave};
    return row >= 0 && row < RowCount ? pages[row] : nullptr;
}

void Settings::MyShow()
{
    if (!m_mode)
        return;  // not initialised: there is nothing to show
    if (pos() == QPoint(0, 0)) {
        // Never placed in this run: where it stood when the program last closed.
        move(configurationInteger(QStringLiteral("Windows_Position/Control_Window_x")),
             configurationInteger(QStringLiteral("Windows_Position/Control_Window_y")));
    }
    ui->menu_tabWidget->setCurrentCell(RowMode, 0);
    on_menu_tabWidget_cellClicked(RowMode, 0);
    m_ave->update_AVE_curValues();
    if (!m_dateTime->isClockRunning())
        m_dateTime->startClock();
    m_pps->pps_updateOffset();
    emit sendCommand(COMMAND_GET_FREQ_LIMIT);
    emit updateTimeDifference();
    show();
    activateWindow();
    raise();
}

void Settings::on_menu_tabWidget_cellClicked(int row, int)
{
    if (!page(row))
        return;
    // The row of the page already shown leaves it as it is: a refresh would
    // throw away what the operator has chosen and not sent yet.
    if (!page(row)->isVisible())
        preparePage(row);
    for (int other = 0; other < RowCount; ++other) {
        if (other != row)
            page(other)->hide();
    }
    page(row)->show();
}

void Settings::preparePage(int row)
{
    switch (row) {
    case RowMode:
        m_mode->openPage();
        break;
    case RowOffset:
        m_offset->openPage();
        break;
    case RowPps:
        m_pps->MyShow();
        break;
    case RowDateTime:
        m_dateTime->openPage();
        break;
    case RowJournal:
        m_journal->openPage();
        break;
    case RowAve:
        m_ave->openPage();
        break;
    default:
        break;
    }
}

void Settings::stopPages()
{
    if (!m_dateTime)
        return;
    m_dateTime->stopClock();
    m_ave->close();
    m_pps->close();
}

void Settings::reject()
{
    // Closing the window (title bar or Escape) ends up here.
    stopPages();
    QDialog::reject();
}

void Settings::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    // The container keeps its margins to the window's edges; the larger
    // pages follow it.
    const QPoint corner = ui->widget->pos();
    ui->widget->resize(width() - corner.x() - 7, height() - corner.y() - 10);
    const QSize pageSize(width() - corner.x() - 9, ui->widget->height());
    for (QWidget *resized : {static_cast<QWidget *>(m_mode), static_cast<QWidget *>(m_offset),
                             static_cast<QWidget *>(m_smooth)}) {
        if (resized)
            resized->resize(pageSize);
    }
}

void Settings::translate()
{
    ui->retranslateUi(this);
    emit translateWidgets();
    setWindowTitle(tr("Monitor KSR-583. Control"));
}
