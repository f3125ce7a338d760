#pragma once

#include "SimProcess.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// ksr583-sim on a pseudo-terminal of its own, with its link, request trace
// and control FIFO in the given folder. Stopped on destruction.
class FolderSim
{
public:
    // Why these tests cannot run here, or an empty text when they can.
    static QString unavailableReason();

    explicit FolderSim(const QString &folder);

    // Starts the simulator with the given extra options and waits for the
    // terminal's path. False, with error() saying why, when it did not start.
    bool start(const QStringList &extra = QStringList());
    QString error() const { return m_sim.error(); }

    // The symbolic link to the terminal: the port the program is given. Its
    // name is new for every simulator, since the serial port's lock file is
    // named after it.
    QString link() const { return m_link; }

    // One line for the control FIFO, e.g. "channel 4 detect on".
    bool control(const QByteArray &line);

    // The requests received so far, one "CODE PAYLOAD" text each ("P10 -",
    // "m10 ccbc8c2b"), oldest first.
    QStringList requests() const;
    // Whether a request with this code (and payload, when given) came in.
    bool received(const QString &code, const QString &payloadHex = QString()) const;

private:
    QString inFolder(const char *name) const;

    QString m_folder;
    QString m_link;
    SimProcess m_sim;
};
