#include "ServeCommand.h"

#include "BuiltinServices.h"
#include "DataPaths.h"
#include "ServeConfig.h"
#include "Server.h"
#include "codec/FieldTable.h"
#include "system/DescriptorLimit.h"
#include "system/ServiceStop.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>

namespace medrec::server {

namespace {

constexpr const char *kUsage = "serve [--config FILE] --db FILE [--listen HOST:PORT] [OPTION...] (see --help)";

int usage(const std::string &why)
{
    std::cerr << "medrec-server: " << why << "\nusage: medrec-server " << kUsage << "\n";
    return 2;
}

std::optional<unsigned long> number(const char *text, unsigned long low, unsigned long high)
{
    unsigned long n = 0;
    if (!text || !*text)
        return std::nullopt;
    auto [end, ec] = std::from_chars(text, text + std::strlen(text), n);
    if (ec != std::errc{} || *end != '\0' || n < low || n > high)
        return std::nullopt;
    return n;
}

// An option taking a whole number from low to high, stored by set.
ServeOption numberOption(std::string name, std::string help, unsigned long low, unsigned long high,
                         std::function<void(ServeSettings &, unsigned long)> set)
{
    std::string error = name + " needs a number from " + std::to_string(low) + " to " + std::to_string(high);
    return ServeOption{std::move(name), "N", std::move(help),
                       [low, high, set = std::move(set), error](ServeSettings &s,
                                                                 const char *v) -> std::optional<std::string> {
                           auto n = number(v, low, high);
                           if (!n)
                               return error;
                           set(s, *n);
                           return std::nullopt;
                       }};
}

// An option naming a file, stored where field says.
ServeOption fileOption(std::string name, std::string help, std::function<std::string &(ServeSettings &)> field)
{
    std::string error = name + " needs a file";
    return ServeOption{std::move(name), "FILE", std::move(help),
                       [field = std::move(field), error](ServeSettings &s, const char *v) -> std::optional<std::string> {
                           if (!v || !*v)
                               return error;
                           field(s) = v;
                           return std::nullopt;
                       }};
}

} // namespace

const std::vector<ServeOption> &serveOptions()
{
    using std::chrono::milliseconds;
    using std::chrono::seconds;
    static const std::vector<ServeOption> options = {
        {"--db", "FILE", "the database file (created when missing); required",
         [](ServeSettings &s, const char *v) -> std::optional<std::string> {
             if (!v || !*v)
                 return "--db needs a file";
             s.server.databasePath = v;
             return std::nullopt;
         }},
        {"--listen", "HOST:PORT", "where to accept workstations (default 127.0.0.1:8600; port 0: any free port)",
         [](ServeSettings &s, const char *v) -> std::optional<std::string> {
             auto parsed = v ? parseListenAddress(v) : std::nullopt;
             if (!parsed)
                 return "--listen needs HOST:PORT";
             s.listen = *parsed;
             return std::nullopt;
         }},
        {"--fields", "FILE", "the field table (default $MEDREC_FIELD_TABLE, else the installed one)",
         [](ServeSettings &s, const char *v) -> std::optional<std::string> {
             if (!v || !*v)
                 return "--fields needs a file";
             s.fieldsPath = v;
             return std::nullopt;
         }},
        numberOption("--threads", "worker threads (default 4)", 1, 256,
                     [](ServeSettings &s, unsigned long n) { s.server.threads = static_cast<unsigned>(n); }),
        numberOption("--max-sessions",
                     "connections served at once; one more is refused with a message (default: what the "
                     "open-file limit leaves room for, at most " +
                         std::to_string(kDefaultMaxSessions) + ")",
                     1, 1000000, [](ServeSettings &s, unsigned long n) { s.server.maxSessions = n; }),
        numberOption("--init-timeout", "seconds a new connection has to join (default 5)", 1, 3600,
                     [](ServeSettings &s, unsigned long n) { s.server.initTimeout = seconds(n); }),
        numberOption("--stall-timeout",
                     "seconds a frame half sent or a reply half read may stand still before the connection "
                     "is closed (default 10)",
                     1, 3600, [](ServeSettings &s, unsigned long n) { s.server.stallTimeout = seconds(n); }),
        numberOption("--idle-timeout",
                     "seconds a session may send nothing before it is closed and its transaction rolled "
                     "back (default 0: never)",
                     0, 604800, [](ServeSettings &s, unsigned long n) { s.server.idleTimeout = seconds(n); }),
        numberOption("--transaction-timeout", "seconds a transaction begun without a time-out may stay open (default 30)",
                     1, 86400,
                     [](ServeSettings &s, unsigned long n) { s.server.defaultTransactionTimeout = seconds(n); }),
        numberOption("--max-transaction-timeout", "the longest time-out a client may ask for, in seconds (default 600)",
                     1, 86400, [](ServeSettings &s, unsigned long n) { s.server.maxTransactionTimeout = seconds(n); }),
        numberOption("--max-unjoined",
                     "connections that have not joined yet, at most; the oldest gives way to a new one "
                     "(default: an eighth of --max-sessions, at least 4)",
                     1, 1000000, [](ServeSettings &s, unsigned long n) { s.server.maxUnjoined = n; }),
        fileOption("--tls-cert", "the service host's certificate (PEM); with --tls-key and --tls-ca it serves TLS 1.3",
                   [](ServeSettings &s) -> std::string & { return s.server.tls.certificate; }),
        fileOption("--tls-key", "the key of --tls-cert (PEM, no pass phrase)",
                   [](ServeSettings &s) -> std::string & { return s.server.tls.key; }),
        fileOption("--tls-ca", "the site's CA certificate (PEM): only workstations with a certificate it signed join",
                   [](ServeSettings &s) -> std::string & { return s.server.tls.ca; }),
        fileOption("--tls-crl",
                   "the site's certificate revocation list (PEM); read again when it changes",
                   [](ServeSettings &s) -> std::string & { return s.server.tls.revocationList; }),
        {"--insecure-plain-tcp", "",
         "serve plain TCP on an address other than loopback: anyone on the network can read the patients' data",
         [](ServeSettings &s, const char *) -> std::optional<std::string> {
             s.server.insecurePlainTcp = true;
             return std::nullopt;
         }},
        {"--log-level", "LEVEL",
         "error, warning, info (the default: start and stop, session starts and ends, failures) or debug "
         "(also every call)",
         [](ServeSettings &s, const char *v) -> std::optional<std::string> {
             if (!v || !parseLogLevel(v, &s.server.logLevel))
                 return "--log-level needs error, warning, info or debug";
             return std::nullopt;
         }},
        {"--no-row-continuation", "",
         "answer every call in one reply, as a service host that never continues: rows that do not fit "
         "the caller's buffer are refused rather than sent in further replies",
         [](ServeSettings &s, const char *) -> std::optional<std::string> {
             s.server.continueRows = false;
             return std::nullopt;
         }},
        {"--quiet", "", "log errors only (--log-level error)",
         [](ServeSettings &s, const char *) -> std::optional<std::string> {
             s.server.logLevel = LogLevel::Error;
             return std::nullopt;
         }},
    };
    return options;
}

std::optional<std::string> applyServeOption(ServeSettings &settings, std::string_view name, const char *value)
{
    for (const auto &option : serveOptions())
        if (option.name == name)
            return option.apply(settings, value);
    return "unknown option " + std::string(name);
}

std::string serveOptionsHelp()
{
    std::string out = "options of serve:\n";
    for (const auto &option : serveOptions()) {
        std::string head = "  " + option.name + (option.value.empty() ? "" : " " + option.value);
        head.resize(std::max<std::size_t>(head.size() + 2, 26), ' ');
        out += head + option.help + "\n";
    }
    return out;
}

std::optional<ListenAddress> parseListenAddress(std::string_view text)
{
    ListenAddress out;
    std::string_view portText = text;
    if (!text.empty() && text.front() == '[') {
        std::size_t close = text.find(']');
        if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':')
            return std::nullopt;
        out.host = std::string(text.substr(1, close - 1));
        portText = text.substr(close + 2);
    } else if (std::size_t colon = text.rfind(':'); colon != std::string_view::npos) {
        if (colon > 0)
            out.host = std::string(text.substr(0, colon));
        portText = text.substr(colon + 1);
    }
    unsigned port = 0;
    auto [end, ec] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (portText.empty() || ec != std::errc{} || end != portText.data() + portText.size() || port > 65535 ||
        out.host.empty())
        return std::nullopt;
    out.port = static_cast<unsigned short>(port);
    return out;
}

