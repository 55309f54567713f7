#include "ServiceFixture.h"

#include "Hooks.h"
#include "Importer.h"
#include "Sqlite.h"
#include "StoredReplyService.h"
#include "client/FieldTables.h"

namespace medrec::server::store::testing {

void ServiceTest::SetUp()
{
    tp::client::installFieldTable(medrec::testing::loadDefaultFieldTable());
    medrec::testing::InProcessOptions options;
    options.prepareDatabase = hooks::prepareDatabase;
    m_server = std::make_unique<medrec::testing::InProcessServer>(
        [](ServiceRegistry &registry) {
            hooks::registerDomainServices(registry);
            // A record-kind service answered from stored rows, as a later kind registers one.
            registry.add("MD_ADINF_S2", services::storedReplyService({"S_PATNO", "S_STRING1"}, "S_STRING1"));
        },
        options);
    import(kSmallCatalogue);
    m_session = joinSession(m_server->writeEnvironment(), "MDUSER", "10.1.20.3");
}

void ServiceTest::TearDown()
{
    m_session.reset();
    m_server.reset();
}

void ServiceTest::import(const std::string &json)
{
    Connection db(m_server->databasePath(), Connection::Mode::ReadWrite);
    const ImportResult r = importJson(db.get(), json);
    ASSERT_TRUE(r.ok) << r.error;
}

void ServiceTest::sql(const std::string &statements)
{
    Connection db(m_server->databasePath(), Connection::Mode::ReadWrite);
    execute(db.get(), statements);
}

} // namespace medrec::server::store::testing
