// The client library against the real server core over loopback, through atmi.h/fml.h.

#include "NotesService.h"
#include "TestSupport.h"

#include "Cp949.h"
#include "atmi.h"
#include "fml.h"
#include "codec/FieldTable.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace medrec;
using medrec::testing::AtmiSession;
using medrec::testing::InProcessOptions;
using medrec::testing::InProcessServer;

namespace {

std::vector<std::string> g_unsolicited;

void collectUnsolicited(char *data, long len, long)
{
    g_unsolicited.emplace_back(data, static_cast<std::size_t>(len));
}

void registerTestServices(server::ServiceRegistry &r)
{
    r.add("TS_IDENT_S1", [](server::ServiceContext &ctx) {
        const auto &id = ctx.identity();
        ctx.reply().addText("S_STRING1", id.user);
        ctx.reply().addText("S_STRING2", id.client);
        ctx.reply().addText("S_STRING3", id.logUser);
        ctx.reply().addText("S_STRING4", id.logClient);
        ctx.reply().addText("S_STRING5", id.logForm);
        ctx.reply().addText("S_STRING6", ctx.request().text("S_NAME1"));
        ctx.succeed("정상 조회되었습니다.");
    });
    r.add("TS_FAIL_S1", [](server::ServiceContext &ctx) {
        ctx.reply().addText("S_STRING1", "partial");
        ctx.fail("환자 정보가 없습니다.", 1);
    });
    r.add("TS_THROW_S1", [](server::ServiceContext &) { throw std::runtime_error("boom"); });
    r.add("TS_NOTE_U1", medrec::testing::insertNote);
    r.add("TS_COUNT_S1", [](server::ServiceContext &ctx) {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(ctx.db(), "SELECT count(*) FROM notes", -1, &stmt, nullptr);
        sqlite3_step(stmt);
        ctx.reply().addInteger("L_CNT1", sqlite3_column_int(stmt, 0));
        sqlite3_finalize(stmt);
        ctx.reply().addText("S_TYPE1", ctx.inTransaction() ? "in" : "out");
    });
    r.add("TS_NOTIFY_S1", [](server::ServiceContext &ctx) {
        ctx.notify("공지: 점검 예정");
        ctx.succeed();
    });
    r.add("TS_BIG_L1", [](server::ServiceContext &ctx) {
        auto bytes = ctx.request().integer("L_CNT1").value_or(0);
        std::string row(1000, 'x');
        for (int i = 0; i < bytes / 1000; ++i)
            if (!ctx.reply().addText("S_STRING1", row))
                return;
        ctx.succeed();
    });
    r.add("TS_CHECK_S1", [](server::ServiceContext &ctx) {
        std::string patno;
        if (!ctx.requireText("S_PATNO", 0, 8, patno))
            return;
        ctx.reply().addText("S_STRING1", patno);
        ctx.succeed();
    });
}

class ClientServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InProcessOptions options;
        options.prepareDatabase = medrec::testing::createNotesTable;
        m_server = std::make_unique<InProcessServer>(registerTestServices, options);
        m_session = std::make_unique<AtmiSession>(m_server->writeEnvironment(), "HONGGILDONG", "10.1.20.3");
        ASSERT_TRUE(m_session->ok()) << m_session->error();
        g_unsolicited.clear();
    }
    void TearDown() override
    {
        m_session.reset();
        m_server.reset();
    }

    static FLDID id(const char *name) { return Fldid(const_cast<char *>(name)); }
    static FBFR *alloc(const char *type, long size)
    {
        return reinterpret_cast<FBFR *>(tpalloc(const_cast<char *>(type), nullptr, size));
    }
    static void setText(FBFR *b, const char *field, const std::string &utf8, int oc = 0)
    {
        std::string cp = text::toCp949(utf8);
        ASSERT_EQ(Fchg(b, id(field), oc, cp.data(), static_cast<FLDLEN>(cp.size())), 1) << field;
    }
    static std::string text(FBFR *b, const char *field, int oc = 0)
    {
        return text::fromCp949(Fvals(b, id(field), oc));
    }
    static int call(const char *service, FBFR *&b, long flags = TPNOTRAN)
    {
        char *p = reinterpret_cast<char *>(b);
        long len = 0;
        int rc = tpcall(const_cast<char *>(service), p, 0, &p, &len, flags);
        b = reinterpret_cast<FBFR *>(p);
        return rc;
    }
    std::string count() { return m_server->queryText("SELECT count(*) FROM notes"); }

    std::unique_ptr<InProcessServer> m_server;
    std::unique_ptr<AtmiSession> m_session;
};

