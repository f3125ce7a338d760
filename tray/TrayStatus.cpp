#include "TrayStatus.h"

#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QWidget>

namespace {

// "2 (Rb AHM#1)"; just "2" when the channel has no name of its own.
QString channelText(const StatusSnapshot &s, int channel)
{
    const QString number = QString::number(channel);
    const QString name = s.channelName(channel);
    if (name.isEmpty() || name == QLatin1String("Channel ") + number)
        return number;
    return QStringLiteral("%1 (%2)").arg(number, name);
}

QIcon dot(const QColor &colour)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(150), 2));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(3, 3, 26, 26));
    return QIcon(pixmap);
}

}  // namespace

TrayStatus *TrayStatus::create(QWidget *window, bool notifications)
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return nullptr;
    return new TrayStatus(window, notifications);
}

TrayStatus::TrayStatus(QWidget *window, bool notifications)
    : QObject(window), m_window(window), m_icon(new QSystemTrayIcon(this)), m_notifications(notifications)
{
    m_icon->setObjectName(QStringLiteral("trayIcon"));
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
            m_window->showNormal();
            m_window->raise();
            m_window->activateWindow();
        }
    });
    showState(Qt::gray, QString());
    m_icon->show();
}

void TrayStatus::follow(QLineEdit *overallState)
{
    m_overall = overallState;
    // The window sets the text and then the colour: both are watched.
    connect(overallState, &QLineEdit::textChanged, this, &TrayStatus::refresh);
    overallState->installEventFilter(this);
    refresh();
}

bool TrayStatus::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_overall && event->type() == QEvent::PaletteChange)
        refresh();
    return QObject::eventFilter(watched, event);
}

void TrayStatus::refresh()
{
    if (m_overall)
        showState(m_overall->palette().color(QPalette::Base), m_overall->text());
}

void TrayStatus::showState(const QColor &colour, const QString &text)
{
    m_icon->setIcon(dot(colour));
    m_icon->setToolTip(text.isEmpty() ? tr("Monitor KSR-583") : text);
}

QString TrayStatus::message(const StatusTransition &t, const StatusSnapshot &before,
                            const StatusSnapshot &after)
{
    switch (t.kind) {
    case StatusTransition::InstrumentLost:
        return tr("The instrument does not answer");
    case StatusTransition::InstrumentFound:
        return tr("The instrument answers again");
    case StatusTransition::SynchronisationLost:
        return tr("Synchronization is lost");
    case StatusTransition::SynchronisationRestored:
        return tr("Synchronization is restored");
    case StatusTransition::SignalLost:
        return tr("Channel %1 has lost its signal").arg(channelText(after, t.channel));
    case StatusTransition::ReferenceChanged:
        return tr("The reference is now channel %1, was channel %2")
            .arg(channelText(after, t.channel), channelText(before, t.previousChannel));
    }
    return QString();
}

void TrayStatus::notify(const StatusSnapshot &before, const StatusSnapshot &after)
{
    if (!m_notifications)
        return;
    const QVector<StatusTransition> transitions = StatusTransitions::between(before, after);
    if (transitions.isEmpty())
        return;
    QStringList lines;
    for (const StatusTransition &t : transitions)
        lines << message(t, before, after);
    const bool bad = transitions.first().kind != StatusTransition::InstrumentFound
        && transitions.first().kind != StatusTransition::SynchronisationRestored;
    m_icon->showMessage(tr("Monitor KSR-583"), lines.join(QLatin1Char('\n')),
                        bad ? QSystemTrayIcon::Warning : QSystemTrayIcon::Information);
}
