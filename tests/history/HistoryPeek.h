#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

// Looks into a history database from the test's own connection.
class HistoryPeek
{
public:
    explicit HistoryPeek(const QString &path);
    ~HistoryPeek();

    QVariant value(const QString &sql);
    bool exec(const QString &sql);
    QSqlDatabase &db() { return m_db; }

private:
    QString m_name;
    QSqlDatabase m_db;
};
