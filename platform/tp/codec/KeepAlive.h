#pragma once

// TCP keep-alive for the connections of both ends, so a peer that vanished without a word
// (power cut, cable pulled) is noticed and its session ended instead of held for ever.

#include <chrono>
#include <string>

namespace medrec::tp {

struct KeepAlive
{
    // The first probe after the connection has been quiet this long, then one every
    // interval; the peer is given up after `probes` unanswered ones (here after 110 s).
    std::chrono::seconds idle{60};
    std::chrono::seconds interval{10};
    int probes = 5;
};

// Turns keep-alive on for the connected socket; false with *error when the system refuses.
bool enableKeepAlive(int socketFd, const KeepAlive &settings, std::string *error);

} // namespace medrec::tp
