// The server against bad input and vanishing clients, many clients at once, and the real
// medrec-server program.

#include "NotesService.h"
#include "RawClient.h"
#include "TestSupport.h"

#include "client/ClientSession.h"
#include "client/Errors.h"
#include "client/TypedBuffer.h"
#include "codec/Environment.h"
#include "codec/FieldBuffer.h"
#include "codec/FieldTable.h"
#include "codec/Frame.h"
#include "fml.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <random>
#include <thread>

using namespace medrec;
using medrec::testing::RawClient;
using medrec::testing::frame;
using medrec::testing::initFrame;
using medrec::testing::stringEntry;

namespace {

class RobustnessTest : public medrec::testing::NotesServerTest
{
protected:
    void SetUp() override { startServer(); }

    std::unique_ptr<tp::client::ClientSession> join(const std::string &user = "OTHER")
    {
        return NotesServerTest::join(user);
    }

    // A well-behaved session is still served.
    void expectServed(tp::client::ClientSession &s)
    {
        char *b = tp::client::allocate("FML", nullptr, 1024);
        auto fields = m_server->fields();
        std::string v = "ping";
        ASSERT_EQ(Fchg(reinterpret_cast<FBFR *>(b), fields->id("S_STRING1"), 0, v.data(), 0), 1);
        EXPECT_EQ(s.call("TP_PING", b, &b, nullptr, TPNOTRAN), 0) << tp::client::lastErrorDetail();
        EXPECT_STREQ(Fvals(reinterpret_cast<FBFR *>(b), fields->id("S_STRING1"), 0), "ping");
        tp::client::release(b);
    }
};

TEST_F(RobustnessTest, BadFramesCloseOnlyTheirConnection)
{
    auto good = join();
    ASSERT_TRUE(good);
    auto u32 = [](std::uint32_t v) { return std::string(reinterpret_cast<const char *>(&v), 4); };
    std::string call = tp::encodeFrame([] {
        tp::Frame f = frame(tp::FrameKind::Call, 2);
        f.flavour = tp::Flavour::Fml;
        f.name = "TP_PING";
        f.data = stringEntry(tp::makeFieldId(FB_STRING, 1001), "x");
        return f;
    }());
    std::string lyingData = call;
    lyingData.replace(4 + 28, 4, u32(9999));
    std::string lyingEntry = call;
    lyingEntry.replace(4 + tp::kFrameHeaderSize + 7 + 4, 4, u32(0x7FFFFFFF));
    std::mt19937 random(42);
    std::string noise(300, '\0');
    for (auto &c : noise)
        c = static_cast<char>(random());

    struct Case
    {
        const char *what;
        std::string bytes;
    } cases[] = {
        {"length prefix too small", u32(3) + std::string(3, 'x')},
        {"length prefix past any buffer", u32(0x7FFFFFF0) + "abc"},
        {"data length lies", lyingData},
        {"field entry length lies", lyingEntry},
        {"random bytes", noise},
        {"a server frame kind", tp::encodeFrame(frame(tp::FrameKind::Reply, 1))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        RawClient raw(m_server->port());
        raw.send(tp::encodeFrame(initFrame()));
        ASSERT_TRUE(raw.receive());
        raw.send(c.bytes);
        EXPECT_TRUE(raw.closedByServer());
        expectServed(*good);
    }
}

TEST_F(RobustnessTest, TruncatedFrameFromAVanishingClientHarmsNoOne)
{
    auto good = join();
    {
        RawClient raw(m_server->port());
        std::string init = tp::encodeFrame(initFrame());
        raw.send(init.substr(0, init.size() - 5));
    } // gone mid-frame
    expectServed(*good);
    RawClient stalled(m_server->port());
    stalled.send(tp::encodeFrame(initFrame()).substr(0, 10)); // and one that just stops talking
    expectServed(*good);
}

TEST_F(RobustnessTest, CallBeforeInitIsRefusedOnTheWire)
{
    RawClient raw(m_server->port());
    tp::Frame f = frame(tp::FrameKind::Call, 5);
    f.flavour = tp::Flavour::Fml;
    f.name = "TP_PING";
    raw.send(f);
    auto reply = raw.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->kind, tp::FrameKind::Reply);
    EXPECT_EQ(reply->sequence, 5u);
    EXPECT_EQ(reply->status, TPEPROTO);
    raw.send(frame(tp::FrameKind::Begin, 6));
    reply = raw.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, TPEPROTO);
}

