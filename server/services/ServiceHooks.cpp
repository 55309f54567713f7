// What the domain services plug into medrec-server: their registration and the
// "services" subcommand that lists them.

#include "ServiceTable.h"

#include "Hooks.h"
#include "Subcommand.h"

#include <iostream>

namespace medrec::server::hooks {

void registerDomainServices(ServiceRegistry &registry)
{
    for (const auto &entry : services::DomainServiceTable())
        registry.add(entry.name, entry.handler);
}

void addServiceSubcommands(SubcommandTable &table)
{
    table.add(Subcommand{"services", "services", [](int argc, char **) {
                             if (argc > 1) {
                                 std::cerr << "medrec-server services: takes no arguments\n";
                                 return 2;
                             }
                             std::cout << "service\tanswers from\tlooked up by\n" << services::DescribeServices();
                             return 0;
                         }});
}

} // namespace medrec::server::hooks
