#include "ClientHistory.h"

#include "protocol/HistoryCodec.h"
#include "protocol/ProtocolMessage.h"
#include "protocol/ServiceMessages.h"

#include <QSemaphore>
#include <QThread>

namespace {

// Analyses of all clients at once: each may hold a month of readings.
QSemaphore g_analysisSlots(2);
constexpr int kSlotWaitMs = 100;
constexpr int kMaxId = 0x7fffffff;

}  // namespace

ClientHistory::ClientHistory(const QString &databasePath, Sender send, QObject *parent)
    : QObject(parent), m_path(databasePath), m_send(std::move(send))
{
    m_views = new HistoryLoader(m_path);
    m_jobs = new HistoryLoader(m_path);
    for (HistoryLoader *loader : {m_views, m_jobs}) {
        connect(loader, &HistorySource::progress, this,
                [this](int id, int percent) { m_send(ServiceMessages::historyProgress(id, percent), false); });
        connect(loader, &HistorySource::unavailable, this,
                [this](int id, const QString &reason) { refuse(id, reason); });
    }
    connect(m_views, &HistorySource::viewLoaded, this, &ClientHistory::sendView);
    connect(m_jobs, &HistorySource::stabilityReady, this, [this](int id, const StabilityResult &result) {
        m_send(ServiceMessages::stability(id, result), true);
    });
    connect(m_jobs, &HistoryLoader::chunkReady, this, [this](int id, const ExportChunk &chunk) {
        m_send(ServiceMessages::historyChunk(id, chunk), true);
    });
    m_viewThread = start(m_views, QStringLiteral("client history views"));
    m_jobThread = start(m_jobs, QStringLiteral("client history jobs"));
}

ClientHistory::~ClientHistory()
{
    m_closing = true;
    for (HistoryLoader *loader : {m_views, m_jobs}) {
        loader->disconnect(this);
        loader->stop();
    }
    for (QThread *thread : {m_viewThread, m_jobThread}) {
        thread->quit();
        thread->wait();
    }
}

QThread *ClientHistory::start(HistoryLoader *loader, const QString &name)
{
    auto *thread = new QThread(this);
    thread->setObjectName(name);
    loader->moveToThread(thread);
    connect(thread, &QThread::finished, loader, &QObject::deleteLater);
    thread->start(QThread::LowPriority);
    return thread;
}

bool ClientHistory::handles(const QString &type)
{
    static const QStringList types{QStringLiteral("viewHistory"), QStringLiteral("computeStability"),
                                   QStringLiteral("exportReadings"), QStringLiteral("exportSeries"),
                                   QStringLiteral("cancelHistory")};
    return types.contains(type);
}

void ClientHistory::take(const ProtocolMessage &m)
{
    if (m.type == QLatin1String("viewHistory"))
        onView(m);
    else if (m.type == QLatin1String("computeStability"))
        onStability(m);
    else if (m.type == QLatin1String("exportReadings"))
        onReadings(m);
    else if (m.type == QLatin1String("exportSeries"))
        onSeries(m);
    else if (m.type == QLatin1String("cancelHistory"))
        onCancel(m);
}

bool ClientHistory::finished(JsonReader &r)
{
    if (r.finish())
        return true;
    m_send(ServiceMessages::error(QStringLiteral("malformed"), r.error()), false);
    return false;
}

void ClientHistory::refuse(int id, const QString &why)
{
    m_send(ServiceMessages::historyUnavailable(id, why), false);
}

void ClientHistory::sendView(int id, const HistoryView &view, TimeRange extent)
{
    QByteArray message = ServiceMessages::historyView(id, view, extent);
    // What a window would refuse is not sent at all.
    if (message.size() > Protocol::MaxServiceMessage)
        refuse(id, tr("this range holds too much to send; choose a shorter one"));
    else
        m_send(message, true);
}

void ClientHistory::onView(const ProtocolMessage &m)
{
    ViewRequest request;
    JsonReader r = m.reader();
    if (!HistoryCodec::fromJson(r, &request)) {
        finished(r);
        return;
    }
    m_viewId = request.id;
    m_views->want(request.id);
    HistoryLoader *loader = m_views;
    QMetaObject::invokeMethod(loader, [loader, request] { loader->loadView(request); }, Qt::QueuedConnection);
}

void ClientHistory::analyseWhenFree(int id, const std::function<void(HistoryLoader *)> &job)
{
    HistoryLoader *loader = m_jobs;
    QMetaObject::invokeMethod(
        loader,
        [this, loader, id, job] {
            // The window may move on meanwhile; then the slot is never taken.
            while (!g_analysisSlots.tryAcquire(1, kSlotWaitMs)) {
                if (m_closing || (id != 0 && m_stabilityId != id))
                    return;
            }
            job(loader);
            g_analysisSlots.release();
        },
        Qt::QueuedConnection);
}

void ClientHistory::onStability(const ProtocolMessage &m)
{
    JsonReader r = m.reader();
    int id = 0;
    int generation = 0;
    StabilityRequest request;
    r.integer("id", &id, 1, kMaxId);
    HistoryCodec::fromJson(r.object("request"), &request);
    r.integer("generation", &generation, 0, kMaxId);
    if (!finished(r))
        return;
    m_stabilityId = id;
    m_jobs->want(id);
    analyseWhenFree(id, [id, request, generation](HistoryLoader *loader) {
        loader->computeStability(id, request, generation);
    });
}

void ClientHistory::onReadings(const ProtocolMessage &m)
{
    JsonReader r = m.reader();
    int id = 0;
    TimeRange range;
    ExportCursor from;
    r.integer("id", &id, 1, kMaxId);
    HistoryCodec::fromJson(r.object("range"), &range);
    r.integer("at", &from.at, range.fromMs, qMax(range.fromMs, range.toMs));
    r.integer("skip", &from.skip, 0, (qint64(1) << 53) - 1);
    if (!finished(r))
        return;
    HistoryLoader *loader = m_jobs;
    QMetaObject::invokeMethod(
        loader, [loader, id, range, from] { loader->readingsChunk(id, range, from, HistoryCodec::MaxChunkBytes); },
        Qt::QueuedConnection);
}

void ClientHistory::onSeries(const ProtocolMessage &m)
{
    JsonReader r = m.reader();
    int id = 0;
    int generation = 0;
    StabilityRequest request;
    ExportCursor from;
    r.integer("id", &id, 1, kMaxId);
    HistoryCodec::fromJson(r.object("request"), &request);
    r.integer("generation", &generation, 0, kMaxId);
    r.integer("at", &from.at, 0, (qint64(1) << 31) - 1);
    r.integer("skip", &from.skip, 0, (qint64(1) << 31) - 1);
    if (!finished(r))
        return;
    // Usually the analysis just shown, kept; analysed again otherwise.
    analyseWhenFree(0, [id, request, generation, from](HistoryLoader *loader) {
        loader->seriesChunk(id, request, generation, from, HistoryCodec::MaxChunkBytes);
    });
}

void ClientHistory::onCancel(const ProtocolMessage &m)
{
    JsonReader r = m.reader();
    int id = 0;
    r.integer("id", &id, 1, kMaxId);
    if (!finished(r))
        return;
    if (id == m_viewId) {
        m_viewId = 0;
        m_views->want(0);
    }
    if (id == m_stabilityId) {
        m_stabilityId = 0;
        m_jobs->want(0);
    }
}