TEST_F(RobustnessTest, VanishingClientMidTransactionIsRolledBack)
{
    auto fields = m_server->fields();
    {
        RawClient raw(m_server->port());
        raw.send(initFrame());
        ASSERT_TRUE(raw.receive());
        raw.send(frame(tp::FrameKind::Begin, 2));
        auto begun = raw.receive();
        ASSERT_TRUE(begun);
        ASSERT_EQ(begun->status, 0);
        tp::Frame f = frame(tp::FrameKind::Call, 3);
        f.flavour = tp::Flavour::Fml;
        f.transaction = begun->transaction;
        f.name = "TS_NOTE_U1";
        f.data = stringEntry(fields->id("S_STRING1"), "lost");
        raw.send(f);
        auto reply = raw.receive();
        ASSERT_TRUE(reply);
        ASSERT_EQ(reply->status, 0);
    } // the client vanishes holding the write lock

    // Another workstation gets the lock well before the transaction's time-out.
    auto other = join();
    ASSERT_EQ(other->begin(30, 0), 0) << tp::client::lastErrorDetail();
    char *b = tp::client::allocate("FML", nullptr, 1024);
    std::string v = "kept";
    ASSERT_EQ(Fchg(reinterpret_cast<FBFR *>(b), fields->id("S_STRING1"), 0, v.data(), 0), 1);
    ASSERT_EQ(other->call("TS_NOTE_U1", b, &b, nullptr, 0), 0) << tp::client::lastErrorDetail();
    ASSERT_EQ(other->commit(0), 0) << tp::client::lastErrorDetail();
    tp::client::release(b);
    EXPECT_EQ(m_server->queryText("SELECT group_concat(text) FROM notes"), "kept");
}

TEST_F(RobustnessTest, ABeginTheClientGaveUpOnDoesNotLockItsSessionOut)
{
    auto holder = join("HOLDER");
    ASSERT_EQ(holder->begin(30, 0), 0) << tp::client::lastErrorDetail();

    // This workstation waits one second for its reply, less than the lock stays taken.
    tp::SiteEnvironment impatient = m_env;
    impatient.callTimeoutSeconds = 1;
    auto waiter = tp::client::ClientSession::join(impatient, "WAITER", "127.0.0.1", TPU_DIP);
    ASSERT_TRUE(waiter);
    EXPECT_EQ(waiter->begin(30, 0), -1);
    EXPECT_EQ(gettperrno(), TPETIME);
    // The server stopped waiting for the lock before the waiter stopped waiting for it, so
    // nothing is opened behind the waiter's back when the lock comes free.
    EXPECT_NE(tp::client::lastErrorDetail().find("stayed locked"), std::string::npos)
        << tp::client::lastErrorDetail();
    ASSERT_EQ(holder->commit(0), 0) << tp::client::lastErrorDetail();
    for (const auto &session : m_server->server().sessions())
        EXPECT_FALSE(session.inTransaction) << session.user;

    // Its next begin is served, and so is everyone else's.
    ASSERT_EQ(waiter->begin(30, 0), 0) << tp::client::lastErrorDetail();
    ASSERT_EQ(waiter->abort(0), 0);
    ASSERT_EQ(holder->begin(30, 0), 0) << tp::client::lastErrorDetail();
    ASSERT_EQ(holder->commit(0), 0);
}