Subcommand serveCommand(std::function<void(ServiceRegistry &)> registerServices,
                        std::function<bool(sqlite3 *, std::string *)> prepare)
{
    return Subcommand{
        "serve", kUsage, [registerServices, prepare](int argc, char **argv) -> int {
            ServeSettings settings;
            std::string why;
            ServeArguments expanded;
            if (!expanded.expand(argc, argv, &why))
                return usage(why);
            argc = expanded.argc();
            argv = expanded.argv();
            for (int i = 1; i < argc; ++i) {
                std::string arg = argv[i];
                if (arg == "--help" || arg == "-h") {
                    std::cout << "usage: medrec-server " << kUsage << "\n" << serveOptionsHelp();
                    return 0;
                }
                auto option = std::find_if(serveOptions().begin(), serveOptions().end(),
                                           [&](const ServeOption &o) { return o.name == arg; });
                if (option == serveOptions().end())
                    return usage("unknown argument " + arg);
                const char *value = nullptr;
                if (!option->value.empty()) {
                    if (i + 1 >= argc)
                        return usage(arg + " needs " + option->value);
                    value = argv[++i];
                }
                if (auto error = option->apply(settings, value))
                    return usage(*error);
            }
            ServerOptions &options = settings.server;
            if (options.databasePath.empty())
                return usage("--db is required");
            if (options.defaultTransactionTimeout > options.maxTransactionTimeout)
                return usage("--transaction-timeout is longer than --max-transaction-timeout");
            std::string fieldsPath = settings.fieldsPath;
            if (fieldsPath.empty())
                fieldsPath = paths::locate(paths::Data::FieldTable).string();
            if (fieldsPath.empty()) {
                std::cerr << "medrec-server: no field table: give --fields or set "
                          << paths::overrideVariable(paths::Data::FieldTable) << "\n";
                return 1;
            }
            auto table = tp::FieldTable::load(fieldsPath, &why);
            if (!table) {
                std::cerr << "medrec-server: " << why << "\n";
                return 1;
            }
            options.fields = std::make_shared<const tp::FieldTable>(std::move(*table));
            options.host = settings.listen.host;
            options.port = settings.listen.port;
            options.prepareDatabase = prepare;
            options.log = &std::cerr;
            platform::raiseOpenDescriptorLimit();

            ServiceRegistry registry;
            registerBuiltinServices(registry);
            if (registerServices)
                registerServices(registry);

            // Before the server's threads start: they leave the stop request to this one.
            platform::StopRequests stopRequests;

            Server server(std::move(options), std::move(registry));
            if (!server.start(&why)) {
                std::cerr << "medrec-server: " << why << "\n";
                return 1;
            }
            std::cout << "listening " << server.host() << ":" << server.port() << std::endl;
            server.log(LogLevel::Info, stopRequests.wait() + " received, stopping");
            server.stop();
            return 0;
        }};
}

} // namespace medrec::server
