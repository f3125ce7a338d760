#include "WindowsStopRequests.h"

#include <QMetaObject>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include <windows.h>

namespace {

// Windows gives a closing console five seconds before it ends the process.
constexpr auto StopWait = std::chrono::milliseconds(4500);

std::mutex lock;
std::condition_variable ended;
bool stoppedInOrder = false;
WindowsStopRequests *listener = nullptr;  // under `lock`

BOOL WINAPI onControl(DWORD event)
{
    std::unique_lock<std::mutex> guard(lock);
    if (!listener)
        return FALSE;
    // The handler runs on a thread of its own: the request crosses queued,
    // and is dropped if the listener is gone by then.
    WindowsStopRequests *target = listener;
    QMetaObject::invokeMethod(target, [target] { emit target->stopRequested(); }, Qt::QueuedConnection);
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        ended.wait_for(guard, StopWait, [] { return stoppedInOrder; });
    return TRUE;
}

}  // namespace

WindowsStopRequests::WindowsStopRequests()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        listener = this;
        stoppedInOrder = false;
    }
    SetConsoleCtrlHandler(onControl, TRUE);
}

WindowsStopRequests::~WindowsStopRequests()
{
    SetConsoleCtrlHandler(onControl, FALSE);
    stopped();
    std::lock_guard<std::mutex> guard(lock);
    listener = nullptr;
}

void WindowsStopRequests::stopped()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        stoppedInOrder = true;
    }
    ended.notify_all();
}
