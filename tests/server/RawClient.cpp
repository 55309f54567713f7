#include "RawClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>

namespace medrec::testing {

RawClient::RawClient(unsigned short port)
{
    m_fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(m_fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        ADD_FAILURE() << "connect failed: " << std::strerror(errno);
        closeNow();
    }
}

RawClient::~RawClient() { closeNow(); }

void RawClient::closeNow()
{
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
}

void RawClient::send(const std::string &bytes)
{
    ASSERT_EQ(::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), ssize_t(bytes.size()));
}

std::size_t RawClient::sendSome(std::string_view bytes)
{
    ssize_t n = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

void RawClient::shutdownWrite() { ::shutdown(m_fd, SHUT_WR); }

std::optional<tp::Frame> RawClient::receive()
{
    std::string prefix = readExact(4);
    if (prefix.size() != 4)
        return std::nullopt;
    auto length = tp::decodeLengthPrefix(prefix, nullptr);
    if (!length)
        return std::nullopt;
    std::string body = readExact(*length);
    return tp::decodeFrame(body, nullptr);
}

bool RawClient::closedByServer()
{
    for (;;) {
        std::string b = readExact(1);
        if (b.empty())
            return m_eof;
    }
}

std::string RawClient::readExact(std::size_t n)
{
    std::string out;
    while (out.size() < n) {
        pollfd p{m_fd, POLLIN, 0};
        if (poll(&p, 1, 5000) <= 0)
            return out;
        char buf[65536];
        ssize_t got = recv(m_fd, buf, std::min(sizeof buf, n - out.size()), 0);
        if (got <= 0) {
            m_eof = true;
            return out;
        }
        out.append(buf, static_cast<std::size_t>(got));
    }
    return out;
}

tp::Frame frame(tp::FrameKind kind, std::uint32_t seq)
{
    tp::Frame f;
    f.kind = kind;
    f.sequence = seq;
    return f;
}

tp::Frame initFrame()
{
    tp::Frame f = frame(tp::FrameKind::Init, 1);
    f.data = std::string("RAW\0" "127.0.0.1", 13);
    return f;
}

std::string stringEntry(FLDID id, const std::string &text)
{
    std::string out(8, '\0');
    std::uint32_t len = static_cast<std::uint32_t>(text.size() + 1);
    std::memcpy(out.data(), &id, 4);
    std::memcpy(out.data() + 4, &len, 4);
    return out + text + std::string(1, '\0');
}

} // namespace medrec::testing
