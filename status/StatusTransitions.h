#pragma once

#include "StatusSnapshot.h"

#include <QVector>

// A change of the instrument's state worth telling an operator about.
struct StatusTransition {
    enum Kind {
        InstrumentLost,
        InstrumentFound,       // again, after it was lost
        SynchronisationLost,
        SynchronisationRestored,
        SignalLost,            // `channel` lost its input signal
        ReferenceChanged,      // from `previousChannel` to `channel`
    };

    Kind kind;
    int channel = 0;
    int previousChannel = 0;

    bool operator==(const StatusTransition &o) const
    {
        return kind == o.kind && channel == o.channel && previousChannel == o.previousChannel;
    }
};

// The transitions from one published snapshot to the next. Only what both
// snapshots know is compared: a record not yet read since the link connected
// gives no transition, so a reconnection is never taken for a change.
namespace StatusTransitions {

QVector<StatusTransition> between(const StatusSnapshot &before, const StatusSnapshot &after);

}  // namespace StatusTransitions
