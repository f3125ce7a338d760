#pragma once

#include <QString>

#include <memory>

// A name for a port that stays the same when the adapter is plugged in again
// or the computer restarts. This class itself knows none (Windows keeps "COM"
// numbers per adapter on its own).
class StablePortNames
{
public:
    virtual ~StablePortNames() = default;

    // The stable name of the device behind `port`, empty when there is none.
    virtual QString forPort(const QString &port) const;

    static std::unique_ptr<StablePortNames> forThisSystem();
};
