// Statements taken from a connection's prepared statements: reused without leaking what the
// last use left behind (its rows, its parameters), and never shared by two uses at once.

#include "StoreFixture.h"

#include "Catalogue.h"
#include "PreparedStatements.h"

#include <sqlite3.h>

namespace medrec::server::store::testing {
namespace {

class PreparedStatementsTest : public StoreTest
{
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        execute(db(), "CREATE TABLE t(n INTEGER); INSERT INTO t VALUES (1), (2), (3)");
        m_prepared = std::make_unique<server::PreparedStatements>(db());
    }
    void TearDown() override
    {
        m_prepared.reset(); // finalized before the connection closes
        StoreTest::TearDown();
    }

    SqlConnection connection() { return SqlConnection(db(), m_prepared.get()); }

    std::unique_ptr<server::PreparedStatements> m_prepared;
};

constexpr const char *kAbove = "SELECT n FROM t WHERE n > ?1 ORDER BY n";

TEST_F(PreparedStatementsTest, AStatementLeftHalfReadStartsAgainFromItsFirstRowWithoutItsParameters)
{
    {
        Statement st(connection(), kAbove);
        st.bind(1, std::int64_t{1});
        ASSERT_TRUE(st.step());
        EXPECT_EQ(st.integer(0), 2); // left with a row unread
    }
    Statement again(connection(), kAbove);
    // Unbound, ?1 is NULL: no row is above it. A parameter kept from the last use would
    // give rows here.
    EXPECT_FALSE(again.step());
    again.reset();
    again.bind(1, std::int64_t{0});
    ASSERT_TRUE(again.step());
    EXPECT_EQ(again.integer(0), 1);
}

TEST_F(PreparedStatementsTest, TheSameQueryTwiceAtOnceRunsOnTwoStatements)
{
    Statement outer(connection(), kAbove);
    outer.bind(1, std::int64_t{0});
    std::vector<std::int64_t> pairs;
    while (outer.step()) {
        Statement inner(connection(), kAbove);
        inner.bind(1, outer.integer(0));
        while (inner.step())
            pairs.push_back(outer.integer(0) * 10 + inner.integer(0));
    }
    EXPECT_EQ(pairs, (std::vector<std::int64_t>{12, 13, 23}));
}

TEST_F(PreparedStatementsTest, AQueryIsCompiledOnceAndBadSqlIsRefusedEveryTime)
{
    sqlite3_stmt *first = nullptr;
    {
        Statement st(connection(), kAbove);
        first = sqlite3_next_stmt(db(), nullptr);
    }
    {
        Statement st(connection(), kAbove);
        EXPECT_EQ(sqlite3_next_stmt(db(), nullptr), first);
        EXPECT_EQ(sqlite3_next_stmt(db(), first), nullptr) << "a second statement was compiled";
    }
    for (int i = 0; i < 2; ++i)
        EXPECT_THROW(Statement(connection(), "SELECT nothing FROM nowhere"), DbError);
}

TEST_F(PreparedStatementsTest, StoreQueriesGiveTheSameRowsThroughPreparedStatements)
{
    importOk(kSmallCatalogue);
    for (const char *visit : {"20150302", "201503021030", "201503021800"}) {
        SCOPED_TRACE(visit);
        const auto compiled = listRecordKinds(db(), "00001001", visit);
        ASSERT_FALSE(compiled.empty());
        for (int use = 0; use < 2; ++use) {
            const auto prepared = listRecordKinds(connection(), "00001001", visit);
            ASSERT_EQ(prepared.size(), compiled.size());
            for (std::size_t i = 0; i < compiled.size(); ++i)
                EXPECT_EQ(prepared[i].code, compiled[i].code);
        }
    }
}

} // namespace
} // namespace medrec::server::store::testing