TEST_F(ClientServerTest, CallBeforeTpinitIsRefused)
{
    m_session.reset(); // tpterm
    FBFR *b = alloc("FML", 1024);
    EXPECT_EQ(call("TP_PING", b), -1);
    EXPECT_EQ(gettperrno(), TPEPROTO);
    EXPECT_NE(std::string(tpstrerror(TPEPROTO)).find("tpinit"), std::string::npos);
    EXPECT_EQ(tpbegin(10, 0), -1);
    EXPECT_EQ(gettperrno(), TPEPROTO);
    tpfree(reinterpret_cast<char *>(b));
}

TEST_F(ClientServerTest, IdentityAndLogFieldsReachTheHandlerInCp949)
{
    FBFR *b = alloc("FML", 65532);
    setText(b, "LOG_USERNAME", "HONGGILDONG");
    setText(b, "LOG_CLTNAME", "10.1.20.3");
    setText(b, "LOG_FORMNAME", "MDG300F1");
    setText(b, "S_NAME1", "홍길동");
    ASSERT_EQ(call("TS_IDENT_S1", b), 0) << tpstrerror(gettperrno());
    EXPECT_EQ(text(b, "S_STRING1"), "HONGGILDONG");
    EXPECT_EQ(text(b, "S_STRING2"), "10.1.20.3");
    EXPECT_EQ(text(b, "S_STRING3"), "HONGGILDONG");
    EXPECT_EQ(text(b, "S_STRING4"), "10.1.20.3");
    EXPECT_EQ(text(b, "S_STRING5"), "MDG300F1");
    EXPECT_EQ(text(b, "S_STRING6"), "홍길동");
    EXPECT_EQ(std::string(Fvals(b, id("S_STRING6"), 0)), "\xC8\xAB\xB1\xE6\xB5\xBF"); // CP949 on the wire
    EXPECT_EQ(text(b, "STATLIN"), "정상 조회되었습니다.");
    EXPECT_EQ(gettpurcode(), 0);
    tpfree(reinterpret_cast<char *>(b));
}

TEST_F(ClientServerTest, FailuresReplaceTheBufferSoStatlinCanBeRead)
{
    struct Case
    {
        const char *service;
        int tperrno;
        const char *statlin;
        long urcode;
    } cases[] = {
        {"TS_FAIL_S1", TPESVCFAIL, "환자 정보가 없습니다.", 1},
        {"TS_THROW_S1", TPESVCERR, "서비스 TS_THROW_S1 처리 중 오류가 발생했습니다: boom", -1},
        {"MD_NOSUCH_L1", TPENOENT, "등록되지 않은 서비스입니다: MD_NOSUCH_L1", -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.service);
        FBFR *b = alloc("FML", 65532);
        setText(b, "S_PATNO", "00012345");
        EXPECT_EQ(call(c.service, b), -1);
        EXPECT_EQ(gettperrno(), c.tperrno);
        EXPECT_EQ(text(b, "STATLIN"), c.statlin);
        EXPECT_EQ(gettpurcode(), c.urcode);
        tpfree(reinterpret_cast<char *>(b));
    }
    // The session goes on after failures.
    FBFR *b = alloc("FML", 1024);
    EXPECT_EQ(call("TP_PING", b), 0);
    EXPECT_EQ(text(b, "STATLIN"), "OK");
    tpfree(reinterpret_cast<char *>(b));
}

