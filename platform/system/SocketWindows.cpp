#include "system/Socket.h"

#include "WideText.h"

#include <winsock2.h>
#include <ws2tcpip.h>
// After winsock2.h, whose types it uses.
#include <mstcpip.h>

#include <climits>

namespace medrec::platform {

namespace {

// Winsock leaves a socket in an undefined state after SO_RCVTIMEO or SO_SNDTIMEO expires,
// so the limit is waited out here with select and the call itself never times out.
// True when the socket is ready; false with *outcome set otherwise.
bool waitReady(SocketHandle socket, bool forWriting, long waitMillis, Transfer *outcome)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(static_cast<SOCKET>(socket), &set);
    timeval limit{static_cast<long>(waitMillis / 1000), static_cast<long>((waitMillis % 1000) * 1000)};
    const int ready = select(0, forWriting ? nullptr : &set, forWriting ? &set : nullptr, nullptr,
                             waitMillis > 0 ? &limit : nullptr);
    if (ready > 0)
        return true;
    if (ready == 0) {
        *outcome = {Transfer::Status::Again, 0, {}};
        return false;
    }
    const int error = WSAGetLastError();
    *outcome = error == WSAEINTR ? Transfer{Transfer::Status::Again, 0, {}}
                                 : Transfer{Transfer::Status::Failed, 0,
                                            systemErrorText(static_cast<unsigned long>(error))};
    return false;
}

// sending: WSAETIMEDOUT is the send's own SO_SNDTIMEO, and the caller's deadline says what
// follows; from a receive it is the peer lost to keep-alive.
Transfer failed(bool sending)
{
    const int error = WSAGetLastError();
    if (error == WSAEINTR || error == WSAEWOULDBLOCK || (sending && error == WSAETIMEDOUT))
        return {Transfer::Status::Again, 0, {}};
    return {Transfer::Status::Failed, 0, systemErrorText(static_cast<unsigned long>(error))};
}

int chunk(std::size_t size)
{
    return size > INT_MAX ? INT_MAX : static_cast<int>(size);
}

} // namespace

bool enableKeepAlive(SocketHandle socket, const KeepAlive &settings, std::string *error)
{
    const auto s = static_cast<SOCKET>(socket);
    tcp_keepalive values{};
    values.onoff = 1;
    values.keepalivetime = static_cast<ULONG>(std::chrono::milliseconds(settings.idle).count());
    values.keepaliveinterval = static_cast<ULONG>(std::chrono::milliseconds(settings.interval).count());
    DWORD returned = 0;
    if (WSAIoctl(s, SIO_KEEPALIVE_VALS, &values, sizeof values, nullptr, 0, &returned, nullptr, nullptr) !=
        0) {
        if (error)
            *error = "cannot turn on TCP keep-alive: " +
                     systemErrorText(static_cast<unsigned long>(WSAGetLastError()));
        return false;
    }
#ifdef TCP_KEEPCNT
    // Windows 10 (1703) and later take the count; older ones keep their own 10 probes.
    const DWORD probes = static_cast<DWORD>(settings.probes);
    setsockopt(s, IPPROTO_TCP, TCP_KEEPCNT, reinterpret_cast<const char *>(&probes), sizeof probes);
#endif
    return true;
}

Transfer BlockingSocket::send(const char *data, std::size_t size, long waitMillis)
{
    Transfer outcome;
    if (!waitReady(m_socket, true, waitMillis, &outcome))
        return outcome;
    // A blocking send waits until all of it is buffered, however little room select saw:
    // SO_SNDTIMEO (in milliseconds here) bounds that wait too. A send that times out ends the
    // session anyway, so the socket's state after it does not matter.
    if (waitMillis != m_sendLimit) {
        const DWORD limit = static_cast<DWORD>(waitMillis);
        setsockopt(static_cast<SOCKET>(m_socket), SOL_SOCKET, SO_SNDTIMEO,
                   reinterpret_cast<const char *>(&limit), sizeof limit);
        m_sendLimit = waitMillis;
    }
    // Winsock raises no signal for a peer that went away: the call fails.
    const int n = ::send(static_cast<SOCKET>(m_socket), data, chunk(size), 0);
    if (n > 0)
        return {Transfer::Status::Moved, static_cast<std::size_t>(n), {}};
    if (n == 0)
        return {Transfer::Status::Again, 0, {}};
    return failed(true);
}

Transfer BlockingSocket::receive(char *buffer, std::size_t size, long waitMillis)
{
    Transfer outcome;
    if (!waitReady(m_socket, false, waitMillis, &outcome))
        return outcome;
    const int n = ::recv(static_cast<SOCKET>(m_socket), buffer, chunk(size), 0);
    if (n > 0)
        return {Transfer::Status::Moved, static_cast<std::size_t>(n), {}};
    if (n == 0)
        return {Transfer::Status::Closed, 0, {}};
    return failed(false);
}

} // namespace medrec::platform
