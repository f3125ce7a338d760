#pragma once

#include "ViewValues.h"

#include "history/HistoryLoader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Builders of every message of the service protocol, both ways, each as the
// bytes of one compact JSON object (docs/protocol.md lists their fields).
namespace ServiceMessages {

// Which signal of the link refreshed the results.
enum class ResultsEvent { Ave, FreqLimit, TimeDifference, PpsDelay };
QString eventName(ResultsEvent e);
bool eventFromName(const QString &name, ResultsEvent *out);

// --- service to window ---
QByteArray welcome(const QString &serviceName, const QString &program);
QByteArray snapshot(const ServiceSnapshot &s);
QByteArray record(const PollReading &r);
QByteArray results(const LinkResults &r, ResultsEvent event);
QByteArray line(const ServiceLine &l);
QByteArray link(const LinkView &s);
QByteArray title(const QString &item);
QByteArray deviceInfo(const DeviceInfo &d);
QByteArray progress(const WorkProgress &p);
QByteArray counters(const LinkCounters &c);
QByteArray channelNames(const QStringList &names);
QByteArray error(const QString &reason, const QString &text, qint64 id = -1);
QByteArray pong(qint64 id);

struct LoginReply {
    QString outcome;  // "granted", "refused", "lockedOut", "ignored", "loggedOut"
    QString account;
    int level = 0;
    QStringList rights;
    int attemptsLeft = 0;
    int maxAttempts = 0;
    qint64 waitSeconds = 0;
};
QByteArray loginResult(const LoginReply &r);

// The History window's answers, each naming its request's id.
QByteArray historyView(int id, const HistoryView &view, TimeRange extent);
QByteArray stability(int id, const StabilityResult &result);
QByteArray historyChunk(int id, const ExportChunk &chunk);
QByteArray historyProgress(int id, int percent);
QByteArray historyUnavailable(int id, const QString &reason);

// `code` -1 for abortSteering; `outcome` "queued", "refused", "done", "failed".
QByteArray commandResult(qint64 id, int code, const QString &outcome, const QString &reason = QString());

// --- window to service ---
QByteArray hello(const QString &client);
QByteArray login(const QString &login, const QString &password);
QByteArray logout();
// The fields `code` reads from `params`; a login and password go with the
// commands that ask for them again.
QByteArray command(qint64 id, int code, const CommandParameters &params, const QString &login = QString(),
                   const QString &password = QString());
QByteArray abortSteering(qint64 id);
QByteArray ping(qint64 id);
QByteArray viewHistory(const ViewRequest &request);
QByteArray computeStability(int id, const StabilityRequest &request, int generation);
QByteArray exportReadings(int id, TimeRange range, ExportCursor from);
QByteArray exportSeries(int id, const StabilityRequest &request, int generation, ExportCursor from);
// The window no longer wants request `id`.
QByteArray cancelHistory(int id);

}  // namespace ServiceMessages
