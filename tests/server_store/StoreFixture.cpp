#include "StoreFixture.h"

#include <atomic>
#include <chrono>
#include <unistd.h>

namespace medrec::server::store::testing {

void StoreTest::SetUp()
{
    m_dir = std::make_unique<medrec::testing::TempDir>();
    m_db = std::make_unique<Connection>(dbPath(), Connection::Mode::ReadWriteCreate);
    std::string error;
    ASSERT_TRUE(prepareSchema(m_db->get(), &error)) << error;
}

void StoreTest::TearDown()
{
    m_db.reset();
    m_dir.reset();
}

void StoreTest::importOk(const std::string &json)
{
    const ImportResult r = importJson(db(), json);
    ASSERT_TRUE(r.ok) << r.error;
}

long long StoreTest::count(const std::string &table) const
{
    Statement st(db(), "SELECT count(*) FROM " + table);
    return st.step() ? st.integer(0) : -1;
}

} // namespace medrec::server::store::testing
