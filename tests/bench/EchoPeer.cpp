#include "EchoPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

namespace medrec::bench {

namespace {

void noDelay(int fd)
{
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

} // namespace

EchoPeer::EchoPeer(std::size_t bytes) : m_message(bytes, 'x')
{
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (bind(m_listener, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || listen(m_listener, 1) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr *>(&a), &len) != 0)
        throw std::runtime_error("echo: cannot listen on loopback");
    m_echo = std::thread([this, bytes] {
        const int fd = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        noDelay(fd);
        std::vector<char> buf(bytes);
        while (recv(fd, buf.data(), bytes, MSG_WAITALL) == static_cast<ssize_t>(bytes))
            send(fd, buf.data(), bytes, MSG_NOSIGNAL);
        close(fd);
    });
    m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (connect(m_fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0)
        throw std::runtime_error("echo: cannot connect");
    noDelay(m_fd);
}

EchoPeer::~EchoPeer()
{
    shutdown(m_fd, SHUT_RDWR); // the echo thread sees the end
    close(m_fd);
    m_echo.join();
    close(m_listener);
}

bool EchoPeer::roundTrip()
{
    const auto n = static_cast<ssize_t>(m_message.size());
    return send(m_fd, m_message.data(), m_message.size(), MSG_NOSIGNAL) == n &&
           recv(m_fd, m_message.data(), m_message.size(), MSG_WAITALL) == n;
}

} // namespace medrec::bench
