#include "system/ServiceStop.h"

#include <windows.h>

#include <atomic>

namespace medrec::platform {

namespace {

// The console's control event, set by its handler thread: the one piece of process state
// a console control handler can reach.
HANDLE stopEvent()
{
    static const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event;
}

std::atomic<DWORD> g_received{0};

BOOL WINAPI onControl(DWORD type)
{
    g_received = type;
    SetEvent(stopEvent());
    return TRUE;
}

} // namespace

StopRequests::StopRequests() { SetConsoleCtrlHandler(onControl, TRUE); }

std::string StopRequests::wait()
{
    WaitForSingleObject(stopEvent(), INFINITE);
    switch (g_received.load()) {
    case CTRL_C_EVENT:
        return "Ctrl+C";
    case CTRL_BREAK_EVENT:
        return "Ctrl+Break";
    default:
        return "console closed";
    }
}

} // namespace medrec::platform
