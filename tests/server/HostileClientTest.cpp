// The server against clients that fail, stall, flood or vanish: rollback-only
// transactions, session limits, time-outs, back-pressure, replies at close, keep-alive;
// and against a power cut: what it acknowledges is on the disk.

#include "NotesService.h"
#include "RawClient.h"
#include "TestSupport.h"

#include "client/ClientSession.h"
#include "client/Errors.h"
#include "client/TypedBuffer.h"
#include "codec/Environment.h"
#include "codec/FieldBuffer.h"
#include "codec/FieldTable.h"

#include <dirent.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

using namespace medrec;
using medrec::testing::RawClient;
using medrec::testing::frame;
using medrec::testing::initFrame;
using medrec::testing::insertNote;
using medrec::testing::stringEntry;

namespace {

class HostileClientTest : public medrec::testing::NotesServerTest
{
protected:
    void start(std::function<void(server::ServerOptions &)> adjust = {})
    {
        startServer(
            [](server::ServiceRegistry &r) {
                // The synchronisation of the connection the call runs on.
                r.add("TS_SYNC_S1", [](server::ServiceContext &ctx) {
                    sqlite3_stmt *stmt = nullptr;
                    sqlite3_prepare_v2(ctx.db(), "PRAGMA synchronous", -1, &stmt, nullptr);
                    if (sqlite3_step(stmt) == SQLITE_ROW)
                        ctx.reply().addInteger("L_CNT1", sqlite3_column_int(stmt, 0));
                    sqlite3_finalize(stmt);
                });
                // Writes, then reports a failure: its write must never be committed.
                r.add("TS_HALF_U1", [](server::ServiceContext &ctx) {
                    insertNote(ctx);
                    ctx.fail("절반만 처리했습니다.");
                });
            },
            std::move(adjust));
    }

    std::unique_ptr<tp::client::ClientSession> join(const std::string &user = "WS")
    {
        return NotesServerTest::join(user);
    }

    tp::Frame call(const char *service, std::uint32_t seq, std::uint32_t transaction, const std::string &text)
    {
        tp::Frame f = frame(tp::FrameKind::Call, seq);
        f.flavour = tp::Flavour::Fml;
        f.transaction = transaction;
        f.name = service;
        f.data = stringEntry(m_server->fields()->id("S_STRING1"), text);
        return f;
    }

    // A raw session joined and inside a transaction; its number.
    std::uint32_t beginRaw(RawClient &raw)
    {
        raw.send(initFrame());
        auto joined = raw.receive();
        EXPECT_TRUE(joined && joined->status == 0);
        raw.send(frame(tp::FrameKind::Begin, 2));
        auto begun = raw.receive();
        EXPECT_TRUE(begun && begun->status == 0);
        return begun ? begun->transaction : 0;
    }

    std::string notes() { return m_server->queryText("SELECT coalesce(group_concat(text), '') FROM notes"); }
};

TEST_F(HostileClientTest, AFailedCallMakesItsTransactionRollbackOnlyOnTheWire)
{
    start();
    RawClient raw(m_server->port());
    const std::uint32_t tx = beginRaw(raw);
    struct Step
    {
        const char *what;
        tp::Frame request;
        int status;
    } steps[] = {
        {"a write", call("TS_NOTE_U1", 3, tx, "first"), 0},
        {"a service failure", call("TS_HALF_U1", 4, tx, "half"), TPESVCFAIL},
        {"a call after it", call("TS_NOTE_U1", 5, tx, "after"), TPETRAN},
        {"the commit", [tx] {
             tp::Frame f = frame(tp::FrameKind::Commit, 6);
             f.transaction = tx;
             return f;
         }(),
         TPEABORT},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.what);
        raw.send(step.request);
        auto reply = raw.receive();
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->sequence, step.request.sequence);
        EXPECT_EQ(reply->status, step.status) << reply->name;
    }
    EXPECT_EQ(notes(), "");
    // The write lock was released at the failure: another workstation writes at once.
    auto other = join();
    ASSERT_EQ(other->begin(10, 0), 0) << tp::client::lastErrorDetail();
    ASSERT_EQ(other->commit(0), 0);
}

