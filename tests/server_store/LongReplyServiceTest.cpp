// Records longer than one reply, at the wire: a client that continues gets every row in
// pieces from one reading; any other client gets today's whole answer or a clear refusal,
// never a cut one; a host that never continues answers as it always did.

#include "ServiceFixture.h"

#include "Hooks.h"
#include "Importer.h"
#include "Sqlite.h"
#include "client/FieldTables.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace medrec::server::store::testing {

namespace {

constexpr const char *kPatNo = "00007001";
constexpr int kNotes = 300;

std::string note(int i, char filler) { return "기록 " + std::to_string(i) + " " + std::string(400, filler); }

// A patient with one admission whose progress note has `notes` rows of about 400 bytes:
// several standard replies' worth.
std::string longRecord(int notes, char filler)
{
    nlohmann::json content = nlohmann::json::array();
    for (int i = 0; i < notes; ++i) {
        nlohmann::json row = {{"S_STRING7", "20240301"}, {"S_STRING10", note(i, filler)}};
        if (i == 0)
            row["S_STRING1"] = kPatNo;
        content.push_back(row);
    }
    nlohmann::json doc = {
        {"patients",
         {{{"number", kPatNo},
           {"name", "장기입원"},
           {"visits",
            {{{"date", "202403010900"},
              {"kind", "admission"},
              {"department", "IM"},
              {"records",
               {{{"kind", "MDPGNOTT"}, {"columns", {kPatNo, "20240301"}}, {"content", content}}}}}}}}}}};
    return doc.dump();
}

class LongReplyTest : public ServiceTest
{
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        importDocument(longRecord(kNotes, 'a'), false);
    }

    void importDocument(const std::string &json, bool replace)
    {
        Connection db(server().databasePath(), Connection::Mode::ReadWrite);
        const ImportResult r = importJson(db.get(), json, {.replace = replace});
        ASSERT_TRUE(r.ok) << r.error;
    }

    // The content request of the long record; `from` < 0 leaves "L_ROWFROM" out.
    static void ask(Buffer &b, int from)
    {
        b.set("S_TYPE1", "MDPGNOTT").set("S_PATNO", kPatNo).set("S_STRING2", "20240301").set("S_STRING3", "");
        b.set("S_STRING4", "").set("S_STRING5", "");
        if (from >= 0)
            b.setInteger("L_ROWFROM", from);
    }

    struct Piece
    {
        Outcome outcome;
        std::vector<std::string> notes;
        long next = -1; // "L_ROWNEXT", -1 when absent
    };

    Piece piece(int from)
    {
        Buffer b;
        ask(b, from < 0 ? 0 : from);
        Piece p;
        p.outcome = call("MD_RECOD_L3", b);
        const int rows = b.count("S_STRING1");
        for (int i = 0; i < rows; ++i)
            p.notes.push_back(b.text("S_STRING10", i));
        if (b.count("L_ROWNEXT") > 0)
            p.next = b.integer("L_ROWNEXT");
        return p;
    }
};

TEST_F(LongReplyTest, AContinuingClientGetsEveryRowInOrderInWholeRowPieces)
{
    std::vector<std::string> notes;
    int calls = 0;
    long next = 0;
    while (next >= 0) {
        Piece p = piece(static_cast<int>(next));
        ++calls;
        ASSERT_EQ(p.outcome.rc, 0) << p.outcome.statlin;
        // Each piece tells the count of the whole answer.
        EXPECT_EQ(p.outcome.statlin, std::to_string(kNotes) + "건의 자료가 조회되었습니다.");
        ASSERT_FALSE(p.notes.empty());
        notes.insert(notes.end(), p.notes.begin(), p.notes.end());
        if (p.next >= 0) {
            EXPECT_EQ(p.next, static_cast<long>(notes.size()));
        }
        next = p.next;
    }
    EXPECT_GT(calls, 1);
    ASSERT_EQ(notes.size(), std::size_t(kNotes));
    for (int i = 0; i < kNotes; ++i)
        EXPECT_EQ(notes[static_cast<std::size_t>(i)], note(i, 'a')) << "row " << i;
}

TEST_F(LongReplyTest, AClientThatDoesNotContinueGetsARefusalNeverACutReply)
{
    Buffer b;
    ask(b, -1);
    const Outcome o = call("MD_RECOD_L3", b);
    EXPECT_EQ(o.rc, -1);
    EXPECT_EQ(o.error, TPELIMIT);
    EXPECT_EQ(o.userCode, -1);
    EXPECT_NE(o.statlin.find("조회 결과가 너무 커서 보낼 수 없습니다"), std::string::npos) << o.statlin;
    EXPECT_EQ(b.count("S_STRING10"), 0);
}

