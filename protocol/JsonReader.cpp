#include "JsonReader.h"

JsonReader::JsonReader(const QJsonObject &object, const QString &path)
    : JsonReader(object, path, std::make_shared<QString>())
{
}

JsonReader::JsonReader(const QJsonObject &object, const QString &path, std::shared_ptr<QString> error)
    : m_object(object), m_path(path), m_error(std::move(error))
{
}

bool JsonReader::fail(const QString &what)
{
    if (m_error->isEmpty())
        *m_error = m_path.isEmpty() ? what : m_path + QStringLiteral(": ") + what;
    return false;
}

bool JsonReader::fail(const char *key, const QString &what)
{
    if (m_error->isEmpty()) {
        const QString field = m_path.isEmpty() ? QLatin1String(key) : m_path + QLatin1Char('.') + QLatin1String(key);
        *m_error = field + QStringLiteral(": ") + what;
    }
    return false;
}

QJsonValue JsonReader::value(const char *key)
{
    const QString k = QLatin1String(key);
    m_read.insert(k);
    return m_object.value(k);
}

bool JsonReader::readInteger(const QJsonValue &v, qint64 lowest, qint64 highest, qint64 *out)
{
    return JsonNumber::toInteger(v, lowest, highest, out);
}

QString JsonReader::rangeText(qint64 lowest, qint64 highest)
{
    return tr("not a whole number from %1 to %2").arg(lowest).arg(highest);
}

bool JsonReader::integer(const char *key, quint64 *out)
{
    quint64 v = 0;
    if (!ok() || !JsonNumber::toUInt64(value(key), &v))
        return fail(key, tr("not a whole number from 0 to 18446744073709551615"));
    store(out, v);
    return true;
}

bool JsonReader::number(const char *key, float *out)
{
    float v = 0;
    if (!ok() || !JsonNumber::toFloat(value(key), &v))
        return fail(key, tr("not a single-precision number"));
    store(out, v);
    return true;
}

bool JsonReader::number(const char *key, double *out)
{
    double v = 0;
    if (!ok() || !JsonNumber::toDouble(value(key), &v))
        return fail(key, tr("not a number"));
    store(out, v);
    return true;
}

bool JsonReader::boolean(const char *key, bool *out)
{
    const QJsonValue v = value(key);
    if (!ok() || !v.isBool())
        return fail(key, tr("not true or false"));
    store(out, v.toBool());
    return true;
}

QString JsonReader::textFault(const QJsonValue &v, int maxLength, bool lines)
{
    if (!v.isString())
        return tr("not a text");
    const QString t = v.toString();
    if (t.size() > maxLength)
        return tr("longer than %1 characters").arg(maxLength);
    for (QChar c : t) {
        const bool allowed = c == QLatin1Char('\t') || (lines && c == QLatin1Char('\n'));
        if ((c.unicode() < 0x20 || c.unicode() == 0x7f) && !allowed)
            return tr("holds a control character");
    }
    return QString();
}

bool JsonReader::text(const char *key, int maxLength, QString *out, bool lines)
{
    const QJsonValue v = value(key);
    if (!ok())
        return false;
    const QString fault = textFault(v, maxLength, lines);
    if (!fault.isEmpty())
        return fail(key, fault);
    *out = v.toString();
    return true;
}

bool JsonReader::texts(const char *key, int count, int maxLength, QStringList *out)
{
    const QJsonArray a = arrayOf(key, count, count);
    QStringList read;
    for (int i = 0; ok() && i < a.size(); ++i) {
        const QString fault = textFault(a[i], maxLength, false);
        if (!fault.isEmpty())
            return fail(key, tr("element %1: %2").arg(i).arg(fault));
        read << a[i].toString();
    }
    if (ok())
        *out = read;
    return ok();
}

bool JsonReader::dateTime(const char *key, Qt::TimeSpec zone, QDateTime *out)
{
    const QJsonValue v = value(key);
    if (!ok())
        return false;
    if (v.isNull()) {
        *out = QDateTime();
        return true;
    }
    const QString t = v.toString();
    // Exactly the form the encoder writes: 2026-01-07T15:45:00.000Z
    const QDateTime d = QDateTime::fromString(t, Qt::ISODateWithMs);
    if (t.size() != 24 || !t.endsWith(QLatin1Char('Z')) || !d.isValid())
        return fail(key, tr("not a UTC time such as 2026-01-07T15:45:00.000Z"));
    *out = zone == Qt::UTC ? d.toUTC() : d.toLocalTime();
    return true;
}

QJsonArray JsonReader::arrayOf(const char *key, int lowest, int highest)
{
    const QJsonValue v = value(key);
    if (!ok())
        return {};
    if (!v.isArray()) {
        fail(key, tr("not a list"));
        return {};
    }
    const QJsonArray a = v.toArray();
    if (a.size() < lowest || a.size() > highest) {
        fail(key, lowest == highest ? tr("a list of %1 elements is needed").arg(lowest)
                                    : tr("a list of %1 to %2 elements is needed").arg(lowest).arg(highest));
        return {};
    }
    return a;
}

JsonReader JsonReader::object(const char *key)
{
    const QJsonValue v = value(key);
    const QString path = m_path.isEmpty() ? QLatin1String(key) : m_path + QLatin1Char('.') + QLatin1String(key);
    if (ok() && !v.isObject())
        fail(key, tr("not an object"));
    return JsonReader(v.toObject(), path, m_error);
}

JsonReader JsonReader::objectAt(const QJsonArray &array, const char *key, int index)
{
    const QJsonValue v = array.at(index);
    const QString path = (m_path.isEmpty() ? QLatin1String(key) : m_path + QLatin1Char('.') + QLatin1String(key))
        + QStringLiteral("[%1]").arg(index);
    JsonReader child(v.toObject(), path, m_error);
    if (ok() && !v.isObject())
        child.fail(tr("not an object"));
    return child;
}

bool JsonReader::finish()
{
    if (!ok())
        return false;
    for (auto it = m_object.constBegin(); it != m_object.constEnd(); ++it) {
        if (!m_read.contains(it.key()))
            return fail(it.key().left(40).toLatin1().constData(), tr("not a field of this message"));
    }
    return true;
}
