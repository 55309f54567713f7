// The configuration file of "serve": its lines become options before the command line's.

#include "ServeConfig.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

using medrec::server::readServeConfig;
using medrec::server::ServeArguments;
using Args = std::vector<std::string>;

std::string writeFile(const medrec::testing::TempDir &dir, const std::string &text)
{
    const std::string path = dir.file("medrec-server.conf");
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST(ServeConfig, LinesBecomeOptions)
{
    struct Case
    {
        const char *name;
        std::string text;
        Args expected;
    };
    const Case cases[] = {
        {"value", "listen = 0.0.0.0:8600\n", {"--listen", "0.0.0.0:8600"}},
        {"switch", "quiet\n", {"--quiet"}},
        {"blanks and comments", "\n# one\n; two\n   \nthreads=8\n", {"--threads", "8"}},
        {"value with blanks and #", "db =  /srv/my records/#1.db  \n", {"--db", "/srv/my records/#1.db"}},
        {"CR LF and byte-order mark", "\xEF\xBB\xBFlog-level = debug\r\nquiet\r\n", {"--log-level", "debug", "--quiet"}},
        {"order kept", "db = a\ndb = b\n", {"--db", "a", "--db", "b"}},
        {"empty file", "", {}},
    };
    medrec::testing::TempDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Args args;
        std::string error;
        ASSERT_TRUE(readServeConfig(writeFile(dir, c.text), &args, &error)) << error;
        EXPECT_EQ(args, c.expected);
    }
}

TEST(ServeConfig, BadLinesNameTheFileAndLine)
{
    struct Case
    {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"listen = :8600\n--db = x\n", "line 2: \"--db\" is not an option name"},
        {"Listen = :8600\n", "line 1: \"Listen\" is not an option name"},
        {"\n\ndb =\n", "line 3: \"db =\" without a value"},
        {"config = other.conf\n", "line 1: a configuration file cannot name another"},
        {"= value\n", "line 1: \"\" is not an option name"},
    };
    medrec::testing::TempDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        Args args;
        std::string error;
        const std::string path = writeFile(dir, c.text);
        EXPECT_FALSE(readServeConfig(path, &args, &error));
        EXPECT_NE(error.find("configuration file " + path + ": " + c.message), std::string::npos) << error;
    }
    Args args;
    std::string error;
    EXPECT_FALSE(readServeConfig(dir.file("missing.conf"), &args, &error));
    EXPECT_NE(error.find("missing.conf cannot be opened"), std::string::npos) << error;
}

TEST(ServeConfig, TheFileGoesBeforeTheCommandLine)
{
    medrec::testing::TempDir dir;
    const std::string path = writeFile(dir, "listen = 0.0.0.0:8600\ndb = /var/lib/medrec/medrec.db\n");
    struct Case
    {
        Args argv;
        Args expected;
    };
    const Case cases[] = {
        {{"serve", "--config", path}, {"serve", "--listen", "0.0.0.0:8600", "--db", "/var/lib/medrec/medrec.db"}},
        {{"serve", "--db", "x.db", "--config", path, "--quiet"},
         {"serve", "--listen", "0.0.0.0:8600", "--db", "/var/lib/medrec/medrec.db", "--db", "x.db", "--quiet"}},
        {{"serve", "--db", "x.db"}, {"serve", "--db", "x.db"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.argv.size());
        Args input = c.argv;
        std::vector<char *> argv;
        for (auto &a : input)
            argv.push_back(a.data());
        ServeArguments expanded;
        std::string error;
        ASSERT_TRUE(expanded.expand(static_cast<int>(argv.size()), argv.data(), &error)) << error;
        Args got(expanded.argv(), expanded.argv() + expanded.argc());
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(expanded.argv()[expanded.argc()], nullptr);
    }

    for (const Args &bad : {Args{"serve", "--config"}, Args{"serve", "--config", path, "--config", path}}) {
        Args input = bad;
        std::vector<char *> argv;
        for (auto &a : input)
            argv.push_back(a.data());
        ServeArguments expanded;
        std::string error;
        EXPECT_FALSE(expanded.expand(static_cast<int>(argv.size()), argv.data(), &error));
        EXPECT_NE(error.find("--config"), std::string::npos) << error;
    }
}

} // namespace
