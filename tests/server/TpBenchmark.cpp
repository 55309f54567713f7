// Memory figures for the middleware: the client's resident memory once its session is
// open, and the server's resident memory under two floods: 990 connections that each
// announce the largest frame and send one byte of it, and 20,000 calls pipelined on one
// connection whose replies are not read. Prints, asserts nothing. (What calls cost in time
// is service_call_benchmark's.)
//
//   build/<dir>/tests/server/tp_benchmark

#include "TestSupport.h"

#include "atmi.h"
#include "codec/Frame.h"
#include "fml.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {


long residentKiB(const std::string &process = "self")
{
    std::ifstream status("/proc/" + process + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
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

int main()
{
    medrec::testing::ServerProcess server({"--quiet"});
    std::string env = medrec::testing::writeSiteEnvironment(server.directory(), "127.0.0.1", server.port());

    const long before = residentKiB();
    {
        medrec::testing::AtmiSession session(env, "BENCH", "127.0.0.1");
        if (!session.ok()) {
            std::fprintf(stderr, "%s\n", session.error().c_str());
            return 1;
        }
        char fml[] = "FML";
        char *buffer = tpalloc(fml, nullptr, 65532);
        const long afterSession = residentKiB();
        tpfree(buffer);
        std::printf("client resident memory: %ld KiB before tpinit, %ld KiB with the session open and a "
                    "65,532-byte FML buffer (+%ld KiB)\n",
                    before, afterSession, afterSession - before);
    }
    std::printf("server memory with 990 connections each stalled one byte into a %s-byte frame: +%ld KiB\n",
                medrec::tp::withThousands(medrec::tp::kMaxFrameBody).c_str(),
                stalledFramesKiB(server.pid(), server.port(), 990));
    const auto [taken, grown] = pipelinedCalls(server.pid(), server.port(), 20000);
    std::printf("20,000 calls pipelined without reading a reply: %d sent, server memory +%ld KiB\n",
                taken, grown);
    return 0;
}
