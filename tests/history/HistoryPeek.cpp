#include "HistoryPeek.h"

#include <QSqlQuery>

#include <atomic>

HistoryPeek::HistoryPeek(const QString &path)
{
    static std::atomic<int> counter{0};
    m_name = QStringLiteral("peek-%1").arg(counter++);
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(path);
    m_db.open();
}

HistoryPeek::~HistoryPeek()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

QVariant HistoryPeek::value(const QString &sql)
{
    QSqlQuery q(m_db);
    return q.exec(sql) && q.next() ? q.value(0) : QVariant();
}

bool HistoryPeek::exec(const QString &sql)
{
    QSqlQuery q(m_db);
    return q.exec(sql);
}
