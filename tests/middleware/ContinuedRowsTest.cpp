// Answers longer than one reply, as a data class meets them: asked for reply by reply and
// read as one; a site whose field table or host knows nothing of continuing gets today's
// requests and results; a reply that does not follow on fails the whole answer.

#include "SessionFixture.h"

#include "DataClassCall.h"
#include "RecordingPresenter.h"
#include "ReplyRows.h"
#include "TuxCom.h"

#include <gtest/gtest.h>

#include <fstream>
#include <mutex>
#include <sstream>

using namespace medrec;
using namespace medrec::middleware;
namespace mt = medrec::testing;

namespace {

constexpr std::size_t kNoteBytes = 2000;

std::string note(int row) { return std::to_string(row) + std::string(kNoteBytes, 'n'); }

// What the host saw: the calls made, and whether each request carried "L_ROWFROM".
struct Seen
{
    std::mutex mutex;
    int calls = 0;
    std::vector<bool> askedFrom;
};

Seen &seen()
{
    static Seen s;
    return s;
}

void record(const server::ServiceContext &c)
{
    std::lock_guard lock(seen().mutex);
    ++seen().calls;
    seen().askedFrom.push_back(c.request().count("L_ROWFROM") > 0);
}

server::ServiceRegistry services()
{
    server::ServiceRegistry r;
    // L_CNT1 rows: "S_STRING1" the row's number (the count), "S_STRING2" a note, "S_STRING3"
    // a header in row 0 only, "S_STRING4" a value in row L_CNT2 only.
    r.add("T_LONG", [](server::ServiceContext &c) {
        record(c);
        const int rows = c.request().integer("L_CNT1").value_or(0);
        const int marked = c.request().integer("L_CNT2").value_or(-1);
        server::ReplyRows out = c.rowsFor("S_STRING1", true);
        for (int i = 0; i < rows; ++i) {
            out.addRow();
            out.text("S_STRING1", std::to_string(i));
            out.text("S_STRING2", note(i));
            out.text("S_STRING3", i == 0 ? "header" : "");
            out.text("S_STRING4", i == marked ? "marked" : "");
        }
        c.replyRows(std::move(out));
        c.succeed(std::to_string(rows) + "건");
    });
    // A site's own service: one reply whatever it is asked, returning the request's fields
    // with its outputs added, as an ATMI service may.
    r.add("T_SITE", [](server::ServiceContext &c) {
        record(c);
        if (const auto from = c.request().integer("L_ROWFROM"))
            c.reply().addInteger("L_ROWFROM", *from);
        for (const char *v : {"하나", "둘", "셋"})
            c.reply().addText("S_STRING1", v);
        c.succeed("3건");
    });
    // Says more follows from a row that is not the next one.
    r.add("T_BADNEXT", [](server::ServiceContext &c) {
        record(c);
        c.reply().addText("S_STRING1", "a");
        c.reply().addText("S_STRING1", "b");
        c.reply().addInteger("L_ROWNEXT", 5);
    });
    return r;
}

class ContinuedRows : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_host = new mt::LoopbackHost(services()); }
    static void TearDownTestSuite()
    {
        delete s_host;
        s_host = nullptr;
    }

    void SetUp() override
    {
        SetCommandLine({"medrec", "DR", "KIM"});
        std::lock_guard lock(seen().mutex);
        seen().calls = 0;
        seen().askedFrom.clear();
    }
    void TearDown() override
    {
        FmlFree();
        TuxTerm();
    }

    // A site environment whose field table is the project's less the two row fields.
    std::string environmentWithoutRowFields() const
    {
        const std::string dir = s_host->directory();
        std::ifstream in(MEDREC_FIELD_TABLE);
        std::ofstream table(dir + "/site-fields.tbl");
        for (std::string line; std::getline(in, line);)
            if (line.rfind("L_ROW", 0) != 0)
                table << line << '\n';
        std::ofstream env(dir + "/Site.env");
        env << "HOST = 127.0.0.1\nPORT = " << s_host->server().port() << "\nFIELD_TABLE = site-fields.tbl\n";
        return dir + "/Site.env";
    }

    struct Answer
    {
        int rows = 0;
        std::array<ServiceResult, 4> fields{ServiceResult{"old"}, ServiceResult{"old"}, ServiceResult{"old"},
                                            ServiceResult{"old"}};
    };

    static Answer ask(const std::string &service, int rows, int marked = -1)
    {
        Answer a;
        std::vector<services::OutputField> outputs;
        for (std::size_t i = 0; i < a.fields.size(); ++i)
            outputs.push_back({"S_STRING" + std::to_string(i + 1), &a.fields[i]});
        a.rows = services::RunQuery({service, "L_CNT1;L_CNT2", {rows, marked}, outputs});
        return a;
    }

    static int calls()
    {
        std::lock_guard lock(seen().mutex);
        return seen().calls;
    }
    static std::vector<bool> askedFrom()
    {
        std::lock_guard lock(seen().mutex);
        return seen().askedFrom;
    }

    static mt::LoopbackHost *s_host;
    mt::ScopedRecordingPresenter m_recorder;
};