TEST_F(ClientServerTest, TransactionCommitsAbortsAndTpnotranStaysOutside)
{
    FBFR *b = alloc("FML", 4096);
    setText(b, "S_STRING1", "aborted");
    ASSERT_EQ(tpbegin(10, 0), 0);
    ASSERT_EQ(call("TS_NOTE_U1", b, 0), 0) << tpstrerror(gettperrno());
    EXPECT_EQ(text(b, "S_TYPE1"), "in");
    // Inside, the transaction's own row is seen; with TPNOTRAN the call runs outside it.
    ASSERT_EQ(call("TS_COUNT_S1", b, 0), 0);
    EXPECT_EQ(Fvall(b, id("L_CNT1"), 0), 1);
    EXPECT_EQ(text(b, "S_TYPE1"), "in");
    ASSERT_EQ(call("TS_COUNT_S1", b, TPNOTRAN), 0);
    EXPECT_EQ(Fvall(b, id("L_CNT1"), 0), 0);
    EXPECT_EQ(text(b, "S_TYPE1"), "out");
    ASSERT_EQ(tpabort(0), 0);
    EXPECT_EQ(count(), "0");

    setText(b, "S_STRING1", "kept");
    ASSERT_EQ(tpbegin(10, 0), 0);
    ASSERT_EQ(call("TS_NOTE_U1", b, 0), 0);
    ASSERT_EQ(call("TS_NOTE_U1", b, 0), 0);
    ASSERT_EQ(tpcommit(0), 0);
    EXPECT_EQ(count(), "2");
    ASSERT_EQ(call("TS_NOTE_U1", b, TPNOTRAN), 0);
    EXPECT_EQ(text(b, "S_TYPE1"), "out");
    EXPECT_EQ(count(), "3");

    // Commit and abort without a transaction are protocol errors.
    EXPECT_EQ(tpcommit(0), -1);
    EXPECT_EQ(gettperrno(), TPEPROTO);
    EXPECT_EQ(tpabort(0), -1);
    ASSERT_EQ(tpbegin(10, 0), 0);
    EXPECT_EQ(tpbegin(10, 0), -1);
    EXPECT_EQ(gettperrno(), TPEPROTO);
    EXPECT_EQ(tpabort(0), 0);
    tpfree(reinterpret_cast<char *>(b));
}

TEST_F(ClientServerTest, CommitAfterTheTimeOutFailsAndRowsAreRolledBack)
{
    FBFR *b = alloc("FML", 4096);
    setText(b, "S_STRING1", "late");
    ASSERT_EQ(tpbegin(1, 0), 0);
    ASSERT_EQ(call("TS_NOTE_U1", b, 0), 0);
    // The server rolls the transaction back when its second is up.
    ASSERT_TRUE(medrec::testing::waitUntil([&] {
        const auto sessions = m_server->server().sessions();
        return sessions.size() == 1 && !sessions[0].inTransaction;
    })) << "the server did not roll the transaction back";
    // The write lock is free for others.
    EXPECT_EQ(count(), "0");
    EXPECT_EQ(call("TS_NOTE_U1", b, 0), -1);
    EXPECT_EQ(gettperrno(), TPETIME);
    EXPECT_NE(text(b, "STATLIN").find("트랜잭션 제한 시간(1초)"), std::string::npos) << text(b, "STATLIN");
    EXPECT_EQ(tpcommit(0), -1);
    EXPECT_EQ(gettperrno(), TPETIME);
    EXPECT_NE(std::string(tpstrerror(TPETIME)).find("rolled back"), std::string::npos);
    EXPECT_EQ(count(), "0");
    // A new transaction works.
    ASSERT_EQ(tpbegin(10, 0), 0);
    ASSERT_EQ(call("TS_NOTE_U1", b, 0), 0);
    ASSERT_EQ(tpcommit(0), 0);
    EXPECT_EQ(count(), "1");
    tpfree(reinterpret_cast<char *>(b));
}

TEST_F(ClientServerTest, UnsolicitedMessagesArriveDuringCallsAndByPolling)
{
    ASSERT_NE(tpsetunsol(collectUnsolicited), TPUNSOLERR);
    FBFR *b = alloc("FML", 1024);
    ASSERT_EQ(call("TS_NOTIFY_S1", b), 0);
    ASSERT_EQ(g_unsolicited.size(), 1u); // delivered while tpcall waited for its reply
    EXPECT_EQ(text::fromCp949(g_unsolicited[0]), "공지: 점검 예정");

    auto sessions = m_server->server().sessions();
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(sessions[0].user, "HONGGILDONG");
    ASSERT_TRUE(m_server->server().sendUnsolicited(sessions[0].id, "두 번째"));
    ASSERT_TRUE(m_server->server().sendUnsolicited(sessions[0].id, "세 번째"));
    int delivered = 0;
    bool failed = false;
    EXPECT_TRUE(medrec::testing::waitUntil([&] {
        const int n = tpchkunsol();
        failed = failed || n < 0;
        delivered += std::max(n, 0);
        return failed || delivered >= 2;
    })) << "the two messages did not arrive";
    ASSERT_FALSE(failed) << tpstrerror(gettperrno());
    ASSERT_EQ(g_unsolicited.size(), 3u);
    EXPECT_EQ(text::fromCp949(g_unsolicited[1]), "두 번째");
    EXPECT_EQ(text::fromCp949(g_unsolicited[2]), "세 번째");
    tpsetunsol(nullptr);
    tpfree(reinterpret_cast<char *>(b));
}

