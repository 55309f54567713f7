// Wire frames and the site environment file.

#include "ScopedEnv.h"
#include "atmi.h"
#include "codec/Environment.h"
#include "codec/FieldBuffer.h"
#include "codec/Frame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

using namespace medrec::tp;

namespace {

std::string stringEntry(std::uint32_t number, const std::string &text)
{
    FLDID id = (7u << 25) | number;
    std::uint32_t len = static_cast<std::uint32_t>(text.size() + 1);
    std::string out(8, '\0');
    std::memcpy(out.data(), &id, 4);
    std::memcpy(out.data() + 4, &len, 4);
    return out + text + std::string(1, '\0');
}

Frame sampleCall()
{
    Frame f;
    f.kind = FrameKind::Call;
    f.flavour = Flavour::Fml;
    f.sequence = 7;
    f.flags = 8;
    f.transaction = 3;
    f.status = 0;
    f.userCode = -1;
    f.arg = 10;
    f.name = "MD_RECOD_L1";
    f.data = stringEntry(2201, "00012345");
    return f;
}

TEST(FrameTest, RoundTripKeepsEveryField)
{
    Frame f = sampleCall();
    std::string bytes = encodeFrame(f);
    ASSERT_EQ(bytes.size(), 4 + kFrameHeaderSize + f.name.size() + f.data.size());
    std::string why;
    auto length = decodeLengthPrefix(std::string_view(bytes).substr(0, 4), &why);
    ASSERT_TRUE(length) << why;
    EXPECT_EQ(*length, bytes.size() - 4);
    auto back = decodeFrame(std::string_view(bytes).substr(4), &why);
    ASSERT_TRUE(back) << why;
    EXPECT_EQ(back->kind, f.kind);
    EXPECT_EQ(back->flavour, f.flavour);
    EXPECT_EQ(back->sequence, 7u);
    EXPECT_EQ(back->flags, 8u);
    EXPECT_EQ(back->transaction, 3u);
    EXPECT_EQ(back->userCode, -1);
    EXPECT_EQ(back->arg, 10u);
    EXPECT_EQ(back->name, "MD_RECOD_L1");
    EXPECT_EQ(back->data, f.data);
}

TEST(FrameTest, DecoderRefusesEveryLie)
{
    std::string good = encodeFrame(sampleCall()).substr(4);
    auto patched = [&](std::size_t at, std::string bytes) {
        std::string b = good;
        b.replace(at, bytes.size(), bytes);
        return b;
    };
    auto u32 = [](std::uint32_t v) { return std::string(reinterpret_cast<const char *>(&v), 4); };
    Frame big = sampleCall();
    big.data = stringEntry(1001, std::string(kFmlMaxSize, 'x'));
    Frame noFlavourData = sampleCall();
    noFlavourData.flavour = Flavour::None;

    struct Case
    {
        const char *what;
        std::string body;
    } cases[] = {
        {"shorter than a header", good.substr(0, 20)},
        {"version 2", patched(0, "\x02")},
        {"unknown kind", patched(1, "\x09")},
        {"unknown flavour", patched(2, "\x07")},
        {"name longer than the frame", patched(3, "\x7F")},
        {"name over 127 bytes", patched(3, "\x80")},
        {"data length larger than the frame", patched(28, u32(5000))},
        {"data length smaller than the frame", patched(28, u32(2))},
        {"truncated body", good.substr(0, good.size() - 1)},
        {"trailing bytes", good + "zz"},
        {"malformed entries", patched(kFrameHeaderSize + 11 + 4, u32(999))},
        {"field data over the FML limit", encodeFrame(big).substr(4)},
        {"data without a flavour", encodeFrame(noFlavourData).substr(4)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        std::string why;
        EXPECT_FALSE(decodeFrame(c.body, &why));
        EXPECT_FALSE(why.empty());
    }
    std::string why;
    EXPECT_FALSE(decodeLengthPrefix(u32(3), &why));
    EXPECT_FALSE(decodeLengthPrefix(u32(0xFFFFFFFF), &why));
    EXPECT_FALSE(decodeLengthPrefix("ab", &why));
    EXPECT_TRUE(decodeLengthPrefix(u32(kMaxFrameBody), &why));
    EXPECT_FALSE(decodeLengthPrefix(u32(kMaxFrameBody + 1), &why));
}

TEST(EnvironmentTest, ParsesKeysSectionsAndRelativeTable)
{
    const char *text = "\xEF\xBB\xBF# site file\r\n"
                       "HOST = 10.0.0.5\r\n"
                       "PORT=8600\n"
                       "FIELD_TABLE = tables/fields.tbl\n"
                       "; another comment\n"
                       "[TEST]\n"
                       "PORT = 9000\n"
                       "CALL_TIMEOUT = 5\n";
    std::string why;
    auto plain = parseEnvironment(text, "", "/site", &why);
    ASSERT_TRUE(plain) << why;
    EXPECT_EQ(plain->host, "10.0.0.5");
    EXPECT_EQ(plain->port, 8600u);
    // Compared as paths: Windows joins with its own separator.
    EXPECT_EQ(std::filesystem::path(plain->fieldTable), std::filesystem::path("/site/tables/fields.tbl"));
    EXPECT_EQ(plain->callTimeoutSeconds, 60u);
    auto labelled = parseEnvironment(text, "TEST", "/site", &why);
    ASSERT_TRUE(labelled) << why;
    EXPECT_EQ(labelled->port, 9000u);
    EXPECT_EQ(labelled->callTimeoutSeconds, 5u);
}

TEST(EnvironmentTest, TlsFilesAreTakenFromTheFilesFolder)
{
    std::string why;
    auto env = parseEnvironment(
        "PORT=1\nFIELD_TABLE=f\nTLS_CA=tls/ca.crt\nTLS_CERT=/abs/ws.crt\nTLS_KEY=ws.key\nTLS_CRL=tls/crl.pem\n", "",
        "/site", &why);
    ASSERT_TRUE(env) << why;
    // Compared as paths: Windows joins with its own separator.
    using std::filesystem::path;
    EXPECT_EQ(path(env->tlsCa), path("/site/tls/ca.crt"));
    EXPECT_EQ(path(env->tlsCertificate), path("/abs/ws.crt"));
    EXPECT_EQ(path(env->tlsKey), path("/site/ws.key"));
    EXPECT_EQ(path(env->tlsRevocationList), path("/site/tls/crl.pem"));
    auto plain = parseEnvironment("PORT=1\nFIELD_TABLE=f\n", "", "/site", &why);
    ASSERT_TRUE(plain) << why;
    EXPECT_EQ(plain->tlsCa, "");
}

TEST(EnvironmentTest, MistakesAreErrorsNamingTheLine)
{
    struct Case
    {
        const char *text;
        const char *error;
    } cases[] = {
        {"FIELD_TABLE=f\n", "PORT is missing"},
        {"PORT=1\n", "FIELD_TABLE is missing"},
        {"PORT=1\nFIELD_TABLE=f\nPROT=2\n", "line 3: unknown key PROT"},
        {"PORT=70000\nFIELD_TABLE=f\n", "line 1: PORT must be"},
        {"PORT=12ab\nFIELD_TABLE=f\n", "PORT must be"},
        {"PORT=1\nPORT=2\nFIELD_TABLE=f\n", "given twice"},
        {"PORT=1\nFIELD_TABLE=f\njust words\n", "expected KEY = VALUE"},
        {"PORT=1\nFIELD_TABLE=f\n[BAD\n", "section header"},
        {"PORT=1\nFIELD_TABLE=f\nCALL_TIMEOUT=0\n", "CALL_TIMEOUT must be"},
        {"PORT=1\nFIELD_TABLE=f\nTLS_CA=ca.crt\nTLS_CERT=ws.crt\n", "TLS_CERT is given without TLS_KEY"},
        {"PORT=1\nFIELD_TABLE=f\nTLS_CA=ca.crt\nTLS_KEY=ws.key\n", "TLS_KEY is given without TLS_CERT"},
        {"PORT=1\nFIELD_TABLE=f\nTLS_CERT=ws.crt\nTLS_KEY=ws.key\n", "need TLS_CA"},
        {"PORT=1\nFIELD_TABLE=f\nTLS_CA=\n", "TLS_CA is empty"},
        {"PORT=1\nFIELD_TABLE=f\nTLS_CRL=crl.pem\n", "TLS_CRL needs TLS_CA"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        std::string why;
        EXPECT_FALSE(parseEnvironment(c.text, "", "", &why));
        EXPECT_NE(why.find(c.error), std::string::npos) << why;
    }
}

TEST(EnvironmentTest, TuxreadenvFailsWithMeaningfulText)
{
    auto dir = std::filesystem::temp_directory_path() / ("medrec-env-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string missing = (dir / "missing.env").string();
    char label[] = "";
    EXPECT_EQ(tuxreadenv(missing.data(), label), -1);
    EXPECT_EQ(gettperrno(), TPENOENV);
    EXPECT_NE(std::string(tpstrerror(TPENOENV)).find("missing.env cannot be opened"), std::string::npos)
        << tpstrerror(TPENOENV);

    std::string noTable = (dir / "no-table.env").string();
    std::ofstream(noTable) << "PORT = 8600\nFIELD_TABLE = nowhere.tbl\n";
    EXPECT_EQ(tuxreadenv(noTable.data(), label), -1);
    EXPECT_NE(std::string(tpstrerror(gettperrno())).find("nowhere.tbl"), std::string::npos);

    std::string good = (dir / "good.env").string();
    // Absolute with its drive on Windows, where a path from the root is the file's drive's.
    std::ofstream(good) << "PORT = 8600\nFIELD_TABLE = " << std::filesystem::absolute(MEDREC_TEST_FIELD_TABLE).string()
                        << "\n";
    EXPECT_EQ(tuxreadenv(good.data(), label), 0);
    // The library reads the file it is given; overriding it is the client's business.
    {
        medrec::testing::ScopedEnv named("MEDREC_ENV_FILE", good);
        char windowsPath[] = "C:\\Tarvin\\Env\\His.env";
        EXPECT_EQ(tuxreadenv(windowsPath, label), -1);
    }
    std::filesystem::remove_all(dir);
}

} // namespace
