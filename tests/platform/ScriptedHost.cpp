#include "ScriptedHost.h"

#include "codec/Frame.h"

#include <asio.hpp>

#include <optional>
#include <string>

namespace medrec::testing {

namespace {

using asio::ip::tcp;

tp::Frame replyTo(const tp::Frame &request)
{
    tp::Frame reply;
    reply.kind = tp::FrameKind::Reply;
    reply.sequence = request.sequence;
    reply.transaction = request.transaction;
    if (request.kind == tp::FrameKind::Call) {
        reply.flavour = request.flavour;
        reply.data = request.data;
    }
    if (request.kind == tp::FrameKind::Begin)
        reply.transaction = 7;
    return reply;
}

// One connection, read frame by frame, answered as the behaviour says.
class Connection : public std::enable_shared_from_this<Connection>
{
public:
    Connection(tcp::socket socket, ScriptedHost::Behaviour behaviour, std::atomic<int> &calls)
        : m_socket(std::move(socket)), m_behaviour(behaviour), m_calls(calls)
    {
    }
    void start() { readPrefix(); }

private:
    void readPrefix()
    {
        m_in.resize(tp::kFrameLengthPrefix);
        asio::async_read(m_socket, asio::buffer(m_in),
                         [self = shared_from_this()](asio::error_code ec, std::size_t) {
                             if (ec)
                                 return;
                             std::string why;
                             const auto length = tp::decodeLengthPrefix(self->m_in, &why);
                             if (!length)
                                 return;
                             self->readBody(*length);
                         });
    }
    void readBody(std::size_t length)
    {
        m_in.resize(length);
        asio::async_read(m_socket, asio::buffer(m_in),
                         [self = shared_from_this()](asio::error_code ec, std::size_t) {
                             if (ec)
                                 return;
                             std::string why;
                             if (auto frame = tp::decodeFrame(self->m_in, &why))
                                 self->answer(*frame);
                         });
    }
    void answer(const tp::Frame &request)
    {
        if (request.kind == tp::FrameKind::Call)
            ++m_calls;
        if (m_behaviour == ScriptedHost::Behaviour::Silent) {
            readPrefix();
            return;
        }
        if (m_behaviour == ScriptedHost::Behaviour::Drops && request.kind == tp::FrameKind::Call) {
            asio::error_code ignored;
            m_socket.close(ignored);
            return;
        }
        if (request.kind == tp::FrameKind::Call && request.name == "TP_SILENT") {
            m_late = replyTo(request);
            readPrefix();
            return;
        }
        std::string out;
        if (m_late)
            out = tp::encodeFrame(*std::exchange(m_late, std::nullopt));
        out += tp::encodeFrame(replyTo(request));
        auto bytes = std::make_shared<std::string>(std::move(out));
        const bool last = request.kind == tp::FrameKind::Term;
        asio::async_write(m_socket, asio::buffer(*bytes),
                          [self = shared_from_this(), bytes, last](asio::error_code ec, std::size_t) {
                              if (ec || last)
                                  return;
                              self->readPrefix();
                          });
    }

    tcp::socket m_socket;
    ScriptedHost::Behaviour m_behaviour;
    std::atomic<int> &m_calls;
    std::string m_in;
    std::optional<tp::Frame> m_late; // the reply to TP_SILENT, held back
};

} // namespace

struct ScriptedHost::Loop
{
    asio::io_context context;
    tcp::acceptor acceptor{context, tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0)};
    Behaviour behaviour;
    std::atomic<int> *calls;

    void accept()
    {
        acceptor.async_accept([this](asio::error_code ec, tcp::socket socket) {
            if (ec)
                return;
            std::make_shared<Connection>(std::move(socket), behaviour, *calls)->start();
            accept();
        });
    }
};

ScriptedHost::ScriptedHost(Behaviour behaviour) : m_loop(std::make_unique<Loop>())
{
    m_loop->behaviour = behaviour;
    m_loop->calls = &m_calls;
    m_port = m_loop->acceptor.local_endpoint().port();
    m_loop->accept();
    m_thread = std::thread([loop = m_loop.get()] { loop->context.run(); });
}

ScriptedHost::~ScriptedHost()
{
    m_loop->context.stop();
    m_thread.join();
}

} // namespace medrec::testing
