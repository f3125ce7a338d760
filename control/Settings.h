#pragma once

#include <QDialog>
#include <QStringList>

class AVECONTROL_command;
class DATETIME_command;
class FREQDIFFlim_command;
class JOURNAL_command;
class OFFSET_command;
class PPS_SYNC_command;
class QUAL_INTERVAL_command;
class SCONTROL_command;
class SYNCHR_command;
class authentication;
struct CommandParameters;

namespace Ui {
class Settings;
}

// The control window: a menu of nine command pages. It owns the pages,
// passes their command codes up and the device's state down; it never
// interprets a command itself.
class Settings : public QDialog
{
    Q_OBJECT

public:
    explicit Settings(QWidget *parent = nullptr);
    ~Settings() override;

    // Creates the nine pages, each working on its part of `params`.
    void init(authentication *access, CommandParameters *params);

signals:
    // down to the pages
    void set_offsetControl_curValues(float offset, float drift);
    void set_channelStatus();
    void set_syncAndChanStatus();
    void set_channelNames(const QStringList &names);
    void newTimeDifferenceIsReady();
    void setNumberOfJournalRec(int number);
    void setNumberOfReadyRec(int number);
    void currentOffset_1PPS_isReady();
    void loadHistory();
    void translateWidgets();
    void updateCurrentFreqLimit();
    void smartControlIsFinished();
    // up from the pages
    void sendCommand(int code);
    void updateTimeDifference();
    void stopSmartControl();

public slots:
    void MyShow();
    void translate();
    void on_menu_tabWidget_cellClicked(int row, int column);
    void reject() override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    enum Row {
        RowMode,
        RowOffset,
        RowSmooth,
        RowLimit,
        RowPps,
        RowDateTime,
        RowQualification,
        RowJournal,
        RowAve,
        RowCount
    };

    void deletePages();
    void createPages(CommandParameters *params);
    void connectPages();
    template<typename Page>
    void relay(Page *page);
    void hideDisabledRows();
    QWidget *page(int row) const;
    void stopPages();
    // What selecting a row does before its page is shown.
    void preparePage(int row);

    Ui::Settings *ui;
    authentication *m_access = nullptr;

    FREQDIFFlim_command *m_limit = nullptr;
    SCONTROL_command *m_smooth = nullptr;
    SYNCHR_command *m_mode = nullptr;
    OFFSET_command *m_offset = nullptr;
    PPS_SYNC_command *m_pps = nullptr;
    DATETIME_command *m_dateTime = nullptr;
    JOURNAL_command *m_journal = nullptr;
    AVECONTROL_command *m_ave = nullptr;
    QUAL_INTERVAL_command *m_qualification = nullptr;
};
