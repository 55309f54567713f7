#pragma once

// How a service is told to stop: SIGINT or SIGTERM on POSIX (systemctl stop, Ctrl+C),
// Ctrl+C, Ctrl+Break or the console closing on Windows.

#include <string>

namespace medrec::platform {

// Made before the service starts its threads: they then leave the stop request to the
// thread that waits (POSIX: the signals are blocked in every thread and waited for), and a
// peer that went away fails a send instead of ending the program (SIGPIPE ignored).
class StopRequests
{
public:
    StopRequests();
    StopRequests(const StopRequests &) = delete;
    StopRequests &operator=(const StopRequests &) = delete;

    // Blocks until a stop is asked for; names how ("SIGTERM", "SIGINT", "Ctrl+C", ...).
    std::string wait();
};

} // namespace medrec::platform
