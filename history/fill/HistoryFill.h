#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

// Fills a history database with weeks of a simulated instrument, written
// through the program's own store as the link writes it: stamps that jitter,
// a poll phase that moves after each reconnect and journal download, now and
// then a poll unanswered, one change of MonitorInterval and one step of the
// computer's clock; channels that drift, lose their signal (and read 0) and
// qualify again, a reference switch, steering commands and a smooth
// correction, a command that fails, synchronisation switched off and on,
// lost connections with the search's attempts, a program restart and the
// daily journal download.
class HistoryFill
{
public:
    struct Options {
        QString path;
        int intervalSeconds = 10;  // MonitorInterval: one record per poll, the four in turn
        int laterIntervalSeconds = 4;  // from two thirds of the days on; 0: no change
        qint64 clockStepMs = 2700;     // the computer's clock jumps at two fifths; 0: never
        int days = 30;
        quint64 seed = 1;
        QDateTime endUtc;          // the last poll; now when not valid
    };
    struct Result {
        qint64 polls = 0;   // answered
        qint64 unanswered = 0;
        qint64 events = 0;  // link events, messages, commands, journal downloads
        qint64 dropped = 0; // what the store could not write (0 unless something is wrong)
    };

    // `progress` is told 0..100.
    static Result run(const Options &options, const std::function<void(int)> &progress = {});
};