TEST_F(HostileClientTest, AFailedCallThroughTheLibraryCannotBeCommittedAndARetryWritesOnce)
{
    start();
    auto s = join();
    auto fields = m_server->fields();
    char *b = tp::client::allocate("FML", nullptr, 1024);
    std::string row = "row";
    ASSERT_EQ(Fchg(reinterpret_cast<FBFR *>(b), fields->id("S_STRING1"), 0, row.data(), 0), 1);

    ASSERT_EQ(s->begin(10, 0), 0);
    EXPECT_EQ(s->call("TS_HALF_U1", b, &b, nullptr, 0), -1);
    EXPECT_TRUE(s->rollbackOnly());
    EXPECT_EQ(s->call("TS_NOTE_U1", b, &b, nullptr, 0), -1);
    EXPECT_EQ(tp::client::lastError(), TPETRAN);
    EXPECT_EQ(s->commit(0), -1);
    EXPECT_EQ(tp::client::lastError(), TPEABORT);
    EXPECT_NE(tp::client::lastErrorDetail().find("TS_HALF_U1"), std::string::npos) << tp::client::lastErrorDetail();

    // The print run's path: tpabort after the failed call succeeds and ends it.
    ASSERT_EQ(s->begin(10, 0), 0);
    EXPECT_EQ(s->call("TS_HALF_U1", b, &b, nullptr, 0), -1);
    EXPECT_EQ(s->abort(0), 0);

    ASSERT_EQ(s->begin(10, 0), 0) << tp::client::lastErrorDetail();
    ASSERT_EQ(Fchg(reinterpret_cast<FBFR *>(b), fields->id("S_STRING1"), 0, row.data(), 0), 1);
    ASSERT_EQ(s->call("TS_NOTE_U1", b, &b, nullptr, 0), 0) << tp::client::lastErrorDetail();
    ASSERT_EQ(s->commit(0), 0) << tp::client::lastErrorDetail();
    EXPECT_EQ(notes(), "row");
    tp::client::release(b);
}

