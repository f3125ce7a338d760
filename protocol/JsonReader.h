#pragma once

#include <cstring>

#include "JsonNumber.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <limits>
#include <memory>
#include <type_traits>

// Reads a JSON object that came from outside, field by field, each within
// its range. The first fault is kept with the field's path
// ("value.coeff[2]: not a single-precision number") and every read after it
// fails, so a decoder reads on and asks once at the end. finish() also
// refuses fields nobody read: a message carries what the protocol names.
class JsonReader
{
    Q_DECLARE_TR_FUNCTIONS(JsonReader)

public:
    explicit JsonReader(const QJsonObject &object, const QString &path = QString());

    bool ok() const { return m_error->isEmpty(); }
    QString error() const { return *m_error; }
    // Records a fault of this object (unless an earlier one is kept).
    bool fail(const QString &what);
    bool fail(const char *key, const QString &what);

    bool has(const char *key) const { return m_object.contains(QLatin1String(key)); }

    template <typename T>
    bool integer(const char *key, T *out, qint64 lowest = qint64(std::numeric_limits<T>::min()),
                 qint64 highest = qint64(std::numeric_limits<T>::max()))
    {
        static_assert(std::is_integral<T>::value && !std::is_same<T, quint64>::value, "quint64 has its own");
        qint64 v = 0;
        if (!ok() || !readInteger(value(key), lowest, highest, &v))
            return fail(key, rangeText(lowest, highest));
        store(out, T(v));
        return true;
    }
    bool integer(const char *key, quint64 *out);
    bool number(const char *key, float *out);
    bool number(const char *key, double *out);
    bool boolean(const char *key, bool *out);
    // A string of at most `maxLength` characters, without control characters
    // other than tab (and line breaks where `lines` allows them).
    bool text(const char *key, int maxLength, QString *out, bool lines = false);
    // A list of exactly `count` such texts, each of one line.
    bool texts(const char *key, int count, int maxLength, QStringList *out);
    // ISO 8601 in UTC with milliseconds, or null for no time; given back in
    // `zone` (Qt::UTC or Qt::LocalTime).
    bool dateTime(const char *key, Qt::TimeSpec zone, QDateTime *out);

    // A fixed-length array of numbers. `out` may be a packed record's member,
    // so it is written whole by copy and only when every element is good.
    template <typename T, int N>
    bool array(const char *key, T (*out)[N])
    {
        const QJsonArray a = arrayOf(key, N, N);
        T read[N] = {};
        for (int i = 0; ok() && i < N; ++i) {
            if (!element(a[i], &read[i]))
                fail(key, tr("element %1 out of range").arg(i));
        }
        if (ok())
            std::memcpy(out, read, sizeof read);
        return ok();
    }
    // An array of `lowest` to `highest` elements (empty on a fault).
    QJsonArray arrayOf(const char *key, int lowest, int highest);
    // A nested object; its faults are this reader's.
    JsonReader object(const char *key);
    JsonReader objectAt(const QJsonArray &array, const char *key, int index);

    // Every field read? Then true.
    bool finish();

private:
    // Fields of packed records may sit at any address: written by copy.
    template <typename T>
    static void store(T *out, T v)
    {
        std::memcpy(out, &v, sizeof v);
    }

    JsonReader(const QJsonObject &object, const QString &path, std::shared_ptr<QString> error);

    QJsonValue value(const char *key);
    static bool readInteger(const QJsonValue &v, qint64 lowest, qint64 highest, qint64 *out);
    static QString rangeText(qint64 lowest, qint64 highest);
    // Why `v` is no text of at most `maxLength` characters; empty when it is.
    static QString textFault(const QJsonValue &v, int maxLength, bool lines);

    template <typename T>
    static bool element(const QJsonValue &v, T *out)
    {
        if constexpr (std::is_same<T, float>::value) {
            return JsonNumber::toFloat(v, out);
        } else if constexpr (std::is_same<T, double>::value) {
            return JsonNumber::toDouble(v, out);
        } else if constexpr (std::is_same<T, bool>::value) {
            *out = v.toBool();
            return v.isBool();
        } else {
            qint64 n = 0;
            if (!readInteger(v, qint64(std::numeric_limits<T>::min()), qint64(std::numeric_limits<T>::max()), &n))
                return false;
            *out = T(n);
            return true;
        }
    }

    QJsonObject m_object;
    QString m_path;
    std::shared_ptr<QString> m_error;
    QSet<QString> m_read;
};
