#pragma once

#include <QWidget>

class authentication;

namespace Ui {
class JOURNAL_command;
}

// Downloads the instrument's event journal into a chosen folder, showing the
// progress, and clears the journal in the instrument.
class JOURNAL_command : public QWidget
{
    Q_OBJECT

public:
    JOURNAL_command(QString *journalFolder, authentication *access, QWidget *parent = nullptr);
    ~JOURNAL_command() override;

    // Page opening: the last result is no longer shown.
    void openPage();

    bool isDownloading() const;

signals:
    void sendCommand(int code);

public slots:
    // The link reports how many records the journal holds (0 also after a
    // failure) and how many it has downloaded so far (0 after a failure).
    void setNumberOfJournalRec(int number);
    void setNumberOfReadyRec(int number);
    // The daily download, without the operator.
    void loadHistory();
    void translate();

private slots:
    void on_jour_browse_pBtn_clicked();
    void on_jour_upload_pBtn_clicked();
    void on_jour_clear_pBtn_clicked();

private:
    enum class Result { None, Empty, Loaded, Failed };

    void setDownloading(bool downloading);
    void showResult(Result result);
    void showResultText();

    Ui::JOURNAL_command *ui;
    QString *m_folder;
    authentication *m_access;
    Result m_result = Result::None;
};
