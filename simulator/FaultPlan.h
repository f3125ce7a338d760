#pragma once

#include "link/CommandTable.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <random>

enum class FaultKind {
    Silent,        // no answer
    Checksum,      // wrong CRC
    NoStart,       // first byte is not 0x01
    Echo,          // wrong echo of the code letter, CRC still right
    Garbage,       // random bytes instead of the answer
    Truncate,      // only the first bytes of the answer
    Late,          // the answer comes late
    ConfirmOther,  // confirms (and applies) another value than was written
    SilentAfter,   // silent once N answers have gone out
};

struct FaultRule {
    FaultKind kind = FaultKind::Silent;
    QByteArray code;  // three characters, '?' for any digit; empty for all codes
    int param = 0;    // late: ms; truncate: bytes kept (-1: half); silent-after: N
    int times = -1;   // requests it still applies to; -1 without end
    int answered = 0; // silent-after: answers counted so far

    bool matches(const QByteArray &code3) const;
};

// Which faults the simulated instrument shows, and for which request codes.
// Text form, several separated by commas:
//   KIND[:CODE][*TIMES]       silent, checksum, nostart, echo, garbage, confirm-other
//   late[:CODE[:MS]][*TIMES]  MS defaults to 1500
//   truncate[:CODE[:BYTES]][*TIMES]  BYTES kept, default half the answer
//   silent-after:N  or  silent-after:CODE:N
// CODE is a request code of the command table (P10, o13, S20, ...; "?" stands
// for any digit) or "all", the default. *TIMES limits a fault to the next
// TIMES matching requests.
class FaultPlan
{
public:
    // Adds the rules of `text`; on a mistake adds nothing and explains it.
    bool add(const QString &text, QString *error = nullptr);
    void clear() { m_rules.clear(); }
    bool isEmpty() const { return m_rules.isEmpty(); }
    const QList<FaultRule> &rules() const { return m_rules; }

    // What happens to the answer of one request with `code3`. Counts the
    // request against limited rules and the answer against silent-after.
    struct Outcome {
        bool silent = false;
        bool confirmOther = false;
        int lateMs = 0;
        QList<FaultRule> corruptions;  // in the order they were given
    };
    Outcome take(const QByteArray &code3);

    // `answer` spoiled the way `rule` says.
    static QByteArray corrupt(const QByteArray &answer, const FaultRule &rule,
                              const CommandFormat &format, std::mt19937_64 &rng);

    static constexpr int DefaultLateMs = 1500;

private:
    static bool parseOne(const QString &text, FaultRule *rule, QString *error);

    QList<FaultRule> m_rules;
};
