#include "AttachedView.h"

#include "StatusPanel.h"
#include "core/MonitorCore.h"
#include "dialogs/AttachDialog.h"
#include "dialogs/authentication.h"

#include <QAction>
#include <QLineEdit>

AttachedView::AttachedView(MonitorCore &core, StatusFields &fields, StatusPanel &panel, QWidget *window)
    : m_core(core), m_fields(fields), m_panel(panel), m_window(window)
{
    if (!core.isRemote()) {
        for (QLineEdit *name : panel.nameFields())
            connect(name, &QLineEdit::editingFinished, this, [this] { emit channelNamesChanged(m_panel.names()); });
        return;
    }
    retranslate();
    connect(&core, &MonitorCore::serviceReachable, this, &AttachedView::showReachable);
    connect(&core, &MonitorCore::channelNamesChanged, this, [this](const QStringList &names) {
        m_panel.setNames(names);
        emit channelNamesChanged(names);
    });
}

void AttachedView::offerAttachWith(QAction *attach)
{
    connect(attach, &QAction::triggered, m_window, [this] { AttachDialog::openWindow(m_window); });
}

void AttachedView::askLoginsWith(authentication &dialog)
{
    // Attached, the service decides on every login: the dialog only asks.
    dialog.setCheckedByService(m_core.isRemote());
    m_core.setLoginPrompt([&dialog](bool again, QString *login, QString *password) {
        // A page that asked already (the qualification intervals) left its entry.
        if (again && dialog.takeEntry(login, password))
            return true;
        return dialog.requestAccess() != 0 && dialog.takeEntry(login, password);
    });
}

QString AttachedView::titleSuffix() const
{
    const QString service = m_core.serviceName();
    return service.isEmpty() ? QString() : QStringLiteral(" \u2013 ") + tr("service on %1").arg(service);
}

void AttachedView::retranslate()
{
    // Names typed here would be this window's alone, and lost when it closes.
    if (m_core.isRemote())
        m_panel.setNamesReadOnly(tr("Channel names are set on the service's computer."));
}

void AttachedView::showReachable(bool reachable)
{
    if (reachable)
        m_fields.serviceFound();
    else
        m_fields.serviceLost();
    // The title follows with the title item the core tells next.
    m_panel.paint(m_fields);
}
