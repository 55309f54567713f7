// medrec-server: the service host. Subcommands come from a table that the store layer
// extends (import, history, ...); with only options, or "serve", it serves.

#include "core/AuditCommand.h"
#include "core/Hooks.h"
#include "core/ServeCommand.h"
#include "core/Subcommand.h"

#include "Cp949.h"

#include <sqlite3.h>

#include <cstring>
#include <iostream>

namespace {

medrec::server::SubcommandTable commands()
{
    using namespace medrec::server;
    SubcommandTable table;
#ifdef MEDREC_SERVER_HAS_SERVICES
    auto registerServices = &hooks::registerDomainServices;
#else
    std::function<void(ServiceRegistry &)> registerServices;
#endif
#ifdef MEDREC_SERVER_HAS_STORE
    auto prepare = &hooks::prepareDatabase;
#else
    std::function<bool(sqlite3 *, std::string *)> prepare;
#endif
    table.add(serveCommand(registerServices, prepare));
    table.add(auditCommand());
#ifdef MEDREC_SERVER_HAS_STORE
    hooks::addStoreSubcommands(table);
#endif
#ifdef MEDREC_SERVER_HAS_SERVICES
    hooks::addServiceSubcommands(table);
#endif
    return table;
}

int help(const medrec::server::SubcommandTable &table)
{
    std::cout << "usage:\n";
    for (const auto &c : table.all())
        std::cout << "  medrec-server " << c.usage << "\n";
    std::cout << "  medrec-server --version\n" << medrec::server::serveOptionsHelp();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // SQLite's memory statistics take a process-wide lock on every allocation of every
    // connection; nothing here reads them.
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    auto table = commands();
    if (argc < 2)
        return help(table), 2;
    std::string first = argv[1];
    if (first == "help" || first == "--help" || first == "-h")
        return help(table);
    if (first == "--version")
        return std::cout << "medrec-server " << MEDREC_VERSION << "\n", 0;
    // Without the CP949 converter every Korean text would be stored and sent as '?'.
    if (const std::string problem = medrec::text::converterProblem(); !problem.empty()) {
        std::cerr << "medrec-server: " << problem << "\n";
        return 1;
    }
    if (first.rfind("--", 0) == 0)
        return table.find("serve")->run(argc, argv); // options only: serve
    const auto *command = table.find(first);
    if (!command) {
        std::cerr << "medrec-server: unknown subcommand " << first << "\n";
        help(table);
        return 2;
    }
    return command->run(argc - 1, argv + 1);
}
