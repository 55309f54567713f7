#pragma once

// A raw TCP echo on loopback: what a round trip of the network alone costs, the yardstick
// of the service calls.

#include <cstddef>
#include <string>
#include <thread>

namespace medrec::bench {

class EchoPeer
{
public:
    // Messages of `bytes` bytes, echoed by a thread of its own.
    explicit EchoPeer(std::size_t bytes);
    ~EchoPeer();
    EchoPeer(const EchoPeer &) = delete;
    EchoPeer &operator=(const EchoPeer &) = delete;

    // One message there and back; false when the connection failed.
    bool roundTrip();
    std::size_t bytes() const { return m_message.size(); }

private:
    std::string m_message;
    int m_listener = -1;
    int m_fd = -1;
    std::thread m_echo;
};

} // namespace medrec::bench
