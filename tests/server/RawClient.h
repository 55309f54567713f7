#pragma once

// A plain TCP client that speaks (or breaks) the wire by hand, for tests of the server
// against hostile and broken clients.

#include "codec/Frame.h"
#include "fml.h"

#include <optional>
#include <string>

namespace medrec::testing {

class RawClient
{
public:
    explicit RawClient(unsigned short port);
    ~RawClient();
    RawClient(const RawClient &) = delete;
    RawClient &operator=(const RawClient &) = delete;

    bool connected() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    void closeNow();
    // Sends all bytes (blocking); a test failure when the connection refuses them.
    void send(const std::string &bytes);
    void send(const tp::Frame &f) { send(tp::encodeFrame(f)); }
    // Sends what the socket takes without blocking; the bytes sent.
    std::size_t sendSome(std::string_view bytes);
    // No more bytes from this side (the server still answers what it got).
    void shutdownWrite();

    // The next frame, or nullopt when the server closed the connection (or 5 s passed).
    std::optional<tp::Frame> receive();
    // True when the server has closed the connection within 5 s.
    bool closedByServer();

private:
    std::string readExact(std::size_t n);
    int m_fd = -1;
    bool m_eof = false;
};

tp::Frame frame(tp::FrameKind kind, std::uint32_t seq);
// Init as user "RAW" from client "127.0.0.1".
tp::Frame initFrame();
// One string field entry as it travels in a field buffer.
std::string stringEntry(FLDID id, const std::string &text);

} // namespace medrec::testing
