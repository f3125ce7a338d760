#pragma once

#include <QString>

#include <memory>

// Whether the windows can be shown. Asked before the GUI application is
// made: without a display, Qt's platform plugin ends the program with a page
// of advice and a core dump. This class itself says yes (Windows always has
// a desktop to draw on).
class DisplayAccess
{
public:
    virtual ~DisplayAccess() = default;

    // `platform` is the Qt platform asked for (-platform or QT_QPA_PLATFORM),
    // empty for the default one.
    virtual bool available(const QString &platform) const;

    static std::unique_ptr<DisplayAccess> forThisSystem();
};
