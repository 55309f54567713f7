// How the client library reports a service host that fails it, through the C API as the
// program meets it. Built and run on Linux and on Windows (under wine): the system's own
// socket errors and time-outs must read the same on both.

#include "AtmiClient.h"
#include "Basics.h"
#include "ScriptedHost.h"
#include "atmi.h"
#include "fml.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

using namespace medrec::testing;

namespace {

class ClientFailuresTest : public ::testing::Test
{
protected:
    // Joins the host with a one-second call time-out.
    std::unique_ptr<AtmiSession> join(const ScriptedHost &host)
    {
        const std::string env =
            writeSiteEnvironment(m_dir.path(), "127.0.0.1", host.port(), defaultFieldTablePath(),
                                 {"CALL_TIMEOUT = 1", "CONNECT_TIMEOUT = 5"});
        return std::make_unique<AtmiSession>(env, "HONGGILDONG", "10.1.20.3");
    }
    static FLDID id(const char *name) { return Fldid(const_cast<char *>(name)); }
    // Calls the service with "S_PATNO" = patno; the call's return code, *reply the reply's "S_PATNO".
    static int call(const char *service, const std::string &patno, std::string *reply = nullptr)
    {
        char type[] = "FML32";
        char *buffer = tpalloc(type, nullptr, 1024);
        auto *fb = reinterpret_cast<FBFR *>(buffer);
        EXPECT_EQ(Fchg(fb, id("S_PATNO"), 0, const_cast<char *>(patno.c_str()), 0), 1);
        long length = 0;
        const int rc = tpcall(const_cast<char *>(service), buffer, 0, &buffer, &length, 0);
        if (reply && rc == 0)
            *reply = Fvals(reinterpret_cast<FBFR *>(buffer), id("S_PATNO"), 0);
        tpfree(buffer);
        return rc;
    }

    TempDir m_dir;
};

TEST_F(ClientFailuresTest, CallPastItsDeadlineIsTpetimeAndKeepsTheSession)
{
    ScriptedHost host(ScriptedHost::Behaviour::Answers);
    auto session = join(host);
    ASSERT_TRUE(session->ok()) << session->error();

    EXPECT_EQ(call("TP_SILENT", "00012345"), -1);
    EXPECT_EQ(gettperrno(), TPETIME) << tpstrerror(gettperrno());
    EXPECT_NE(std::string(tpstrerror(TPETIME)).find("no reply"), std::string::npos) << tpstrerror(TPETIME);

    // The same connection goes on: the late reply is passed over, the next call's is taken.
    std::string reply;
    EXPECT_EQ(call("TP_ECHO", "00067890", &reply), 0) << tpstrerror(gettperrno());
    EXPECT_EQ(reply, "00067890");
    EXPECT_EQ(host.calls(), 2);
}

TEST_F(ClientFailuresTest, HostThatNeverAnswersTheJoinIsTpetime)
{
    ScriptedHost host(ScriptedHost::Behaviour::Silent);
    auto session = join(host);
    EXPECT_FALSE(session->ok());
    EXPECT_EQ(gettperrno(), TPETIME) << session->error();
}

TEST_F(ClientFailuresTest, DroppedConnectionIsTpesystemWithTheReasonAndEndsTheSession)
{
    ScriptedHost host(ScriptedHost::Behaviour::Drops);
    auto session = join(host);
    ASSERT_TRUE(session->ok()) << session->error();

    EXPECT_EQ(call("TP_ECHO", "00012345"), -1);
    EXPECT_EQ(gettperrno(), TPESYSTEM);
    const std::string why = tpstrerror(TPESYSTEM);
    EXPECT_NE(why.find("connection to the service host lost"), std::string::npos) << why;
    EXPECT_EQ(why.find("Success"), std::string::npos) << why;

    EXPECT_EQ(call("TP_ECHO", "00012345"), -1);
    EXPECT_EQ(gettperrno(), TPESYSTEM) << "a lost session stays lost";
}

// A site environment that names certificates is never joined in plain text: a build
// without TLS says so, one with TLS refuses a CA file that holds no certificate; either
// way before the first byte of the join goes out (the host would answer it).
TEST_F(ClientFailuresTest, SiteThatAsksForTlsIsNeverJoinedInPlainText)
{
    ScriptedHost host(ScriptedHost::Behaviour::Answers);
    const std::string ca = m_dir.file("ca.crt");
    std::ofstream(ca) << "not a certificate\n";
    const std::string env = writeSiteEnvironment(m_dir.path(), "127.0.0.1", host.port(), defaultFieldTablePath(),
                                                 {"TLS_CA = " + ca, "CONNECT_TIMEOUT = 5"});
    AtmiSession session(env, "HONGGILDONG", "10.1.20.3");
    EXPECT_FALSE(session.ok());
    EXPECT_EQ(gettperrno(), TPESYSTEM);
    EXPECT_NE(session.error().find(": site environment: "), std::string::npos) << session.error();
}

} // namespace