TEST_F(HostileClientTest, SilentAndStalledConnectionsAreClosed)
{
    start([](server::ServerOptions &o) {
        o.initTimeout = std::chrono::milliseconds(300);
        o.stallTimeout = std::chrono::milliseconds(300);
    });
    auto good = join();
    auto u32 = [](std::uint32_t v) { return std::string(reinterpret_cast<const char *>(&v), 4); };
    const std::string init = tp::encodeFrame(initFrame());
    struct Case
    {
        const char *what;
        bool joinFirst;
        std::string bytes;
    } cases[] = {
        {"sends nothing", false, ""},
        {"stops inside its Init", false, init.substr(0, 10)},
        {"stops inside its length prefix", true, u32(200).substr(0, 2)},
        {"announces the largest frame and sends one byte", true,
         u32(static_cast<std::uint32_t>(tp::kMaxFrameBody)) + "x"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        RawClient raw(m_server->port());
        if (c.joinFirst) {
            raw.send(initFrame());
            ASSERT_TRUE(raw.receive());
        }
        if (!c.bytes.empty())
            raw.send(c.bytes);
        EXPECT_TRUE(raw.closedByServer());
    }
    // A joined session that is quiet between calls is not idle-closed by default.
    char *b = tp::client::allocate("FML", nullptr, 1024);
    EXPECT_EQ(good->call("TP_PING", b, &b, nullptr, TPNOTRAN), 0) << tp::client::lastErrorDetail();
    tp::client::release(b);
}

TEST_F(HostileClientTest, ALargeReplyIsFinishedBeforeABadFrameClosesAndCarriesStatlin)
{
    start();
    const FLDID text = m_server->fields()->id("S_STRING1");
    const FLDID statlin = m_server->fields()->id("STATLIN");
    // A 60 KB echo, and one whose echo leaves no room for "STATLIN" in an FML buffer.
    for (std::size_t size : {std::size_t{60000}, std::size_t{65400}}) {
        SCOPED_TRACE(size);
        RawClient raw(m_server->port());
        raw.send(initFrame());
        ASSERT_TRUE(raw.receive());
        tp::Frame ping = frame(tp::FrameKind::Call, 2);
        ping.flavour = tp::Flavour::Fml;
        ping.name = "TP_PING";
        ping.data = stringEntry(text, std::string(size, 'x'));
        // The bad frame (a length below any frame's) follows at once, before the client
        // reads a byte of the reply.
        raw.send(tp::encodeFrame(ping) + std::string(4, '\x01'));
        auto reply = raw.receive();
        ASSERT_TRUE(reply);
        std::unique_ptr<char[]> storage(new char[tp::fb::kHeaderSize + reply->data.size()]);
        auto *buffer = reinterpret_cast<Fbfr *>(storage.get());
        tp::fb::init(buffer, tp::fb::kHeaderSize + reply->data.size());
        ASSERT_EQ(tp::fb::assign(buffer, reply->data), 0);
        EXPECT_TRUE(tp::fb::find(buffer, statlin, 0)) << "status " << reply->status;
        if (reply->status == 0) {
            EXPECT_TRUE(tp::fb::find(buffer, text, 0));
        }
        EXPECT_TRUE(raw.closedByServer());
    }
}

TEST_F(HostileClientTest, AnIdleSessionIsClosedAndItsTransactionRolledBack)
{
    start([](server::ServerOptions &o) { o.idleTimeout = std::chrono::seconds(1); });
    RawClient raw(m_server->port());
    const std::uint32_t tx = beginRaw(raw);
    raw.send(call("TS_NOTE_U1", 3, tx, "idle"));
    auto reply = raw.receive();
    ASSERT_TRUE(reply);
    ASSERT_EQ(reply->status, 0);
    EXPECT_TRUE(raw.closedByServer()); // then says nothing more
    EXPECT_EQ(notes(), "");
    auto other = join();
    ASSERT_EQ(other->begin(10, 0), 0) << tp::client::lastErrorDetail();
    ASSERT_EQ(other->abort(0), 0);
}

TEST_F(HostileClientTest, AClientThatDoesNotReadItsRepliesIsHeldBack)
{
    start();
    RawClient raw(m_server->port());
    const int small = 65536; // the replies back up soon
    setsockopt(raw.fd(), SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    raw.send(initFrame());
    ASSERT_TRUE(raw.receive());

    // 200 MB of pipelined calls: far more than the kernel buffers hold, so the client can
    // only push them all if the server keeps reading without answering.
    constexpr std::uint32_t kCalls = 1000;
    tp::Frame big = call("TP_PING", 0, 0, std::string(200000, 'p'));
    big.flavour = tp::Flavour::Fml32;
    std::string wire;
    std::size_t sentBeforeReading = 0;
    bool blocked = false;
    std::uint32_t next = 2, answered = 0;
    std::size_t offset = 0;
    while (answered < kCalls) {
        if (offset == wire.size() && next < 2 + kCalls) {
            big.sequence = next++;
            wire = tp::encodeFrame(big);
            offset = 0;
        }
        if (offset < wire.size()) {
            std::size_t n = raw.sendSome(std::string_view(wire).substr(offset));
            offset += n;
            if (!blocked)
                sentBeforeReading += n;
            if (n > 0)
                continue;
            blocked = true;
        }
        auto reply = raw.receive();
        ASSERT_TRUE(reply) << "after " << answered << " replies";
        ASSERT_EQ(reply->sequence, 2 + answered); // in order, none lost
        ASSERT_EQ(reply->status, 0);
        ++answered;
    }
    EXPECT_TRUE(blocked);
    EXPECT_LT(sentBeforeReading, std::size_t(kCalls) * wire.size() / 2);
}

TEST_F(HostileClientTest, RepliesQueuedAtCloseAreSent)
{
    start();
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        // A commit with the half-close right behind it.
        RawClient raw(m_server->port());
        const std::uint32_t tx = beginRaw(raw);
        tp::Frame commit = frame(tp::FrameKind::Commit, 4);
        commit.transaction = tx;
        raw.send(tp::encodeFrame(call("TS_NOTE_U1", 3, tx, "r" + std::to_string(round))) + tp::encodeFrame(commit));
        raw.shutdownWrite();
        auto written = raw.receive();
        auto committed = raw.receive();
        ASSERT_TRUE(written && committed);
        EXPECT_EQ(written->status, 0);
        EXPECT_EQ(committed->sequence, 4u);
        EXPECT_EQ(committed->status, 0) << committed->name;
        EXPECT_TRUE(raw.closedByServer());

        // A valid call with a bad frame behind it in the same write.
        RawClient second(m_server->port());
        second.send(tp::encodeFrame(initFrame()) + tp::encodeFrame(call("TP_PING", 2, 0, "x")) +
                    std::string("\x03\0\0\0abc", 7));
        auto joined = second.receive();
        auto pinged = second.receive();
        ASSERT_TRUE(joined && pinged);
        EXPECT_EQ(pinged->sequence, 2u);
        EXPECT_EQ(pinged->status, 0);
        EXPECT_TRUE(second.closedByServer());
    }
    EXPECT_EQ(std::stoi(m_server->queryText("SELECT count(*) FROM notes")), 20);
}

TEST_F(HostileClientTest, EveryConnectionCommitsWithFullSynchronisation)
{
    start();
    auto s = join();
    for (long flags : {long(TPNOTRAN), 0L}) {
        SCOPED_TRACE(flags ? "outside a transaction" : "inside one");
        if (!flags) {
            ASSERT_EQ(s->begin(10, 0), 0);
        }
        char *b = tp::client::allocate("FML", nullptr, 1024);
        ASSERT_EQ(s->call("TS_SYNC_S1", b, &b, nullptr, flags), 0) << tp::client::lastErrorDetail();
        EXPECT_EQ(Fvall(reinterpret_cast<FBFR *>(b), m_server->fields()->id("L_CNT1"), 0), 2); // FULL
        tp::client::release(b);
    }
    ASSERT_EQ(s->commit(0), 0);
}

// The socket options of the open descriptors of this process that are TCP connections
// with the given port at one end (local or remote).
struct SocketEnd
{
    bool serverSide;
    int keepAlive, idle, interval, probes;
};

std::vector<SocketEnd> connectionsOfPort(unsigned short port)
{
    std::vector<SocketEnd> out;
    DIR *dir = opendir("/proc/self/fd");
    while (dir) {
        dirent *e = readdir(dir);
        if (!e)
            break;
        int fd = std::atoi(e->d_name);
        sockaddr_in local{}, remote{};
        socklen_t ll = sizeof local, rl = sizeof remote;
        if (fd <= 2 || getsockname(fd, reinterpret_cast<sockaddr *>(&local), &ll) != 0 ||
            local.sin_family != AF_INET || getpeername(fd, reinterpret_cast<sockaddr *>(&remote), &rl) != 0)
            continue;
        const bool serverSide = ntohs(local.sin_port) == port;
        if (!serverSide && ntohs(remote.sin_port) != port)
            continue;
        SocketEnd end{serverSide, 0, 0, 0, 0};
        socklen_t len = sizeof(int);
        getsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &end.keepAlive, &len);
        getsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &end.idle, &len);
        getsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &end.interval, &len);
        getsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &end.probes, &len);
        out.push_back(end);
    }
    if (dir)
        closedir(dir);
    return out;
}

