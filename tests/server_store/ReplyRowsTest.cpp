// How the rows of a list reply go out: what is left out as empty, what goes out in every
// row, and where a reply of limited room stops. Read back from a real field buffer.

#include "ReplyRows.h"

#include "TestSupport.h"
#include "codec/FieldBuffer.h"
#include "codec/FieldTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace medrec::server::testing {

namespace {

class ReplyRowsTest : public ::testing::Test
{
protected:
    std::shared_ptr<const tp::FieldTable> m_fields = medrec::testing::loadDefaultFieldTable();

    ReplyRows rows(ReplyRows::Trim trim = ReplyRows::Trim::TrailingEmpties) const
    {
        return ReplyRows("S_STRING1", trim, m_fields.get());
    }
    int count(const Reply &reply, const char *field) const { return reply.count(field); }
    std::string text(const Reply &reply, const char *field, int occurrence) const
    {
        const auto v = tp::fb::find(reply.buffer(), m_fields->id(field), occurrence);
        return v ? tp::fb::toText(*v) : "<absent>";
    }
};

// Three rows: a header in row 0 only, a note in rows 0 and 1, an integer in row 1 only.
ReplyRows &fill(ReplyRows &r)
{
    r.addRow();
    r.text("S_STRING1", "00001234");
    r.text("S_STRING2", "header");
    r.text("S_STRING12", "first note");
    r.addRow();
    r.text("S_STRING1", "");
    r.text("S_STRING2", "");
    r.text("S_STRING12", "second note");
    r.integer("L_SEQNO1", 7);
    r.addRow();
    r.text("S_STRING1", "");
    r.text("S_STRING12", "");
    return r;
}

TEST_F(ReplyRowsTest, EmptiesAfterAFieldsLastValueStayOutButTheCountAndIntegersGoInEveryRow)
{
    ReplyRows r = rows();
    fill(r);
    Reply reply(*m_fields, tp::kFmlMaxSize);
    ASSERT_EQ(r.pack(0, 60000, reply), 3u);

    EXPECT_EQ(count(reply, "S_STRING1"), 3); // the count: every row, empty or not
    EXPECT_EQ(count(reply, "S_STRING2"), 1); // the header only where it has a value
    EXPECT_EQ(count(reply, "S_STRING12"), 2);
    EXPECT_EQ(text(reply, "S_STRING12", 1), "second note");
    EXPECT_EQ(count(reply, "L_SEQNO1"), 3); // 0 where a row lacks it
    EXPECT_EQ(tp::fb::toLong(*tp::fb::find(reply.buffer(), m_fields->id("L_SEQNO1"), 0)), 0);
    EXPECT_EQ(tp::fb::toLong(*tp::fb::find(reply.buffer(), m_fields->id("L_SEQNO1"), 1)), 7);
    // What the walk measured is what the buffer holds.
    EXPECT_EQ(r.bytes(0, 3), reply.usedBytes() - tp::fb::kHeaderSize);
}

TEST_F(ReplyRowsTest, AValueAfterAGapBringsTheGapsEmptiesSoOccurrencesStayRows)
{
    ReplyRows r = rows();
    r.addRow();
    r.text("S_STRING1", "a");
    r.addRow();
    r.text("S_STRING1", "b");
    r.addRow();
    r.text("S_STRING1", "c");
    r.text("S_STRING5", "late");
    Reply reply(*m_fields, tp::kFmlMaxSize);
    ASSERT_EQ(r.pack(0, 60000, reply), 3u);
    ASSERT_EQ(count(reply, "S_STRING5"), 3);
    EXPECT_EQ(text(reply, "S_STRING5", 0), "");
    EXPECT_EQ(text(reply, "S_STRING5", 2), "late");
}

TEST_F(ReplyRowsTest, WithoutTrimmingEveryRowCarriesEveryField)
{
    ReplyRows r = rows(ReplyRows::Trim::Nothing);
    fill(r);
    Reply reply(*m_fields, tp::kFmlMaxSize);
    ASSERT_EQ(r.pack(0, 60000, reply), 3u);
    for (const char *field : {"S_STRING1", "S_STRING2", "S_STRING12", "L_SEQNO1"})
        EXPECT_EQ(count(reply, field), 3) << field;
}

TEST_F(ReplyRowsTest, AReplyTakesWholeRowsUpToItsRoomAndTheNextStartsAfreshAtTheRowItStoppedAt)
{
    ReplyRows r = rows();
    for (int i = 0; i < 10; ++i) {
        r.addRow();
        r.text("S_STRING1", "");
        r.text("S_STRING12", std::string(100, char('a' + i)));
    }
    const std::size_t one = r.bytes(0, 1);
    // Room for three rows and a half: three go, the fourth waits whole.
    Reply first(*m_fields, tp::kFmlMaxSize);
    EXPECT_EQ(r.pack(0, one * 3 + one / 2, first), 3u);
    EXPECT_EQ(count(first, "S_STRING12"), 3);

    Reply second(*m_fields, tp::kFmlMaxSize);
    EXPECT_EQ(r.pack(3, 100000, second), 10u);
    ASSERT_EQ(count(second, "S_STRING12"), 7);
    EXPECT_EQ(text(second, "S_STRING12", 0), std::string(100, 'd'));

    // A row that does not fit alone is never cut: nothing goes.
    Reply none(*m_fields, tp::kFmlMaxSize);
    EXPECT_EQ(r.pack(0, one - 1, none), 0u);
    EXPECT_EQ(none.usedBytes(), tp::fb::kHeaderSize);
}

TEST_F(ReplyRowsTest, FieldsTheTableLacksOrOfAnotherTypeAreRefusedWhenAdded)
{
    ReplyRows r = rows();
    EXPECT_THROW(r.text("S_STRING1", "x"), std::invalid_argument); // no row yet
    r.addRow();
    EXPECT_THROW(r.text("NO_SUCH_FIELD", "x"), std::invalid_argument);
    EXPECT_THROW(r.text("L_SEQNO1", "x"), std::invalid_argument);
    EXPECT_THROW(r.integer("S_STRING2", 1), std::invalid_argument);
}

} // namespace

} // namespace medrec::server::testing
