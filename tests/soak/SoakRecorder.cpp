#include "SoakRecorder.h"

#include "SoakEvent.h"

#include "control/Settings.h"
#include "core/LocalCore.h"
#include "link/COMThread.h"
#include "link/CommandParameters.h"
#include "link/Frame.h"
#include "mainwindow/MainWindow.h"

#include <QDateTime>
#include <QSaveFile>
#include <QTimer>

#include <initializer_list>

namespace {

// The single-precision bytes the link puts on the wire for `values`, in hex,
// as the simulator's trace shows a request's payload.
QString wireHex(std::initializer_list<double> values)
{
    QByteArray bytes;
    for (double v : values)
        Frame::appendF32(bytes, float(v));
    return QString::fromLatin1(bytes.toHex());
}

}  // namespace

SoakRecorder::SoakRecorder(MainWindow &window, const QString &eventsPath,
                           const QString &heartbeatPath, QObject *parent)
    : QObject(parent),
      m_window(window),
      m_events(eventsPath),
      m_heartbeatPath(heartbeatPath),
      m_heartbeat(new QTimer(this))
{
    m_events.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);

    // The window's core connected to the same signals first, so for every
    // message its slot has run (and the program log has its line) before
    // ours does.
    COMThread *link = qobject_cast<LocalCore *>(window.core())->link();
    connect(link, &COMThread::debugInfo, this,
            [this](const QString &text, const QString &colour) { note(QStringLiteral("debug"), {text, colour}); });
    connect(link, &COMThread::windowInfo, this,
            [this](const QString &text, const QString &colour) { note(QStringLiteral("window"), {text, colour}); });
    connect(link, &COMThread::connected, this, [this] { note(QStringLiteral("connected")); });
    connect(link, &COMThread::noConnection, this, [this] { note(QStringLiteral("noconnection")); });
    connect(link, &COMThread::setNumberOfJournalRec, this,
            [this](int n) { note(QStringLiteral("journalsize"), {QString::number(n)}); });
    connect(window.controlWindow(), &Settings::sendCommand, this, &SoakRecorder::commandQueued);

    connect(m_heartbeat, &QTimer::timeout, this, &SoakRecorder::beat);
    m_heartbeat->start(1000);
    beat();
}

void SoakRecorder::note(const QString &kind, const QStringList &fields)
{
    const SoakEvent event{QDateTime::currentMSecsSinceEpoch(), kind, fields};
    m_events.write(event.toLine().toUtf8() + '\n');
    m_events.flush();
}

void SoakRecorder::commandQueued(int code)
{
    // The core is handed a copy of the window's block with the code; reading
    // the block now gives exactly what goes out with this command.
    const CommandParameters &p = m_window.commandBlock();
    QStringList fields{QString::number(code)};
    switch (code) {
    case COMMAND_SET_FREQ_OFFSET:
        fields << wireHex({p.freq_newOffset});
        break;
    case COMMAND_SET_FREQ_DRIFT:
        fields << wireHex({p.drift_newOffset});
        break;
    case COMMAND_SET_FREQ_LIMIT:
        fields << wireHex({p.freq_diffLimit_newValue});
        break;
    case COMMAND_SET_AVE:
        fields << wireHex({p.ave_info.aveNew[0], p.ave_info.aveNew[1], p.ave_info.aveNew[2],
                           p.ave_info.aveNew[3]});
        break;
    case COMMAND_SET_AVE_ENABLED:
        fields << QString::number(p.ave_info.enabledNew);
        break;
    case COMMAND_SET_SYNC_STATUS:
        fields << QString::number(int(p.syncControl_info.SyncIsOn));
        break;
    case COMMAND_SET_MODE:
        fields << QString(QLatin1Char(p.syncControl_info.modeNew));
        break;
    case COMMAND_SMART_CONTROL:
        fields << wireHex({p.smartControl_info.freq_newValue})
               << QString::number(p.smartControl_info.numOfControls)
               << QString::number(p.smartControl_info.timeInterval);
        break;
    case COMMAND_GET_JOURNAL:
        fields << p.journalFolder;
        break;
    default:
        break;
    }
    note(QStringLiteral("send"), fields);
}

void SoakRecorder::beat()
{
    QSaveFile f(m_heartbeatPath);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(QByteArray::number(QDateTime::currentSecsSinceEpoch()) + '\n');
        f.commit();
    }
}