TEST_F(ClientServerTest, ReplyOverTheFlavourLimitFailsWithAClearText)
{
    FBFR *b = alloc("FML", 65532);
    std::int32_t bytes = 70000;
    ASSERT_EQ(Fchg(b, id("L_CNT1"), 0, reinterpret_cast<char *>(&bytes), 0), 1);
    EXPECT_EQ(call("TS_BIG_L1", b), -1);
    EXPECT_EQ(gettperrno(), TPELIMIT);
    std::string statlin = text(b, "STATLIN");
    EXPECT_NE(statlin.find("FML 버퍼 한도 65,532바이트"), std::string::npos) << statlin;
    EXPECT_EQ(Foccur(b, id("S_STRING1")), 0);
    tpfree(reinterpret_cast<char *>(b));

    // The large flavour takes it, growing a small buffer as needed.
    b = alloc("FML32", 1024);
    ASSERT_EQ(Fchg(b, id("L_CNT1"), 0, reinterpret_cast<char *>(&bytes), 0), 1);
    ASSERT_EQ(call("TS_BIG_L1", b), 0) << tpstrerror(gettperrno());
    EXPECT_EQ(Foccur(b, id("S_STRING1")), 70);
    EXPECT_LE(Fsizeof(b), 524256);

    // Beyond even the large flavour.
    bytes = 600000;
    ASSERT_EQ(Fchg(b, id("L_CNT1"), 0, reinterpret_cast<char *>(&bytes), 0), 1);
    EXPECT_EQ(call("TS_BIG_L1", b), -1);
    EXPECT_EQ(gettperrno(), TPELIMIT);
    EXPECT_NE(text(b, "STATLIN").find("FML32 버퍼 한도 524,256바이트"), std::string::npos) << text(b, "STATLIN");
    tpfree(reinterpret_cast<char *>(b));
}

TEST_F(ClientServerTest, HandlersRefuseBadTextWithAStatus)
{
    struct Case
    {
        std::string bytes;
        int rc;
        const char *statlin;
    } cases[] = {
        {"00012345", 0, ""},
        {"000123456", -1, "S_PATNO: 값이 너무 깁니다 (9바이트, 최대 8바이트)."},
        {"\xC8\xAF\xFF", -1, "S_PATNO: 올바른 한글(CP949) 문자가 아닌 값이 들어 있습니다."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes);
        FBFR *b = alloc("FML", 1024);
        ASSERT_EQ(Fchg(b, id("S_PATNO"), 0, const_cast<char *>(c.bytes.data()), static_cast<FLDLEN>(c.bytes.size())),
                  1);
        EXPECT_EQ(call("TS_CHECK_S1", b), c.rc);
        EXPECT_EQ(text(b, "STATLIN"), c.statlin);
        tpfree(reinterpret_cast<char *>(b));
    }
}

TEST_F(ClientServerTest, BadArgumentsFailWithoutReachingTheServer)
{
    FBFR *b = alloc("FML", 1024);
    char *s = tpalloc(const_cast<char *>("STRING"), nullptr, 64);
    char *p = s;
    EXPECT_EQ(tpcall(const_cast<char *>("TP_PING"), s, 0, &p, nullptr, TPNOTRAN), -1);
    EXPECT_EQ(gettperrno(), TPEITYPE);
    char local[64] = {};
    p = local;
    EXPECT_EQ(tpcall(const_cast<char *>("TP_PING"), local, 0, &p, nullptr, TPNOTRAN), -1);
    EXPECT_EQ(gettperrno(), TPEINVAL);
    EXPECT_EQ(call(std::string(200, 'A').c_str(), b), -1);
    EXPECT_EQ(gettperrno(), TPEINVAL);
    EXPECT_EQ(tpalloc(const_cast<char *>("VIEW"), nullptr, 64), nullptr);
    EXPECT_EQ(gettperrno(), TPENOENT);
    tpfree(local); // not a typed buffer: ignored
    tpfree(s);
    tpfree(reinterpret_cast<char *>(b));
}

} // namespace