TEST_F(RobustnessTest, ManyWorkstationsAtOnce)
{
    constexpr int kClients = 8, kCalls = 40;
    std::atomic<int> served{0};
    std::vector<std::thread> threads;
    auto fields = m_server->fields();
    for (int c = 0; c < kClients; ++c)
        threads.emplace_back([&, c] {
            auto s = tp::client::ClientSession::join(m_env, "WS" + std::to_string(c), "127.0.0.1", TPU_DIP);
            if (!s)
                return;
            char *b = tp::client::allocate("FML", nullptr, 1024);
            for (int i = 0; i < kCalls; ++i) {
                std::string v = std::to_string(c) + ":" + std::to_string(i);
                Fchg(reinterpret_cast<FBFR *>(b), fields->id("S_STRING1"), 0, v.data(), 0);
                if (s->call("TP_PING", b, &b, nullptr, TPNOTRAN) == 0 &&
                    v == Fvals(reinterpret_cast<FBFR *>(b), fields->id("S_STRING1"), 0))
                    ++served;
            }
            tp::client::release(b);
            s->term();
        });
    for (auto &t : threads)
        t.join();
    EXPECT_EQ(served.load(), kClients * kCalls);
}

TEST_F(RobustnessTest, ClientRefusesAReplyTooLargeForItsBuffer)
{
    // A hostile or broken host: replies to an FML call with 70,000 bytes of FML32 data.
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    socklen_t len = sizeof a;
    getsockname(listener, reinterpret_cast<sockaddr *>(&a), &len);
    std::thread host([listener] {
        int fd = accept(listener, nullptr, nullptr);
        auto readFrame = [fd] {
            char prefix[4];
            if (recv(fd, prefix, 4, MSG_WAITALL) != 4)
                return tp::Frame{};
            std::uint32_t n;
            std::memcpy(&n, prefix, 4);
            std::string body(n, '\0');
            recv(fd, body.data(), n, MSG_WAITALL);
            return *tp::decodeFrame(body, nullptr);
        };
        tp::Frame init = readFrame();
        tp::Frame ok = frame(tp::FrameKind::Reply, init.sequence);
        std::string bytes = tp::encodeFrame(ok);
        ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        tp::Frame call = readFrame();
        tp::Frame big = frame(tp::FrameKind::Reply, call.sequence);
        big.flavour = tp::Flavour::Fml32;
        big.data = stringEntry(tp::makeFieldId(FB_STRING, 1001), std::string(70000, 'x'));
        bytes = tp::encodeFrame(big);
        ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        char sink[16];
        recv(fd, sink, sizeof sink, 0); // until the client leaves
        close(fd);
    });
    tp::SiteEnvironment env = m_env;
    env.port = ntohs(a.sin_port);
    auto s = tp::client::ClientSession::join(env, "U", "C", TPU_DIP);
    ASSERT_TRUE(s) << tp::client::lastErrorDetail();
    char *b = tp::client::allocate("FML", nullptr, 1024);
    EXPECT_EQ(s->call("TP_PING", b, &b, nullptr, TPNOTRAN), -1);
    EXPECT_EQ(tp::client::lastError(), TPELIMIT);
    EXPECT_NE(tp::client::lastErrorDetail().find("does not fit an FML buffer (at most 65,532 bytes)"),
              std::string::npos)
        << tp::client::lastErrorDetail();
    tp::client::release(b);
    s.reset();
    host.join();
    close(listener);
}

TEST(ServerProgramTest, ServesThroughTheRealBinaryAndStopsOnSigterm)
{
    medrec::testing::ServerProcess process;
    tp::SiteEnvironment env;
    env.port = process.port();
    env.fieldTable = medrec::testing::defaultFieldTablePath();
    auto fields = medrec::testing::loadDefaultFieldTable();
    auto s = tp::client::ClientSession::join(env, "USER", "127.0.0.1", TPU_DIP);
    ASSERT_TRUE(s) << tp::client::lastErrorDetail();
    char *b = tp::client::allocate("FML", nullptr, 1024);
    ASSERT_EQ(s->call("TP_PING", b, &b, nullptr, TPNOTRAN), 0) << tp::client::lastErrorDetail();
    EXPECT_STREQ(Fvals(reinterpret_cast<FBFR *>(b), fields->id("STATLIN"), 0), "OK");
    ASSERT_EQ(s->begin(10, 0), 0);
    ASSERT_EQ(s->commit(0), 0);
    tp::client::release(b);
    s->term();
    int status = process.stop();
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
