#pragma once

// The real server core with the domain services on a loopback port, its database holding
// the small catalogue, and one client session joined to it.

#include "ServiceClient.h"
#include "SmallCatalogue.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace medrec::server::store::testing {

class ServiceTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    Outcome call(const char *service, Buffer &b, long flags = TPNOTRAN) { return testing::call(*m_session, service, b, flags); }
    tp::client::ClientSession &session() { return *m_session; }
    medrec::testing::InProcessServer &server() { return *m_server; }
    // Runs SQL on a connection of the test's own.
    void sql(const std::string &statements);
    // Imports a data set into the database (gtest failure when it is refused).
    void import(const std::string &json);
    long long historyRows() { return std::stoll(m_server->queryText("SELECT count(*) FROM print_history")); }

private:
    std::unique_ptr<medrec::testing::InProcessServer> m_server;
    std::unique_ptr<tp::client::ClientSession> m_session;
};

} // namespace medrec::server::store::testing
