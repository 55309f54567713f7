// medrec-test-relay TARGET_PORT CAPTURE_FILE: a TCP relay on 127.0.0.1 that forwards every
// connection to 127.0.0.1:TARGET_PORT and appends every byte it passes, both ways, to
// CAPTURE_FILE, as anyone on the network between a workstation and the service host could.
// Prints "listening PORT" first; runs until killed.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

int connectTo(unsigned short port)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

struct Pair
{
    int a;
    int b;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: medrec-test-relay TARGET_PORT CAPTURE_FILE\n");
        return 2;
    }
    const auto target = static_cast<unsigned short>(std::atoi(argv[1]));
    FILE *capture = std::fopen(argv[2], "ab");
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (!capture || bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        listen(listener, 16) != 0 || getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        std::perror("medrec-test-relay");
        return 1;
    }
    std::printf("listening %u\n", ntohs(address.sin_port));
    std::fflush(stdout);
    std::vector<Pair> pairs;
    for (;;) {
        std::vector<pollfd> fds = {{listener, POLLIN, 0}};
        for (const Pair &p : pairs) {
            fds.push_back({p.a, POLLIN, 0});
            fds.push_back({p.b, POLLIN, 0});
        }
        if (poll(fds.data(), fds.size(), -1) < 0)
            continue;
        std::vector<Pair> open;
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            bool alive = true;
            for (int side = 0; side < 2 && alive; ++side) {
                const pollfd &p = fds[1 + 2 * i + side];
                if (!(p.revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                char buffer[65536];
                const ssize_t n = read(p.fd, buffer, sizeof buffer);
                const int other = side == 0 ? pairs[i].b : pairs[i].a;
                if (n <= 0) {
                    alive = false;
                    break;
                }
                std::fwrite(buffer, 1, static_cast<std::size_t>(n), capture);
                for (ssize_t sent = 0; sent < n;) {
                    const ssize_t w = write(other, buffer + sent, static_cast<std::size_t>(n - sent));
                    if (w <= 0) {
                        alive = false;
                        break;
                    }
                    sent += w;
                }
            }
            if (alive) {
                open.push_back(pairs[i]);
            } else {
                close(pairs[i].a);
                close(pairs[i].b);
            }
        }
        // A new connection joins after the pairs polled: fds holds none of its sockets yet.
        if (fds[0].revents & POLLIN) {
            const int client = accept(listener, nullptr, nullptr);
            const int server = client >= 0 ? connectTo(target) : -1;
            if (server >= 0)
                open.push_back({client, server});
            else if (client >= 0)
                close(client);
        }
        pairs.swap(open);
        std::fflush(capture);
    }
}
