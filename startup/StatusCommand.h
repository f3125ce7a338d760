#pragma once

#include <QCoreApplication>
#include <QString>

// ksr583-monitor --status [ADDRESS] [--json]: asks the running service for
// the instrument's state and prints it, for scripts as chronyc serves them.
// ADDRESS is read as an attached window reads it (ServiceAddress). It takes
// no lock and needs no display, so it runs beside the service or a window.
class StatusCommand
{
    Q_DECLARE_TR_FUNCTIONS(StatusCommand)

public:
    static constexpr int WaitMs = 5000;  // for the first snapshot

    StatusCommand(const QString &address, bool json) : m_address(address), m_json(json) {}

    // Exit code of StatusReport::Exit. Needs a QCoreApplication.
    int run(const QString &workFolder) const;

private:
    QString m_address;
    bool m_json = false;
};
