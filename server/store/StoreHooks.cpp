// What the store plugs into medrec-server: its subcommands and the schema check at start.

#include "Commands.h"
#include "Schema.h"
#include "Sqlite.h"

#include "Hooks.h"
#include "Subcommand.h"

#include <iostream>

namespace medrec::server::hooks {

namespace {

std::vector<std::string> argumentsAfterName(int argc, char **argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return args;
}

} // namespace

void addStoreSubcommands(SubcommandTable &table)
{
    table.add(Subcommand{"import", "import --db FILE [--replace] DATA.json", [](int argc, char **argv) {
                             return store::runImport(argumentsAfterName(argc, argv), std::cout, std::cerr);
                         }});
    table.add(Subcommand{"history", "history --db FILE [--limit N]", [](int argc, char **argv) {
                             return store::runHistory(argumentsAfterName(argc, argv), std::cout, std::cerr);
                         }});
}

bool prepareDatabase(sqlite3 *db, std::string *error)
{
    try {
        store::configureConnection(db);
        return store::prepareSchema(db, error);
    } catch (const store::DbError &e) {
        if (error != nullptr)
            *error = e.what();
        return false;
    }
}

} // namespace medrec::server::hooks
