#include "system/HostAddress.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>

namespace medrec::platform {

std::optional<std::array<unsigned char, 4>> hostIPv4Address()
{
    // Winsock answers only between WSAStartup and WSACleanup (they count, so this is safe
    // beside the middleware's own use).
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return std::nullopt;
    std::optional<std::array<unsigned char, 4>> result;
    char host[256] = {};
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo *found = nullptr;
    if (gethostname(host, sizeof host - 1) == 0 && getaddrinfo(host, nullptr, &hints, &found) == 0 && found) {
        const auto *address = reinterpret_cast<const sockaddr_in *>(found->ai_addr);
        std::array<unsigned char, 4> bytes;
        std::memcpy(bytes.data(), &address->sin_addr.s_addr, 4);
        result = bytes;
        freeaddrinfo(found);
    }
    WSACleanup();
    return result;
}

} // namespace medrec::platform
