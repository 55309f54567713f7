#pragma once

// The "serve" subcommand (also what medrec-server runs when given only options):
//   medrec-server [serve] --db FILE [--listen HOST:PORT] [--fields FILE] [--threads N] [--quiet]
// Prints "listening HOST:PORT" (the actual port, also for port 0) as its first stdout line,
// then serves until SIGINT or SIGTERM. Field table: --fields, else $MEDREC_FIELD_TABLE,
// else the table installed with the program.

#include "ServiceRegistry.h"
#include "Subcommand.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace medrec::server {

struct ListenAddress
{
    std::string host = "127.0.0.1";
    unsigned short port = 8600;
};

// "HOST:PORT", ":PORT", "PORT" or "[v6]:PORT"; nullopt when malformed.
std::optional<ListenAddress> parseListenAddress(std::string_view text);

// registerServices fills the registry (built-in services are added first); prepare
// brings the database's schema up to date (may be empty).
Subcommand serveCommand(std::function<void(ServiceRegistry &)> registerServices,
                        std::function<bool(sqlite3 *, std::string *)> prepare);

} // namespace medrec::server
