#include "RemoteHistory.h"

#include "ServiceConnection.h"

#include "protocol/ServiceMessages.h"

RemoteHistory::RemoteHistory(ServiceConnection *connection, QObject *parent)
    : HistorySource(parent), m_connection(connection)
{
    connect(connection, &ServiceConnection::historyViewReceived, this,
            [this](int id, const HistoryView &view, TimeRange extent) {
                if (id != 0 && id == m_viewId) {
                    m_viewId = 0;
                    emit viewLoaded(id, view, extent);
                }
            });
    connect(connection, &ServiceConnection::stabilityReceived, this, [this](int id, const StabilityResult &result) {
        if (id != 0 && id == m_stabilityId) {
            m_stabilityId = 0;
            emit stabilityReady(id, result);
        }
    });
    connect(connection, &ServiceConnection::historyChunkReceived, this, &RemoteHistory::onChunk);
    connect(connection, &ServiceConnection::historyProgressReceived, this, [this](int id, int percent) {
        // An export's progress follows its pieces.
        if (mine(id) && id != m_export.id)
            emit progress(id, percent);
    });
    connect(connection, &ServiceConnection::historyUnavailableReceived, this, &RemoteHistory::onUnavailable);
    connect(connection, &ServiceConnection::stateChanged, this, [this](ServiceConnection::State state) {
        if (state != ServiceConnection::State::Attached)
            connectionLost();
    });
}

RemoteHistory::~RemoteHistory()
{
    stop();
}

bool RemoteHistory::ask(int id, const QByteArray &message)
{
    if (m_connection && m_connection->sendHistory(message))
        return true;
    // Told on the next turn, as an answer would be.
    QMetaObject::invokeMethod(
        this, [this, id] { onUnavailable(id, tr("No connection to the service")); }, Qt::QueuedConnection);
    return false;
}

void RemoteHistory::want(int id)
{
    if (id != 0)
        return;  // the request that follows tells the service
    for (int *pending : {&m_viewId, &m_stabilityId}) {
        if (*pending != 0 && m_connection)
            m_connection->sendHistory(ServiceMessages::cancelHistory(*pending));
        *pending = 0;
    }
}

void RemoteHistory::stop()
{
    want(0);
    if (m_export.id != 0) {
        m_export.file->cancelWriting();
        m_export = Export();
    }
}

void RemoteHistory::loadView(const ViewRequest &request)
{
    m_viewId = request.id;
    ask(request.id, ServiceMessages::viewHistory(request));
}

void RemoteHistory::computeStability(int id, const StabilityRequest &request, int generation)
{
    m_stabilityId = id;
    ask(id, ServiceMessages::computeStability(id, request, generation));
}

void RemoteHistory::startExport(int id, const QString &path)
{
    if (m_export.id != 0)
        m_export.file->cancelWriting();
    m_export.id = id;
    m_export.rows = 0;
    m_export.file = std::make_unique<QSaveFile>(path);
}

void RemoteHistory::exportSeries(int id, const StabilityResult &result, int generation, const QString &path)
{
    startExport(id, path);
    m_export.series = true;
    m_export.request = result.request;
    m_export.generation = generation;
    if (!m_export.file->open(QIODevice::WriteOnly))
        endExport(m_export.file->errorString());
    else
        askNext({0, 0});
}

void RemoteHistory::exportCsv(int id, TimeRange range, const QString &path)
{
    startExport(id, path);
    m_export.series = false;
    m_export.range = range;
    if (!m_export.file->open(QIODevice::WriteOnly))
        endExport(m_export.file->errorString());
    else
        askNext({range.fromMs, 0});
}

void RemoteHistory::askNext(ExportCursor from)
{
    const Export &e = m_export;
    ask(e.id, e.series ? ServiceMessages::exportSeries(e.id, e.request, e.generation, from)
                       : ServiceMessages::exportReadings(e.id, e.range, from));
}

void RemoteHistory::onChunk(int id, const ExportChunk &chunk)
{
    if (id == 0 || id != m_export.id)
        return;
    if (m_export.file->write(chunk.text) < 0) {
        endExport(m_export.file->errorString());
        return;
    }
    m_export.rows += chunk.rows;
    emit progress(id, chunk.percent);
    if (chunk.done)
        endExport(QString());
    else if (chunk.rows == 0)
        endExport(tr("the service sent a piece without readings"));  // it would never end
    else
        askNext(chunk.next);
}

void RemoteHistory::endExport(const QString &error)
{
    const int id = m_export.id;
    const qint64 rows = m_export.rows;
    QString why = error;
    if (why.isEmpty() && !m_export.file->commit())
        why = m_export.file->errorString();
    if (!why.isEmpty())
        m_export.file->cancelWriting();
    m_export = Export();
    emit exported(id, why.isEmpty() ? rows : 0, why);
}

void RemoteHistory::onUnavailable(int id, const QString &reason)
{
    if (!mine(id))
        return;
    if (id == m_export.id) {
        m_export.file->cancelWriting();
        m_export = Export();
    }
    if (id == m_viewId)
        m_viewId = 0;
    if (id == m_stabilityId)
        m_stabilityId = 0;
    emit unavailable(id, reason);
}

void RemoteHistory::connectionLost()
{
    for (int id : {m_viewId, m_stabilityId, m_export.id}) {
        if (id != 0)
            onUnavailable(id, tr("No connection to the service"));
    }
}
