#include "system/HostAddress.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <unistd.h>

#include <cstring>

namespace medrec::platform {

std::optional<std::array<unsigned char, 4>> hostIPv4Address()
{
    char host[255] = {};
    if (gethostname(host, sizeof host - 1) != 0)
        return std::nullopt;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo *found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found)
        return std::nullopt;
    const auto *address = reinterpret_cast<const sockaddr_in *>(found->ai_addr);
    std::array<unsigned char, 4> bytes;
    std::memcpy(bytes.data(), &address->sin_addr.s_addr, 4);
    freeaddrinfo(found);
    return bytes;
}

} // namespace medrec::platform
