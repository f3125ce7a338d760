#pragma once

#include "history/HistoryLoader.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>

class JsonReader;
class ProtocolMessage;
class QThread;

// One attached window's History requests on the service. It reads the
// history file as the window would, with two readers of its own on threads
// of their own (the plots; the stability and the exports), so a long
// analysis neither holds up a view nor the server's thread. Answers go out
// through `send`. At most two clients analyse at once, so a crowd of windows
// cannot take the memory the service polls with.
class ClientHistory : public QObject
{
    Q_OBJECT

public:
    // `large`: an answer that may be megabytes (the view, the stability).
    using Sender = std::function<void(const QByteArray &message, bool large)>;

    ClientHistory(const QString &databasePath, Sender send, QObject *parent = nullptr);
    ~ClientHistory() override;

    static bool handles(const QString &type);
    // One message that handles() its type.
    void take(const ProtocolMessage &m);

private:
    void onView(const ProtocolMessage &m);
    void onStability(const ProtocolMessage &m);
    void onReadings(const ProtocolMessage &m);
    void onSeries(const ProtocolMessage &m);
    void onCancel(const ProtocolMessage &m);
    void refuse(int id, const QString &why);
    // True when the request was read whole; otherwise the client is told why.
    bool finished(JsonReader &r);
    // Runs `job` on the jobs' reader once an analysis slot is free, unless
    // the stability `id` (0: an export) is given up meanwhile.
    void analyseWhenFree(int id, const std::function<void(HistoryLoader *)> &job);
    void sendView(int id, const HistoryView &view, TimeRange extent);
    QThread *start(HistoryLoader *loader, const QString &name);

    QString m_path;
    Sender m_send;
    HistoryLoader *m_views = nullptr;
    HistoryLoader *m_jobs = nullptr;
    QThread *m_viewThread = nullptr;
    QThread *m_jobThread = nullptr;
    int m_viewId = 0;
    std::atomic<int> m_stabilityId{0};
    std::atomic<bool> m_closing{false};
};
