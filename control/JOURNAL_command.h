#pragma once

#include "link/CommandParameters.h"

#include <QWidget>

class authentication;

// Placeholder page until the real tab lands.
class JOURNAL_command : public QWidget
{
    Q_OBJECT

public:
    JOURNAL_command(QString *journalFolder, authentication *access, QWidget *parent = nullptr);
    void openPage();

signals:
    void sendCommand(int code);

public slots:
    void setNumberOfJournalRec(int);
    void setNumberOfReadyRec(int);
    void loadHistory();
    void translate();
};
