#pragma once

#include <QObject>
#include <QString>

class DeviceExchange;
class StatusReader;

// The poll schedule: one record per call, in the order DETECT, ADJ_CMD_STATE,
// ADJ_STATE, VAR_STRUCT. Counts consecutive timeouts; an answer of any kind,
// even a broken one, shows the device is still there.
class StatusPoller : public QObject
{
    Q_OBJECT

public:
    // The fifth consecutive timeout means the device is gone.
    static constexpr int TimeoutsBeforeSearch = 5;

    StatusPoller(DeviceExchange &io, StatusReader &reader, QObject *parent = nullptr);

    void setDebugLevel(int level) { m_debugLevel = level; }

    void reset();          // step and timeout count back to 0
    void resetTimeouts();  // after a new connection

    // The record the next poll reads (0..3).
    int nextRecord() const;

    // Polls the next record. Returns true when this was the fifth (or a
    // later) consecutive timeout, so the device must be searched for again.
    bool pollNext();

    // Totals since this poller was made: polls sent, and those unanswered.
    quint64 pollsSent() const { return m_sent; }
    quint64 pollsTimedOut() const { return m_timedOut; }

signals:
    void debugInfo(const QString &text, const QString &colour);

private:
    // After a timeout: drop what arrived late, and reopen the port so that
    // a late answer cannot be taken for the next one.
    void recoverFromTimeout(int record);

    DeviceExchange &m_io;
    StatusReader &m_reader;
    int m_debugLevel = 0;
    int m_step = 0;
    int m_timeouts = 0;
    quint64 m_sent = 0;
    quint64 m_timedOut = 0;
};
