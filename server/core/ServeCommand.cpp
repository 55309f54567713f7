#include "ServeCommand.h"

#include "BuiltinServices.h"
#include "DataPaths.h"
#include "ServeConfig.h"
#include "Server.h"
#include "codec/FieldTable.h"

#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <pthread.h>

namespace medrec::server {

namespace {

constexpr const char *kUsage = "serve [--config FILE] --db FILE [--listen HOST:PORT] [--fields FILE] [--threads N]\n"
                               "        [--transaction-timeout SECONDS] [--max-transaction-timeout SECONDS]\n"
                               "        [--log-level error|warning|info|debug] [--quiet]";

int usage(const std::string &why)
{
    std::cerr << "medrec-server: " << why << "\nusage: medrec-server " << kUsage << "\n";
    return 2;
}

} // namespace

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
            ServerOptions options;
            ListenAddress listen;
            std::string fieldsPath = paths::locate(paths::Data::FieldTable).string();
            std::string why;
            ServeArguments expanded;
            if (!expanded.expand(argc, argv, &why))
                return usage(why);
            argc = expanded.argc();
            argv = expanded.argv();
            for (int i = 1; i < argc; ++i) {
                std::string arg = argv[i];
                auto value = [&](const char *name) -> const char * {
                    if (i + 1 >= argc)
                        return nullptr;
                    (void)name;
                    return argv[++i];
                };
                if (arg == "--db") {
                    const char *v = value("--db");
                    if (!v)
                        return usage("--db needs a file");
                    options.databasePath = v;
                } else if (arg == "--listen") {
                    const char *v = value("--listen");
                    auto parsed = v ? parseListenAddress(v) : std::nullopt;
                    if (!parsed)
                        return usage("--listen needs HOST:PORT");
                    listen = *parsed;
                } else if (arg == "--fields") {
                    const char *v = value("--fields");
                    if (!v)
                        return usage("--fields needs a file");
                    fieldsPath = v;
                } else if (arg == "--threads") {
                    const char *v = value("--threads");
                    unsigned n = 0;
                    if (!v || std::from_chars(v, v + std::strlen(v), n).ec != std::errc{} || n == 0 || n > 256)
                        return usage("--threads needs a number from 1 to 256");
                    options.threads = n;
                } else if (arg == "--transaction-timeout" || arg == "--max-transaction-timeout") {
                    const char *v = value(arg.c_str());
                    unsigned seconds = 0;
                    if (!v || std::from_chars(v, v + std::strlen(v), seconds).ec != std::errc{} || seconds == 0 ||
                        seconds > 86400)
                        return usage(arg + " needs seconds from 1 to 86400");
                    (arg == "--transaction-timeout" ? options.defaultTransactionTimeout
                                                    : options.maxTransactionTimeout) = std::chrono::seconds(seconds);
                } else if (arg == "--log-level") {
                    const char *v = value("--log-level");
                    if (!v || !parseLogLevel(v, &options.logLevel))
                        return usage("--log-level needs error, warning, info or debug");
                } else if (arg == "--quiet") {
                    options.logLevel = LogLevel::Error;
                } else {
                    return usage("unknown argument " + arg);
                }
            }
            if (options.databasePath.empty())
                return usage("--db is required");
            if (options.defaultTransactionTimeout > options.maxTransactionTimeout)
                return usage("--transaction-timeout is longer than --max-transaction-timeout");
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
            options.host = listen.host;
            options.port = listen.port;
            options.prepareDatabase = prepare;
            options.log = &std::cerr;

            ServiceRegistry registry;
            registerBuiltinServices(registry);
            if (registerServices)
                registerServices(registry);

            // Worker threads inherit the blocked signals; this thread waits for them.
            sigset_t signals;
            sigemptyset(&signals);
            sigaddset(&signals, SIGINT);
            sigaddset(&signals, SIGTERM);
            pthread_sigmask(SIG_BLOCK, &signals, nullptr);
            std::signal(SIGPIPE, SIG_IGN);

            Server server(std::move(options), std::move(registry));
            if (!server.start(&why)) {
                std::cerr << "medrec-server: " << why << "\n";
                return 1;
            }
            std::cout << "listening " << server.host() << ":" << server.port() << std::endl;
            int received = 0;
            sigwait(&signals, &received);
            server.log(LogLevel::Info, std::string(received == SIGTERM ? "SIGTERM" : "SIGINT") + " received, stopping");
            server.stop();
            return 0;
        }};
}

} // namespace medrec::server
