#pragma once

#include <QObject>

#include <memory>

// The system's requests that the program stop: SIGTERM and SIGINT on Linux
// (systemctl stop, Ctrl+C), Ctrl+C, Ctrl+Break and the console closing on
// Windows. Each becomes stopRequested() on the thread that made the object,
// where the program can end in order. This class itself hears none.
class StopRequests : public QObject
{
    Q_OBJECT

public:
    // One at a time: the system knows one handler per request.
    static std::unique_ptr<StopRequests> forThisSystem();
    ~StopRequests() override = default;

    // The orderly stop is done. A system that waits for it before it ends
    // the process (Windows, for a closing console) may go on now.
    virtual void stopped() {}

signals:
    void stopRequested();

protected:
    StopRequests() = default;
};
