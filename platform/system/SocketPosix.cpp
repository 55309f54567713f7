#include "system/Socket.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <cerrno>
#include <cstring>

namespace medrec::platform {

namespace {

// Limits how long the socket's receives (SO_RCVTIMEO) or sends (SO_SNDTIMEO) may block,
// set only when the limit changes, so that the usual limit costs nothing per call.
void limitWait(int socket, int option, long millis, long &current)
{
    if (millis == current)
        return;
    timeval limit{millis / 1000, (millis % 1000) * 1000};
    setsockopt(socket, SOL_SOCKET, option, &limit, sizeof limit);
    current = millis;
}

// A failed call's outcome: a signal or the wait limit means try again.
Transfer failed()
{
    if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
        return {Transfer::Status::Again, 0, {}};
    return {Transfer::Status::Failed, 0, std::strerror(errno)};
}

} // namespace

bool enableKeepAlive(SocketHandle socket, const KeepAlive &settings, std::string *error)
{
    const int on = 1;
    const int idle = static_cast<int>(settings.idle.count());
    const int interval = static_cast<int>(settings.interval.count());
    const int probes = settings.probes;
    if (setsockopt(socket, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) != 0 ||
        setsockopt(socket, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle) != 0 ||
        setsockopt(socket, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval) != 0 ||
        setsockopt(socket, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes) != 0) {
        if (error)
            *error = std::string("cannot turn on TCP keep-alive: ") + std::strerror(errno);
        return false;
    }
    return true;
}

Transfer BlockingSocket::send(const char *data, std::size_t size, long waitMillis)
{
    limitWait(m_socket, SO_SNDTIMEO, waitMillis, m_sendLimit);
    // MSG_NOSIGNAL: a peer that went away fails the call instead of killing the program.
    const ssize_t n = ::send(m_socket, data, size, MSG_NOSIGNAL);
    if (n > 0)
        return {Transfer::Status::Moved, static_cast<std::size_t>(n), {}};
    if (n == 0)
        return {Transfer::Status::Again, 0, {}};
    return failed();
}

Transfer BlockingSocket::receive(char *buffer, std::size_t size, long waitMillis)
{
    limitWait(m_socket, SO_RCVTIMEO, waitMillis, m_receiveLimit);
    const ssize_t n = ::recv(m_socket, buffer, size, 0);
    if (n > 0)
        return {Transfer::Status::Moved, static_cast<std::size_t>(n), {}};
    if (n == 0)
        return {Transfer::Status::Closed, 0, {}};
    return failed();
}

} // namespace medrec::platform
