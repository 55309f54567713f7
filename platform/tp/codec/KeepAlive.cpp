#include "KeepAlive.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace medrec::tp {

bool enableKeepAlive(int socketFd, const KeepAlive &settings, std::string *error)
{
    const int on = 1;
    const int idle = static_cast<int>(settings.idle.count());
    const int interval = static_cast<int>(settings.interval.count());
    const int probes = settings.probes;
    if (setsockopt(socketFd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) != 0 ||
        setsockopt(socketFd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle) != 0 ||
        setsockopt(socketFd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval) != 0 ||
        setsockopt(socketFd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes) != 0) {
        if (error)
            *error = std::string("cannot turn on TCP keep-alive: ") + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace medrec::tp
