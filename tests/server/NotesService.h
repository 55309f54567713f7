#pragma once

// A table of notes and the service that writes one, for tests of transactions, and a
// fixture serving them.

#include "ServiceRegistry.h"
#include "TestSupport.h"

#include "client/ClientSession.h"
#include "codec/Environment.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

struct sqlite3;

namespace medrec::testing {

// prepareDatabase: CREATE TABLE notes(text).
bool createNotesTable(sqlite3 *db, std::string *error);
// "TS_NOTE_U1": inserts the request's "S_STRING1" as a note and answers "S_TYPE1" "in" or
// "out" of a transaction; fails when the insert does.
void insertNote(server::ServiceContext &ctx);

// An in-process server with the notes table and "TS_NOTE_U1" (plus the test's own
// handlers and options), and the site environment of a workstation that waits 10 s for
// a reply.
class NotesServerTest : public ::testing::Test
{
protected:
    void startServer(std::function<void(server::ServiceRegistry &)> moreHandlers = {},
                     std::function<void(server::ServerOptions &)> adjust = {});
    // A session joined as user (a test failure when it cannot join).
    std::unique_ptr<tp::client::ClientSession> join(const std::string &user);

    std::unique_ptr<InProcessServer> m_server;
    tp::SiteEnvironment m_env;
};

} // namespace medrec::testing
