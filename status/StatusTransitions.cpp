#include "StatusTransitions.h"

namespace StatusTransitions {

namespace {

std::optional<bool> synchronised(const StatusSnapshot &s)
{
    if (!s.connected || !s.cmd)
        return std::nullopt;
    return s.cmd->syncStatus == 1;
}

}  // namespace

QVector<StatusTransition> between(const StatusSnapshot &before, const StatusSnapshot &after)
{
    QVector<StatusTransition> out;
    if (before.connected && !after.connected)
        out.append(StatusTransition{StatusTransition::InstrumentLost});
    if (!before.connected && after.connected && before.everConnected)
        out.append(StatusTransition{StatusTransition::InstrumentFound});

    const std::optional<bool> wasSynced = synchronised(before);
    const std::optional<bool> isSynced = synchronised(after);
    if (wasSynced && isSynced && *wasSynced != *isSynced)
        out.append(StatusTransition{*isSynced ? StatusTransition::SynchronisationRestored
                                              : StatusTransition::SynchronisationLost});

    if (!after.connected)
        return out;
    for (int n = 1; n <= StatusSnapshot::Channels; ++n) {
        const std::optional<bool> had = before.signalDetected(n);
        const std::optional<bool> has = after.signalDetected(n);
        if (had && has && *had && !*has)
            out.append(StatusTransition{StatusTransition::SignalLost, n});
    }
    const std::optional<int> oldReference = before.referenceChannel();
    const std::optional<int> newReference = after.referenceChannel();
    if (oldReference && newReference && *oldReference > 0 && *newReference > 0
        && *oldReference != *newReference)
        out.append(StatusTransition{StatusTransition::ReferenceChanged, *newReference, *oldReference});
    return out;
}

}  // namespace StatusTransitions
