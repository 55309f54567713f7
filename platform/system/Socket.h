#pragma once

// The socket calls that differ between POSIX and Winsock: TCP keep-alive, sends and
// receives that block for at most a given time, and the text of the last call's error.
// Callers never look at errno or WSAGetLastError themselves: a failed transfer carries
// the system's own words.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace medrec::platform {

#ifdef _WIN32
using SocketHandle = std::uintptr_t; // SOCKET
#else
using SocketHandle = int;
#endif

struct KeepAlive
{
    // The first probe after the connection has been quiet this long, then one every
    // interval; the peer is given up after `probes` unanswered ones (here after 110 s).
    // Windows older than 10 (1703) keeps its own count of 10 probes.
    std::chrono::seconds idle{60};
    std::chrono::seconds interval{10};
    int probes = 5;
};

// Turns keep-alive on for the connected socket; false with *error when the system refuses.
bool enableKeepAlive(SocketHandle socket, const KeepAlive &settings, std::string *error);

// The outcome of one send or receive.
struct Transfer
{
    enum class Status {
        Moved,  // `bytes` (more than 0) were sent or received
        Closed, // receive only: the peer closed the connection
        Again,  // nothing moved: the wait limit passed or a signal came; try again
        Failed  // the connection is broken; `error` says why
    };
    Status status = Status::Failed;
    std::size_t bytes = 0;
    std::string error;
};

// Blocking sends and receives on a connected socket in blocking mode, each waiting at
// most the given milliseconds (0: no limit). Where the system can leave a socket unusable
// after its own time-out (Winsock), the wait happens before the call, so a time-out
// never harms the connection and a later call on it works as usual.
class BlockingSocket
{
public:
    explicit BlockingSocket(SocketHandle socket) : m_socket(socket) {}

    Transfer send(const char *data, std::size_t size, long waitMillis);
    Transfer receive(char *buffer, std::size_t size, long waitMillis);

private:
    SocketHandle m_socket;
    long m_receiveLimit = 0; // the limit last set on the socket, so it is set only when it changes
    long m_sendLimit = 0;
};

} // namespace medrec::platform
