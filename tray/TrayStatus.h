#pragma once

#include "status/StatusTransitions.h"

#include <QColor>
#include <QCoreApplication>
#include <QObject>
#include <QString>

class QLineEdit;
class QSystemTrayIcon;
class QWidget;

// The program in the desktop's tray: an icon in the colour of the overall
// state with the state as its tooltip, and a notification when the
// instrument is lost or found again, synchronisation is lost or restored, a
// channel loses its signal or the reference changes. Where the desktop has
// no tray, nothing of this shows.
class TrayStatus : public QObject
{
    Q_OBJECT

public:
    // Null when the desktop has no tray.
    static TrayStatus *create(QWidget *window, bool notifications);

    // Mirrors the main window's overall state field: its text and base colour.
    void follow(QLineEdit *overallState);
    void showState(const QColor &colour, const QString &text);

    // The notification for one transition, in the current language.
    static QString message(const StatusTransition &t, const StatusSnapshot &before,
                           const StatusSnapshot &after);

public slots:
    // Notifies every transition between two published snapshots.
    void notify(const StatusSnapshot &before, const StatusSnapshot &after);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TrayStatus(QWidget *window, bool notifications);
    void refresh();

    QWidget *m_window;
    QSystemTrayIcon *m_icon;
    QLineEdit *m_overall = nullptr;
    bool m_notifications;
};
