// TLS between the library and medrec-server: who gets in, what each side is told.
// Certificates come from scripts/medrec-site-ca in a temporary folder.

#include "SiteCertificates.h"
#include "TestSupport.h"
#include "client/ClientSession.h"
#include "client/Errors.h"
#include "client/TypedBuffer.h"
#include "codec/Environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

namespace medrec::testing {
namespace {

std::string readFile(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class TlsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_site = std::make_unique<SiteCertificates>("Test Hospital");
        s_other = std::make_unique<SiteCertificates>("Other Hospital");
        s_stolen = s_site->issue("stolen-pc");
        s_site->revoke("stolen-pc");
    }
    static void TearDownTestSuite()
    {
        s_site.reset();
        s_other.reset();
    }

    static std::unique_ptr<ServerProcess> tlsServer(std::vector<std::string> more = {})
    {
        ServerProcessOptions options;
        options.extraArgs = s_site->serverArguments();
        options.extraArgs.insert(options.extraArgs.end(), more.begin(), more.end());
        options.captureLog = true;
        return std::make_unique<ServerProcess>(options);
    }

    // Joins through a site environment file with these extra lines; null with the
    // library's error text in m_error when it cannot.
    std::unique_ptr<tp::client::ClientSession> join(unsigned short port, const std::vector<std::string> &lines)
    {
        std::vector<std::string> all = {"CALL_TIMEOUT = 5", "CONNECT_TIMEOUT = 5"};
        all.insert(all.end(), lines.begin(), lines.end());
        const std::string path = writeSiteEnvironment(m_dir.path(), "127.0.0.1", port, defaultFieldTablePath(), all);
        std::string why;
        auto env = tp::readEnvironmentFile(path, "", &why);
        EXPECT_TRUE(env) << why;
        if (!env)
            return nullptr;
        auto session = tp::client::ClientSession::join(*env, "NURSE", "WARD3", TPU_DIP);
        m_error = session ? std::string() : tp::client::lastErrorDetail();
        return session;
    }

    static int ping(tp::client::ClientSession &session)
    {
        char *b = tp::client::allocate("FML", nullptr, 1024);
        const int rc = session.call("TP_PING", b, &b, nullptr, TPNOTRAN);
        tp::client::release(b);
        return rc;
    }