TEST_F(HostileClientTest, BothEndsUseKeepAlive)
{
    start();
    auto s = join();
    char *b = tp::client::allocate("FML", nullptr, 1024);
    ASSERT_EQ(s->call("TP_PING", b, &b, nullptr, TPNOTRAN), 0); // the server side is set up by now
    tp::client::release(b);
    const auto ends = connectionsOfPort(m_server->port());
    ASSERT_EQ(ends.size(), 2u);
    for (const auto &end : ends) {
        SCOPED_TRACE(end.serverSide ? "server side" : "client side");
        EXPECT_EQ(end.keepAlive, 1);
        EXPECT_EQ(end.idle, 60);
        EXPECT_EQ(end.interval, 10);
        EXPECT_EQ(end.probes, 5);
    }
}

// The real program under a descriptor limit the test sets in the child only.
std::unique_ptr<medrec::testing::ServerProcess> serverWithLimit(rlim_t soft, rlim_t hard,
                                                                std::vector<std::string> args)
{
    medrec::testing::ServerProcessOptions options;
    options.extraArgs = std::move(args);
    options.captureLog = true;
    options.beforeExec = [soft, hard] {
        rlimit limit{soft, hard};
        setrlimit(RLIMIT_NOFILE, &limit);
    };
    return std::make_unique<medrec::testing::ServerProcess>(std::move(options));
}

// Joins one raw connection after the other, each kept open; the status of each Init reply
// (-1 when the connection was closed without one).
std::vector<int> joinRaw(unsigned short port, int count, std::vector<std::unique_ptr<RawClient>> &keep)
{
    std::vector<int> statuses;
    for (int i = 0; i < count; ++i) {
        auto raw = std::make_unique<RawClient>(port);
        raw->send(initFrame());
        auto reply = raw->receive();
        statuses.push_back(reply ? reply->status : -1);
        keep.push_back(std::move(raw));
    }
    return statuses;
}

TEST(DescriptorLimitTest, TheSoftLimitIsRaisedToTheHardOne)
{
    auto process = serverWithLimit(256, 1024, {});
    std::vector<std::unique_ptr<RawClient>> open;
    const auto statuses = joinRaw(process->port(), 300, open);
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), 0), 300);
}