TEST_F(LongReplyTest, ContinuationsComeFromTheFirstReadingWhateverIsWrittenMeanwhile)
{
    Piece first = piece(0);
    ASSERT_EQ(first.outcome.rc, 0) << first.outcome.statlin;
    ASSERT_GT(first.next, 0);

    // Another workstation prints and writes its history row; the catalogue is re-imported
    // with other notes in between.
    auto other = joinSession(server().writeEnvironment(), "OTHER", "10.1.20.9");
    ASSERT_EQ(writeHistory(*other, {"00001001", "20150302", "empty", "empty", "empty", "MDPGNOTT"}).rc, 0);
    importDocument(std::string(kSmallCatalogue), true);
    importDocument(longRecord(kNotes / 2, 'z'), false);

    std::vector<std::string> notes = first.notes;
    for (long next = first.next; next >= 0;) {
        Piece p = piece(static_cast<int>(next));
        ASSERT_EQ(p.outcome.rc, 0) << p.outcome.statlin;
        notes.insert(notes.end(), p.notes.begin(), p.notes.end());
        next = p.next;
    }
    ASSERT_EQ(notes.size(), std::size_t(kNotes));
    EXPECT_EQ(notes.back(), note(kNotes - 1, 'a'));

    // Asked afresh, the record is the new one.
    Piece fresh = piece(0);
    ASSERT_EQ(fresh.outcome.rc, 0);
    EXPECT_EQ(fresh.notes.front(), note(0, 'z'));
}

TEST_F(LongReplyTest, AContinuationThatMatchesNothingWaitingFailsAndSaysSo)
{
    // Nothing asked before.
    Piece orphan = piece(5);
    EXPECT_EQ(orphan.outcome.rc, -1);
    EXPECT_EQ(orphan.outcome.error, TPESVCFAIL);
    EXPECT_EQ(orphan.outcome.userCode, -1);
    EXPECT_NE(orphan.outcome.statlin.find("이어서 보낼 조회 결과가 없습니다"), std::string::npos);

    // Other inputs than the first call's.
    Piece first = piece(0);
    ASSERT_GT(first.next, 0);
    Buffer other;
    ask(other, static_cast<int>(first.next));
    other.set("S_STRING2", "20240302");
    EXPECT_EQ(call("MD_RECOD_L3", other).error, TPESVCFAIL);

    // Any other call drops what waited.
    first = piece(0);
    Buffer ping;
    ping.set("S_STRING1", "x");
    ASSERT_EQ(call("TP_PING", ping).rc, 0);
    EXPECT_EQ(piece(static_cast<int>(first.next)).outcome.error, TPESVCFAIL);
}

TEST_F(LongReplyTest, ContentLeavesOutTheEmptiesAfterAFieldsLastValue)
{
    Buffer b;
    b.set("S_TYPE1", "MDPGNOTT").set("S_PATNO", "00001001").set("S_STRING2", "20150302").set("S_STRING3", "E");
    const Outcome o = call("MD_RECOD_L3", b);
    ASSERT_EQ(o.rc, 0) << o.statlin;
    EXPECT_EQ(b.count("L_ROWNEXT"), 0);
    // "S_STRING1" counts the rows; a field no row fills travels not at all.
    EXPECT_EQ(b.count("S_STRING1"), 3);
    EXPECT_EQ(b.count("S_STRING59"), 0);
}

// A host that never continues: "L_ROWFROM" is one more input its services do not read.
class NonContinuingHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tp::client::installFieldTable(medrec::testing::loadDefaultFieldTable());
        medrec::testing::InProcessOptions options;
        options.prepareDatabase = hooks::prepareDatabase;
        options.adjust = [](ServerOptions &o) { o.continueRows = false; };
        m_server = std::make_unique<medrec::testing::InProcessServer>(
            [](ServiceRegistry &registry) { hooks::registerDomainServices(registry); }, options);
        Connection db(m_server->databasePath(), Connection::Mode::ReadWrite);
        ASSERT_TRUE(importJson(db.get(), kSmallCatalogue).ok);
        ASSERT_TRUE(importJson(db.get(), longRecord(kNotes, 'a')).ok);
        m_session = joinSession(m_server->writeEnvironment(), "MDUSER", "10.1.20.3");
    }

    std::unique_ptr<medrec::testing::InProcessServer> m_server;
    std::unique_ptr<tp::client::ClientSession> m_session;
};

TEST_F(NonContinuingHostTest, AnswersInOneReplyOrRefusesWhetherTheClientContinuesOrNot)
{
    for (const bool continues : {false, true}) {
        SCOPED_TRACE(continues ? "with L_ROWFROM" : "without L_ROWFROM");
        Buffer shortRecord;
        shortRecord.set("S_TYPE1", "MDPGNOTT").set("S_PATNO", "00001001").set("S_STRING2", "20150302");
        shortRecord.set("S_STRING3", "E");
        if (continues)
            shortRecord.setInteger("L_ROWFROM", 0);
        Outcome o = call(*m_session, "MD_RECOD_L3", shortRecord);
        ASSERT_EQ(o.rc, 0) << o.statlin;
        EXPECT_EQ(shortRecord.count("S_STRING1"), 3);
        EXPECT_EQ(shortRecord.count("L_ROWNEXT"), 0);

        Buffer longRecordAsk;
        longRecordAsk.set("S_TYPE1", "MDPGNOTT").set("S_PATNO", kPatNo).set("S_STRING2", "20240301");
        if (continues)
            longRecordAsk.setInteger("L_ROWFROM", 0);
        o = call(*m_session, "MD_RECOD_L3", longRecordAsk);
        EXPECT_EQ(o.error, TPELIMIT);
        EXPECT_EQ(longRecordAsk.count("S_STRING10"), 0);
    }
}

} // namespace

} // namespace medrec::server::store::testing
