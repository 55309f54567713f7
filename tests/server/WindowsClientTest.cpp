// The client library built for Windows (tp_windows_client, preset mingw) under wine against
// this Linux-built service host on loopback: join, a call with Korean text both ways, a
// transaction whose write lands, a call past its deadline that is TPETIME and keeps the
// session. Not part of the Linux suite: scripts/run-windows-tests runs it after the Windows
// build, naming the program in MEDREC_WINDOWS_CLIENT.

#include "NotesService.h"
#include "TestSupport.h"

#include "atmi.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>
#include <string>

using namespace medrec;
using medrec::testing::InProcessOptions;
using medrec::testing::InProcessServer;

namespace {

// What the program printed, by step: "greet" -> "0 0 <hex>". onLine sees each line as it
// comes, while the program runs.
std::map<std::string, std::string> runClient(const std::string &program, const std::string &envFile,
                                             const std::function<void(const std::string &)> &onLine)
{
    const std::string command = "WINEDEBUG=-all wine '" + program + "' '" + envFile + "' 2>&1";
    std::map<std::string, std::string> steps;
    FILE *out = popen(command.c_str(), "r");
    if (!out)
        return steps;
    std::string text;
    char chunk[512];
    while (std::fgets(chunk, sizeof chunk, out)) {
        std::string line = chunk;
        text += line;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        const auto space = line.find(' ');
        if (space != std::string::npos)
            steps[line.substr(0, space)] = line.substr(space + 1);
        onLine(line);
    }
    pclose(out);
    steps["(output)"] = text;
    return steps;
}

} // namespace

TEST(WindowsClientTest, JoinsCallsInKoreanCommitsAndTimesOutKeepingTheSession)
{
    const char *program = std::getenv("MEDREC_WINDOWS_CLIENT");
    if (!program || !*program)
        GTEST_SKIP() << "MEDREC_WINDOWS_CLIENT names no Windows build of tp_windows_client";

    std::atomic<bool> released{false};
    InProcessOptions options;
    options.prepareDatabase = medrec::testing::createNotesTable;
    InProcessServer server(
        [&](server::ServiceRegistry &r) {
            r.add("TS_NOTE_U1", medrec::testing::insertNote);
            r.add("TS_GREET_S1", [](server::ServiceContext &ctx) {
                ctx.reply().addText("S_STRING1", ctx.request().text("S_STRING1") + " 님");
                ctx.succeed();
            });
            // Answers only once the client has given up on it (the session's next call
            // waits behind it, and then skips its late reply).
            r.add("TS_SLOW_S1", [&](server::ServiceContext &ctx) {
                medrec::testing::waitUntil([&] { return released.load(); }, std::chrono::seconds(60));
                ctx.succeed();
            });
        },
        options);
    const std::string env = server.writeEnvironment({"CALL_TIMEOUT = 2"});

    auto steps = runClient(program, env, [&](const std::string &line) {
        if (line.rfind("slow ", 0) == 0)
            released = true;
    });
    released = true;
    SCOPED_TRACE(steps["(output)"]);

    EXPECT_EQ(steps["join"], "0 -");
    EXPECT_EQ(steps["greet"], "0 0 " + medrec::testing::hexBytes("홍길동 외래 기록 님"));
    EXPECT_EQ(steps["begin"], "0");
    EXPECT_EQ(steps["note"], "0 0 " + medrec::testing::hexBytes("in"));
    EXPECT_EQ(steps["commit"], "0");
    EXPECT_EQ(server.queryText("SELECT text FROM notes"), "인쇄 이력 확인");
    EXPECT_EQ(steps["slow"], "-1 " + std::to_string(TPETIME) + " -");
    EXPECT_EQ(steps["after"], "0 0 " + medrec::testing::hexBytes("다시 님"));
}