TEST(DescriptorLimitTest, SessionsBeyondTheMaximumAreRefusedWithAMessage)
{
    auto process = serverWithLimit(256, 256, {"--max-sessions", "100"});
    std::vector<std::unique_ptr<RawClient>> open;
    const auto statuses = joinRaw(process->port(), 120, open);
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), 0), 100);
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), TPELIMIT), 20);

    tp::SiteEnvironment env;
    env.port = process->port();
    env.fieldTable = medrec::testing::defaultFieldTablePath();
    EXPECT_FALSE(tp::client::ClientSession::join(env, "LATE", "127.0.0.1", TPU_DIP));
    EXPECT_EQ(tp::client::lastError(), TPELIMIT);
    EXPECT_NE(tp::client::lastErrorDetail().find("at most 100 sessions"), std::string::npos)
        << tp::client::lastErrorDetail();
    // One leaves: the next workstation gets its place once the server has seen it go.
    open.front()->closeNow();
    std::unique_ptr<tp::client::ClientSession> late;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!late && std::chrono::steady_clock::now() < deadline)
        late = tp::client::ClientSession::join(env, "LATE", "127.0.0.1", TPU_DIP);
    EXPECT_TRUE(late) << tp::client::lastErrorDetail();
}

TEST(DescriptorLimitTest, ConnectionsThatNeverJoinDoNotKeepWorkstationsOut)
{
    // 256 descriptors; 300 connections that say nothing and 60 that stop inside their Init.
    auto process = serverWithLimit(256, 256, {"--log-level", "warning"});
    std::vector<std::unique_ptr<RawClient>> silent;
    const std::string init = tp::encodeFrame(initFrame());
    for (int i = 0; i < 360; ++i) {
        silent.push_back(std::make_unique<RawClient>(process->port()));
        if (i % 6 == 0)
            silent.back()->send(init.substr(0, 10));
    }
    tp::SiteEnvironment env;
    env.port = process->port();
    env.fieldTable = medrec::testing::defaultFieldTablePath();
    env.callTimeoutSeconds = 10;
    std::vector<std::unique_ptr<tp::client::ClientSession>> workstations;
    for (int i = 0; i < 4; ++i) {
        workstations.push_back(tp::client::ClientSession::join(env, "WS" + std::to_string(i), "127.0.0.1", TPU_DIP));
        EXPECT_TRUE(workstations.back()) << tp::client::lastErrorDetail();
    }
    // Up to the session limit they still join; the one beyond it reads why it is refused.
    std::vector<std::unique_ptr<RawClient>> joined;
    const auto statuses = joinRaw(process->port(), 250, joined);
    EXPECT_GT(std::count(statuses.begin(), statuses.end(), 0), 150);
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), -1), 0);
    EXPECT_FALSE(tp::client::ClientSession::join(env, "LATE", "127.0.0.1", TPU_DIP));
    EXPECT_EQ(tp::client::lastError(), TPELIMIT);
    EXPECT_NE(tp::client::lastErrorDetail().find("the service host serves at most"), std::string::npos)
        << tp::client::lastErrorDetail();
}

TEST(DescriptorLimitTest, RunningOutOfDescriptorsNeitherSpinsNorFloodsTheLog)
{
    // An administrator's --max-sessions beyond what 256 descriptors allow. Warnings only: at
    // the default level every session start and end is a line of its own.
    auto process = serverWithLimit(256, 256, {"--max-sessions", "1000", "--log-level", "warning"});
    {
        std::vector<std::unique_ptr<RawClient>> flood;
        for (int i = 0; i < 300; ++i) {
            flood.push_back(std::make_unique<RawClient>(process->port()));
            flood.back()->send(initFrame());
        }
        // Wait until the server has run out of descriptors.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (process->log().find("accept failed") == std::string::npos &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_NE(process->log().find("accept failed"), std::string::npos);
    }
    // Once they are gone, a workstation joins again.
    tp::SiteEnvironment env;
    env.port = process->port();
    env.fieldTable = medrec::testing::defaultFieldTablePath();
    auto s = tp::client::ClientSession::join(env, "AFTER", "127.0.0.1", TPU_DIP);
    ASSERT_TRUE(s) << tp::client::lastErrorDetail();
    s->term();
    process->stop();
    const std::string log = process->log();
    EXPECT_LT(std::count(log.begin(), log.end(), '\n'), 100) << log.substr(0, 2000);
}

} // namespace