mt::LoopbackHost *ContinuedRows::s_host = nullptr;

TEST_F(ContinuedRows, ALongAnswerIsAskedForReplyByReplyAndReadsAsOne)
{
    ASSERT_TRUE(TuxInit(s_host->environmentFile())) << LastTuxMessage();
    // 100 notes of 2,000 bytes: four standard replies.
    const Answer a = ask("T_LONG", 100, 57);
    ASSERT_EQ(a.rows, 100) << TuxMessage();
    // The service read its rows once; the host answered the continuations from that reading.
    EXPECT_EQ(calls(), 1);
    EXPECT_EQ(askedFrom(), std::vector<bool>{true});
    EXPECT_EQ(TuxMessage(), "100건");
    ASSERT_EQ(a.fields[0].size(), 100u);
    ASSERT_EQ(a.fields[1].size(), 100u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(a.fields[0][static_cast<std::size_t>(i)], std::to_string(i));
        EXPECT_EQ(a.fields[1][static_cast<std::size_t>(i)], note(i));
    }
    // As one reply would have brought them: the header once, the marked value at its row
    // (a later piece) with empty rows before it.
    EXPECT_EQ(a.fields[2], ServiceResult{"header"});
    ASSERT_EQ(a.fields[3].size(), 58u);
    EXPECT_EQ(a.fields[3][57], "marked");
    EXPECT_EQ(a.fields[3][0], "");
}

TEST_F(ContinuedRows, AFieldTableWithoutTheRowFieldsSendsTodaysRequestsAndGetsTodaysAnswers)
{
    ASSERT_TRUE(TuxInit(environmentWithoutRowFields())) << LastTuxMessage();
    const Answer shortAnswer = ask("T_LONG", 3);
    EXPECT_EQ(shortAnswer.rows, 3);
    EXPECT_EQ(shortAnswer.fields[1][2], note(2));

    // Too long for one reply: refused whole, nothing read.
    const Answer longAnswer = ask("T_LONG", 100);
    EXPECT_EQ(longAnswer.rows, -1);
    EXPECT_NE(TuxMessage().find("조회 결과가 너무 커서 보낼 수 없습니다"), std::string::npos) << TuxMessage();
    EXPECT_EQ(longAnswer.fields[0], ServiceResult{"old"});

    EXPECT_EQ(askedFrom(), (std::vector<bool>{false, false}));
}

TEST_F(ContinuedRows, AHostThatNeverContinuesAnswersAsItAlwaysDid)
{
    ASSERT_TRUE(TuxInit(s_host->environmentFile())) << LastTuxMessage();
    const Answer a = ask("T_SITE", 0);
    EXPECT_EQ(a.rows, 3);
    EXPECT_EQ(a.fields[0], (ServiceResult{"하나", "둘", "셋"}));
    EXPECT_EQ(a.fields[1], ServiceResult{""});
    EXPECT_EQ(calls(), 1);
    EXPECT_EQ(TuxMessage(), "3건");
}

TEST_F(ContinuedRows, AReplyThatDoesNotFollowOnFailsTheWholeAnswer)
{
    ASSERT_TRUE(TuxInit(s_host->environmentFile())) << LastTuxMessage();
    const Answer a = ask("T_BADNEXT", 0);
    EXPECT_EQ(a.rows, -1);
    EXPECT_NE(TuxMessage().find("cannot be put together"), std::string::npos) << TuxMessage();
    EXPECT_EQ(a.fields[0], ServiceResult{"old"});
    EXPECT_EQ(calls(), 1);
}

} // namespace
