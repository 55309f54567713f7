#pragma once

// What the other server layers plug into medrec-server. server/store and server/services
// define these functions; server/CMakeLists.txt links them into the program when those
// folders exist (MEDREC_SERVER_HAS_STORE / MEDREC_SERVER_HAS_SERVICES), so the program
// builds, and serves its built-in services, without them.

#include <string>

struct sqlite3;

namespace medrec::server {

class ServiceRegistry;
class SubcommandTable;

namespace hooks {

// server/store: adds its subcommands ("import", "history", ...).
void addStoreSubcommands(SubcommandTable &table);

// server/store: brings a database up to the current schema. Called once when the server
// starts, on its own connection, before any session is served. False (with *error set)
// stops the server.
bool prepareDatabase(sqlite3 *db, std::string *error);

// server/services: registers the domain service handlers.
void registerDomainServices(ServiceRegistry &registry);

// server/services: adds its subcommands ("services").
void addServiceSubcommands(SubcommandTable &table);

} // namespace hooks
} // namespace medrec::server
