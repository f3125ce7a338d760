#pragma once

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

// What the checks of a soak run found: a table of figures and a list of
// failures. The run passes when there is no failure.
class SoakReport
{
public:
    void figure(const QString &name, const QString &value);
    void figure(const QString &name, qint64 value);
    void fail(const QString &what);

    bool passed() const { return m_failures.isEmpty(); }
    const QStringList &failures() const { return m_failures; }
    QString value(const QString &name) const;
    // The table, then the failures (at most `maxFailures` of them).
    QString text(int maxFailures = 40) const;

private:
    QVector<QPair<QString, QString>> m_figures;
    QStringList m_failures;
};
