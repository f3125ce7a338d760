#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class MonitorCore;
class QAction;
class QWidget;
class StatusFields;
class StatusPanel;
class authentication;

// What a main window attached to a service shows and does unlike the
// one-process window: the service in its title (the window asks for it with
// every title it sets), the service's channel names in fields that cannot be
// edited here, the last state greyed while the service is gone, and logins
// the service decides on. Shown a core of this process, the channel names are
// the operator's to edit. Either window opens others attached to a service.
class AttachedView : public QObject
{
    Q_OBJECT

public:
    // `fields` and `panel` are the window's and outlive this view.
    AttachedView(MonitorCore &core, StatusFields &fields, StatusPanel &panel, QWidget *window);

    // "Attach to service…" opens another window, attached to the service named.
    void offerAttachWith(QAction *attach);
    // The core's commands ask `dialog` for the operator's login.
    void askLoginsWith(authentication &dialog);
    // " – service on labpc"; empty for the work in this process.
    QString titleSuffix() const;

public slots:
    // Its own texts in the language installed now.
    void retranslate();

signals:
    // The names to show and keep, for the core, the control and History
    // windows: as the operator edited them here, or the service's.
    void channelNamesChanged(const QStringList &names);

private:
    void showReachable(bool reachable);

    MonitorCore &m_core;
    StatusFields &m_fields;
    StatusPanel &m_panel;
    QWidget *m_window;
};
