#include "system/ServiceStop.h"

#include <pthread.h>

#include <csignal>

namespace medrec::platform {

namespace {

sigset_t stopSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

} // namespace

StopRequests::StopRequests()
{
    // Worker threads inherit the blocked signals; the thread that waits takes them.
    const sigset_t signals = stopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

std::string StopRequests::wait()
{
    const sigset_t signals = stopSignals();
    int received = 0;
    sigwait(&signals, &received);
    return received == SIGTERM ? "SIGTERM" : "SIGINT";
}

} // namespace medrec::platform
