#include "ServiceMessages.h"

#include "ParameterCodec.h"
#include "ProtocolMessage.h"
#include "RecordCodec.h"
#include "HistoryCodec.h"
#include "ViewCodec.h"

namespace {

const char *const kEvents[] = {"ave", "freqLimit", "timeDifference", "ppsDelay"};

QByteArray message(const char *type, const QJsonObject &fields = QJsonObject())
{
    return ProtocolMessage::encode(QLatin1String(type), fields);
}

}  // namespace

namespace ServiceMessages {

QString eventName(ResultsEvent e)
{
    return QLatin1String(kEvents[int(e)]);
}

bool eventFromName(const QString &name, ResultsEvent *out)
{
    for (int i = 0; i < 4; ++i) {
        if (name == QLatin1String(kEvents[i])) {
            *out = ResultsEvent(i);
            return true;
        }
    }
    return false;
}

QByteArray welcome(const QString &serviceName, const QString &program)
{
    return message("welcome", {{"version", Protocol::Version}, {"service", serviceName}, {"program", program}});
}

QByteArray snapshot(const ServiceSnapshot &s)
{
    return message("snapshot", {{"snapshot", ViewCodec::toJson(s)}});
}

QByteArray record(const PollReading &r)
{
    return message("record", RecordCodec::toJson(r));
}

QByteArray results(const LinkResults &r, ResultsEvent event)
{
    return message("results", {{"event", eventName(event)}, {"value", RecordCodec::toJson(r)}});
}

QByteArray line(const ServiceLine &l)
{
    return message("line", ViewCodec::toJson(l));
}

QByteArray link(const LinkView &s)
{
    return message("link", ViewCodec::toJson(s));
}

QByteArray title(const QString &item)
{
    return message("title", {{"item", item}});
}

QByteArray deviceInfo(const DeviceInfo &d)
{
    return message("deviceInfo", ViewCodec::toJson(d));
}

QByteArray progress(const WorkProgress &p)
{
    return message("progress", ViewCodec::toJson(p));
}

QByteArray counters(const LinkCounters &c)
{
    return message("counters", RecordCodec::toJson(c));
}

QByteArray channelNames(const QStringList &names)
{
    QJsonObject o;
    ViewCodec::putChannelNames(o, names);
    return message("channelNames", o);
}

QByteArray error(const QString &reason, const QString &text, qint64 id)
{
    QJsonObject o{{"reason", reason}, {"text", text}};
    if (id >= 0)
        o.insert(QStringLiteral("id"), double(id));
    return message("error", o);
}

QByteArray pong(qint64 id)
{
    return message("pong", {{"id", double(id)}});
}

QByteArray loginResult(const LoginReply &r)
{
    return message("loginResult", {{"outcome", r.outcome},
                                   {"account", r.account},
                                   {"level", r.level},
                                   {"rights", QJsonArray::fromStringList(r.rights)},
                                   {"attemptsLeft", r.attemptsLeft},
                                   {"maxAttempts", r.maxAttempts},
                                   {"waitSeconds", double(r.waitSeconds)}});
}

QByteArray commandResult(qint64 id, int code, const QString &outcome, const QString &reason)
{
    return message("commandResult",
                   {{"id", double(id)}, {"code", code}, {"outcome", outcome}, {"reason", reason}});
}

QByteArray hello(const QString &client)
{
    return message("hello", {{"version", Protocol::Version}, {"client", client}});
}

QByteArray login(const QString &login, const QString &password)
{
    return message("login", {{"login", login}, {"password", password}});
}

QByteArray logout()
{
    return message("logout");
}

QByteArray command(qint64 id, int code, const CommandParameters &params, const QString &login,
                   const QString &password)
{
    QJsonObject o{{"id", double(id)}, {"code", code}, {"params", ParameterCodec::requestToJson(code, params)}};
    if (!login.isEmpty()) {
        o.insert(QStringLiteral("login"), login);
        o.insert(QStringLiteral("password"), password);
    }
    return message("command", o);
}

QByteArray abortSteering(qint64 id)
{
    return message("abortSteering", {{"id", double(id)}});
}

QByteArray ping(qint64 id)
{
    return message("ping", {{"id", double(id)}});
}

QByteArray historyView(int id, const HistoryView &view, TimeRange extent)
{
    return message("historyView",
                   {{"id", id}, {"view", HistoryCodec::toJson(view)}, {"extent", HistoryCodec::toJson(extent)}});
}

QByteArray stability(int id, const StabilityResult &result)
{
    return message("stability", {{"id", id}, {"result", HistoryCodec::toJson(result)}});
}

QByteArray historyChunk(int id, const ExportChunk &chunk)
{
    return message("historyChunk", {{"id", id}, {"chunk", HistoryCodec::toJson(chunk)}});
}

QByteArray historyProgress(int id, int percent)
{
    return message("historyProgress", {{"id", id}, {"percent", percent}});
}

QByteArray historyUnavailable(int id, const QString &reason)
{
    return message("historyUnavailable", {{"id", id}, {"reason", reason}});
}

QByteArray viewHistory(const ViewRequest &request)
{
    return message("viewHistory", HistoryCodec::toJson(request));
}

QByteArray computeStability(int id, const StabilityRequest &request, int generation)
{
    return message("computeStability",
                   {{"id", id}, {"request", HistoryCodec::toJson(request)}, {"generation", generation}});
}

QByteArray exportReadings(int id, TimeRange range, ExportCursor from)
{
    return message("exportReadings", {{"id", id},
                                      {"range", HistoryCodec::toJson(range)},
                                      {"at", double(from.at)},
                                      {"skip", double(from.skip)}});
}

QByteArray exportSeries(int id, const StabilityRequest &request, int generation, ExportCursor from)
{
    return message("exportSeries", {{"id", id},
                                    {"request", HistoryCodec::toJson(request)},
                                    {"generation", generation},
                                    {"at", double(from.at)},
                                    {"skip", double(from.skip)}});
}

QByteArray cancelHistory(int id)
{
    return message("cancelHistory", {{"id", id}});
}

}  // namespace ServiceMessages
