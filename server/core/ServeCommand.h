#pragma once

// The "serve" subcommand (also what medrec-server runs when given only options):
//   medrec-server [serve] [--config FILE] --db FILE [--listen HOST:PORT] [--fields FILE]
//                 [--threads N] [--max-sessions N] [--init-timeout S] [--stall-timeout S]
//                 [--idle-timeout S] [--transaction-timeout S] [--max-transaction-timeout S]
//                 [--max-unjoined N] [--tls-cert FILE --tls-key FILE --tls-ca FILE [--tls-crl FILE]]
//                 [--insecure-plain-tcp] [--log-level LEVEL] [--quiet]
// Prints "listening HOST:PORT" (the actual port, also for port 0) as its first stdout line,
// then serves until SIGINT or SIGTERM, when it closes every session (rolling back open
// transactions) and the database. Field table: --fields, else $MEDREC_FIELD_TABLE, else the
// table installed with the program (DataPaths.h). At start the soft limit of open files is
// raised to the hard limit, so the sessions are bounded by --max-sessions, not by it. The
// log goes to stderr, one line an event, up to --log-level (default info; --quiet: errors).
//
// Every option stands in one table (serveOptions); a configuration file named by --config
// (ServeConfig.h) gives the same options, and the command line overrides it.

#include "Server.h"
#include "ServiceRegistry.h"
#include "Subcommand.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace medrec::server {

struct ListenAddress
{
    std::string host = "127.0.0.1";
    unsigned short port = 8600;
};

// "HOST:PORT", ":PORT", "PORT" or "[v6]:PORT"; nullopt when malformed.
std::optional<ListenAddress> parseListenAddress(std::string_view text);

// What the options of "serve" set.
struct ServeSettings
{
    ServerOptions server;
    ListenAddress listen;
    std::string fieldsPath; // empty: $MEDREC_FIELD_TABLE or the installed table
};

struct ServeOption
{
    std::string name;  // "--max-sessions"
    std::string value; // what it takes, as help shows it ("N"); empty for a switch
    std::string help;  // one line
    // Applies the value (null for a switch); an error text when it is not acceptable.
    std::function<std::optional<std::string>(ServeSettings &, const char *value)> apply;
};

const std::vector<ServeOption> &serveOptions();
// Applies one option by name; an error text for an unknown name or a bad value.
std::optional<std::string> applyServeOption(ServeSettings &settings, std::string_view name, const char *value);
// The options, one per line with their help, for --help.
std::string serveOptionsHelp();

// registerServices fills the registry (built-in services are added first); prepare
// brings the database's schema up to date (may be empty).
Subcommand serveCommand(std::function<void(ServiceRegistry &)> registerServices,
                        std::function<bool(sqlite3 *, std::string *)> prepare);

} // namespace medrec::server
