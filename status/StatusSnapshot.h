#pragma once

#include "link/LinkFeed.h"
#include "link/Records.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// What the program knows of the instrument at one moment, as one value that
// other programs are told: the status file, the metrics endpoint, the tray.
// A record is present only when it was read from the instrument since the
// link last connected, so nothing here claims a state that was not read.
struct StatusSnapshot {
    static constexpr int Channels = 4;
    static constexpr int CommandCodes = 23;

    bool connected = false;       // the link has the instrument now
    bool everConnected = false;   // at some time since the program started
    // Last answer from the instrument (a poll, a command, a journal record);
    // invalid before the first.
    QDateTime lastAnswerUtc;
    // When the publisher last heard from the instrument (an answer, or the
    // connection itself), on its monotonic clock; -1 before. With the poll
    // interval in effect then, it tells a live account from one that stopped.
    qint64 heardMs = -1;
    int monitorIntervalS = 10;

    std::optional<DETECT> detect;
    std::optional<ADJ_CMD_STATE> cmd;
    std::optional<ADJ_STATE> adj;
    std::optional<VAR_STRUCT> var;

    QStringList channelNames;     // as the window shows them
    QString serialNumber;         // from the device information; empty until read
    QString firmware;

    LinkCounters counters;
    // Commands run, by code and outcome (0 ok, 1 failed).
    std::array<std::array<quint64, 2>, CommandCodes> commands{};
    std::array<quint64, JournalReading::OutcomeCount> journalDownloads{};

    // Whether the instrument was heard from within two poll intervals of
    // `nowMs` (the clock of heardMs) while connected. A snapshot that stopped
    // changing, because the link or the window hangs, soon says no.
    bool hearsInstrument(qint64 nowMs) const;
    // Forgets the four records: they belong to one connection.
    void dropReadings();
    // What the link's reports change, wherever they are followed (this
    // process, or a window attached to a service). Connected: what was read
    // before belongs to the last connection, and the instrument may be
    // another one, so all is read afresh.
    void linkConnected();
    void linkLost();
    // An answered poll, while connected.
    void take(const PollReading &reading);

    QString channelName(int channel) const { return channelNames.value(channel - 1); }
    // The channel state code (ChannelState) of channel 1..4, when known.
    std::optional<int> channelState(int channel) const;
    // Whether a signal is on input 1..4 (low byte of its DETECT word).
    std::optional<bool> signalDetected(int channel) const;
    // Whether the instrument reports an error on input 1..4 (high byte).
    std::optional<bool> signalError(int channel) const;
    // Switching mode: the first channel in the group (1..4), or 0 when none.
    // Unknown in averaging mode, where no channel is the reference.
    std::optional<int> referenceChannel() const;
};
