#pragma once

// The "serve" subcommand (also what medrec-server runs when given only options):
//   medrec-server [serve] [--config FILE] --db FILE [--listen HOST:PORT] [--fields FILE]
//                 [--threads N] [--transaction-timeout S] [--max-transaction-timeout S]
//                 [--log-level LEVEL] [--quiet]
// The transaction time-outs: what tpbegin(0) gets (default 30 s) and the most a client may
// ask for (default 600 s).
// Prints "listening HOST:PORT" (the actual port, also for port 0) as its first stdout line,
// then serves until SIGINT or SIGTERM, when it closes every session (rolling back open
// transactions) and the database. Options can also come from a configuration file
// (ServeConfig.h); the command line overrides it. Field table: --fields, else
// $MEDREC_FIELD_TABLE, else the table installed with the program (DataPaths.h). The log
// goes to stderr, one line an event, up to --log-level (default info; --quiet: errors).

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