    static std::unique_ptr<SiteCertificates> s_site;
    static std::unique_ptr<SiteCertificates> s_other;
    static SiteCertificates::Workstation s_stolen;
    TempDir m_dir;
    std::string m_error;
};

std::unique_ptr<SiteCertificates> TlsTest::s_site;
std::unique_ptr<SiteCertificates> TlsTest::s_other;
SiteCertificates::Workstation TlsTest::s_stolen;

TEST_F(TlsTest, AWorkstationWithTheSitesCertificateJoinsAndCallsAndIsKnownByItsSubject)
{
    auto server = tlsServer({"--log-level", "debug"});
    auto session = join(server->port(), s_site->environmentLines(s_site->issue("ward3-pc1")));
    ASSERT_TRUE(session) << m_error;
    EXPECT_EQ(ping(*session), 0) << tp::client::lastErrorDetail();
    session->term();
    EXPECT_TRUE(waitUntil([&] { return server->log().find("ended: client left") != std::string::npos; }));
    EXPECT_NE(server->log().find("workstation CN=ward3-pc1,O=Test Hospital, user NURSE, client WARD3"),
              std::string::npos)
        << server->log();
}

TEST_F(TlsTest, WorkstationsWithoutAGoodCertificateAreRefusedBeforeAnyService)
{
    auto server = tlsServer();
    const struct
    {
        const char *what;
        std::vector<std::string> lines;
        const char *client;
        const char *log;
    } cases[] = {
        {"no certificate", s_site->environmentLines({}), "requires a workstation certificate",
         "refused before any service: the workstation sent no certificate"},
        {"another site's CA", s_site->environmentLines(s_other->issue("ward3-pc1")),
         "it was not issued by the site's CA", "refused before any service: unable to get local issuer certificate"},
        {"expired", s_site->environmentLines(s_site->issue("old-pc", "20200101000000Z", "20210101000000Z")),
         "it has expired", "refused before any service: certificate has expired (CN=old-pc,O=Test Hospital)"},
        {"revoked", s_site->environmentLines(s_stolen), "it is revoked", "refused before any service: certificate revoked (CN=stolen-pc,O=Test Hospital)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(join(server->port(), c.lines));
        EXPECT_NE(m_error.find(c.client), std::string::npos) << m_error;
        EXPECT_TRUE(waitUntil([&] { return server->log().find(c.log) != std::string::npos; })) << server->log();
    }
    EXPECT_EQ(server->log().find(" started"), std::string::npos) << "no session may have joined";
}

TEST_F(TlsTest, ACertificateRevokedWhileTheHostRunsIsRefusedFromThenOnInOpenSessionsToo)
{
    auto server = tlsServer();
    const auto lost = s_site->environmentLines(s_site->issue("lost-pc"));
    auto before = join(server->port(), lost);
    ASSERT_TRUE(before) << m_error;
    auto other = join(server->port(), s_site->environmentLines(s_site->issue("ward5-pc")));
    ASSERT_TRUE(other) << m_error;
    s_site->revoke("lost-pc");
    // The host loads the new list for the connections that come after it,
    EXPECT_TRUE(waitUntil([&] { return !join(server->port(), lost); }));
    EXPECT_NE(m_error.find("it is revoked"), std::string::npos) << m_error;
    EXPECT_TRUE(waitUntil([&] { return server->log().find("revocation list loaded again") != std::string::npos; }));
    // and the session already open with that certificate ends at its next call.
    EXPECT_TRUE(waitUntil([&] { return ping(*before) != 0; }));
    EXPECT_EQ(tp::client::lastError(), TPESYSTEM);
    EXPECT_NE(tp::client::lastErrorDetail().find(
                  "the service host no longer accepts this workstation's certificate: certificate revoked"),
              std::string::npos)
        << tp::client::lastErrorDetail();
    EXPECT_NE(ping(*before), 0) << "the session is over";
    EXPECT_EQ(ping(*other), 0) << tp::client::lastErrorDetail();
    EXPECT_TRUE(waitUntil([&] {
        return server->log().find("workstation CN=lost-pc,O=Test Hospital, user NURSE, client WARD3): ended: the "
                                  "workstation certificate is no longer accepted: certificate revoked") !=
               std::string::npos;
    })) << server->log();
}

TEST_F(TlsTest, APlainClientAtATlsPortAndATlsClientAtAPlainPortFailClearly)
{
    auto tls = tlsServer();
    EXPECT_FALSE(join(tls->port(), {}));
    EXPECT_NE(m_error.find("this service host takes TLS connections only"), std::string::npos) << m_error;
    EXPECT_TRUE(waitUntil([&] { return tls->log().find("a plain TCP client at the TLS port") != std::string::npos; }));

    ServerProcessOptions plainOptions;
    plainOptions.captureLog = true;
    ServerProcess plain(plainOptions);
    EXPECT_FALSE(join(plain.port(), s_site->environmentLines(s_site->issue("ward3-pc2"))));
    EXPECT_NE(m_error.find("does it serve TLS at this port?"), std::string::npos) << m_error;
    EXPECT_TRUE(waitUntil([&] { return plain.log().find("a TLS client at a plain TCP port") != std::string::npos; }));
}

TEST_F(TlsTest, TheHostServesPlainTcpBeyondLoopbackOnlyWhenToldItIsInsecure)
{
    const std::string errors = m_dir.file("errors");
    const std::string command = serverProgramPath() + " --db " + m_dir.file("m.db") + " --fields " +
                                defaultFieldTablePath() + " --listen 0.0.0.0:0 >/dev/null 2>" + errors;
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_NE(readFile(errors).find("will not serve plain TCP on 0.0.0.0"), std::string::npos) << readFile(errors);

    // Encrypted it serves any address; plain only with the option that says what it is.
    auto tls = tlsServer({"--listen", "0.0.0.0:0"});
    EXPECT_TRUE(join(tls->port(), s_site->environmentLines(s_site->issue("ward3-pc3")))) << m_error;
    ServerProcessOptions insecureOptions;
    insecureOptions.extraArgs = {"--listen", "0.0.0.0:0", "--insecure-plain-tcp"};
    insecureOptions.captureLog = true;
    ServerProcess insecure(insecureOptions);
    EXPECT_TRUE(join(insecure.port(), {})) << m_error;
}

TEST_F(TlsTest, TheClientChecksTheHostsCertificate)
{
    // A host whose certificate another CA signed is not trusted by the workstation.
    auto server = tlsServer();
    std::vector<std::string> lines = s_other->environmentLines(s_other->issue("ward3-pc1"));
    EXPECT_FALSE(join(server->port(), lines));
    EXPECT_NE(m_error.find("the host's certificate is not trusted"), std::string::npos) << m_error;
}

TEST_F(TlsTest, AWorkstationGivenTheRevocationListRefusesARevokedHost)
{
    SiteCertificates site("Hanbit Hospital");
    ServerProcessOptions options;
    options.extraArgs = site.serverArguments();
    options.captureLog = true;
    ServerProcess server(options);
    auto lines = site.environmentLines(site.issue("ward7-pc1"));
    lines.push_back("TLS_CRL = " + site.revocationList());
    EXPECT_TRUE(join(server.port(), lines)) << m_error;

    // The host's certificate is revoked (its key lost): a workstation that reads the list
    // no longer talks to whoever shows it.
    site.revoke("server");
    EXPECT_FALSE(join(server.port(), lines));
    EXPECT_NE(m_error.find("the host's certificate is not trusted (certificate revoked)"), std::string::npos)
        << m_error;
}

} // namespace
} // namespace medrec::testing
