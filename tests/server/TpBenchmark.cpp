// Figures for the middleware: median round trip of a small tpcall to medrec-server on
// loopback beside a raw TCP echo of the same size measured in the same run, the
// client's resident memory once its session is open, and the server's resident memory
// under two floods: 990 connections that each announce the largest frame and send one
// byte of it, and 20,000 calls pipelined on one connection whose replies are not read.
// Prints, asserts nothing.
//
//   build/<dir>/tests/server/tp_benchmark [calls]

#include "TestSupport.h"

#include "atmi.h"
#include "codec/Frame.h"
#include "fml.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long residentKiB(const std::string &process = "self")
{
    std::ifstream status("/proc/" + process + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

double medianMicros(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// A blocking echo server on loopback; returns the round trips of `count` messages.
std::vector<double> echoRoundTrips(std::size_t bytes, int count)
{
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener, reinterpret_cast<sockaddr *>(&a), sizeof a);
    listen(listener, 1);
    socklen_t len = sizeof a;
    getsockname(listener, reinterpret_cast<sockaddr *>(&a), &len);
    std::thread echo([listener, bytes] {
        int fd = accept(listener, nullptr, nullptr);
        int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::vector<char> buf(bytes);
        while (recv(fd, buf.data(), bytes, MSG_WAITALL) == static_cast<ssize_t>(bytes))
            send(fd, buf.data(), bytes, MSG_NOSIGNAL);
        close(fd);
    });
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a);
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    std::vector<char> buf(bytes, 'x');
    std::vector<double> out;
    for (int i = 0; i < count + 100; ++i) {
        auto t0 = Clock::now();
        send(fd, buf.data(), bytes, MSG_NOSIGNAL);
        recv(fd, buf.data(), bytes, MSG_WAITALL);
        if (i >= 100)
            out.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    }
    close(fd);
    echo.join();
    close(listener);
    return out;
}

int connectTo(unsigned short port)
{
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

std::string joinFrame()
{
    medrec::tp::Frame init;
    init.kind = medrec::tp::FrameKind::Init;
    init.sequence = 1;
    init.data = std::string("BENCH\0" "127.0.0.1", 15);
    return medrec::tp::encodeFrame(init);
}

// The server's memory growth while `count` joined connections each announce the largest
// frame and send one byte of it.
long stalledFramesKiB(pid_t server, unsigned short port, int count)
{
    const long before = residentKiB(std::to_string(server));
    std::uint32_t largest = static_cast<std::uint32_t>(medrec::tp::kMaxFrameBody);
    std::string stall = joinFrame() + std::string(reinterpret_cast<const char *>(&largest), 4) + "x";
    std::vector<int> fds;
    for (int i = 0; i < count; ++i) {
        int fd = connectTo(port);
        if (fd < 0)
            break;
        send(fd, stall.data(), stall.size(), MSG_NOSIGNAL);
        fds.push_back(fd);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // let the server read them
    const long after = residentKiB(std::to_string(server));
    for (int fd : fds)
        close(fd);
    return after - before;
}

// Pipelines `count` small calls on one connection without reading a reply; the calls
// sent before the connection took no more (the kernel buffers hold many), and the
// server's memory growth.
std::pair<int, long> pipelinedCalls(pid_t server, unsigned short port, int count)
{
    const long before = residentKiB(std::to_string(server));
    int fd = connectTo(port);
    std::string join = joinFrame();
    send(fd, join.data(), join.size(), MSG_NOSIGNAL);
    medrec::tp::Frame call;
    call.kind = medrec::tp::FrameKind::Call;
    call.flavour = medrec::tp::Flavour::Fml;
    call.name = "TP_PING";
    int sent = 0;
    for (; sent < count; ++sent) {
        call.sequence = static_cast<std::uint32_t>(sent + 2);
        std::string bytes = medrec::tp::encodeFrame(call);
        pollfd p{fd, POLLOUT, 0};
        if (poll(&p, 1, 500) <= 0 || send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) <= 0)
            break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const long after = residentKiB(std::to_string(server));
    close(fd);
    return {sent, after - before};
}

} // namespace

int main(int argc, char **argv)
{
    int calls = argc > 1 ? std::max(100, std::atoi(argv[1])) : 2000;
    medrec::testing::ServerProcess server({"--quiet"});
    std::string env = medrec::testing::writeSiteEnvironment(server.directory(), "127.0.0.1", server.port());

    long before = residentKiB();
    std::vector<double> tp;
    std::size_t frameBytes = 0;
    {
        medrec::testing::AtmiSession session(env, "BENCH", "127.0.0.1");
        if (!session.ok()) {
            std::fprintf(stderr, "%s\n", session.error().c_str());
            return 1;
        }
        char fml[] = "FML";
        auto *b = reinterpret_cast<FBFR *>(tpalloc(fml, nullptr, 65532));
        long afterSession = residentKiB();
        const char *names[] = {"LOG_USERNAME", "LOG_CLTNAME", "LOG_FORMNAME", "S_PATNO"};
        const char *values[] = {"BENCH", "127.0.0.1", "MDG300F1", "00012345"};
        char svc[] = "TP_PING";
        for (int i = 0; i < calls + 100; ++i) {
            Finit(b, static_cast<FLDLEN>(Fsizeof(b)));
            for (int k = 0; k < 4; ++k)
                Fchg(b, Fldid(const_cast<char *>(names[k])), 0, const_cast<char *>(values[k]), 0);
            frameBytes = static_cast<std::size_t>(Fused(b));
            char *p = reinterpret_cast<char *>(b);
            long len = 0;
            auto t0 = Clock::now();
            int rc = tpcall(svc, p, 0, &p, &len, TPNOTRAN);
            auto t1 = Clock::now();
            b = reinterpret_cast<FBFR *>(p);
            if (rc == -1) {
                std::fprintf(stderr, "tpcall failed: %s\n", tpstrerror(gettperrno()));
                return 1;
            }
            if (i >= 100)
                tp.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
        }
        tpfree(reinterpret_cast<char *>(b));
        std::printf("client resident memory: %ld KiB before tpinit, %ld KiB with the session open and a "
                    "65,532-byte FML buffer (+%ld KiB)\n",
                    before, afterSession, afterSession - before);
    }
    auto echo = echoRoundTrips(frameBytes + 40, calls);
    std::printf("small tpcall round trip (TP_PING, %zu-byte field buffer, %d calls): median %.1f us\n",
                frameBytes, calls, medianMicros(tp));
    std::printf("raw TCP echo of %zu bytes on loopback (%d round trips):          median %.1f us\n",
                frameBytes + 40, calls, medianMicros(echo));
    std::printf("server memory with 990 connections each stalled one byte into a %s-byte frame: +%ld KiB\n",
                medrec::tp::withThousands(medrec::tp::kMaxFrameBody).c_str(),
                stalledFramesKiB(server.pid(), server.port(), 990));
    const auto [taken, grown] = pipelinedCalls(server.pid(), server.port(), 20000);
    std::printf("20,000 calls pipelined without reading a reply: %d sent, server memory +%ld KiB\n",
                taken, grown);
    return 0;
}
