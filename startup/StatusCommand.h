#pragma once

#include <QCoreApplication>
#include <QString>
#include <QUrl>

// ksr583-monitor --status [ADDRESS] [--json]: asks the running service for
// the instrument's state and prints it, for scripts as chronyc serves them.
// ADDRESS "host:port" means ws://host:port on the loopback and wss:// on any
// other host (the service needs TLS there); a ws:// or wss:// URL is taken as
// it is; any other ADDRESS with a "/" is the path of a local socket (one that
// ssh -L forwards). Without ADDRESS, the local socket of the work folder. It takes no
// lock and needs no display, so it runs beside the service or a window.
class StatusCommand
{
    Q_DECLARE_TR_FUNCTIONS(StatusCommand)

public:
    static constexpr int WaitMs = 5000;  // for the first snapshot

    StatusCommand(const QString &address, bool json) : m_address(address), m_json(json) {}

    // The URL for an ADDRESS; invalid when it names none.
    static QUrl urlOf(const QString &address);

    // Exit code of StatusReport::Exit. Needs a QCoreApplication.
    int run(const QString &workFolder) const;

private:
    QString m_address;
    bool m_json = false;
};
