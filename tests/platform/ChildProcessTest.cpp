// The test support's child processes on the system it was built for (fork and exec, or
// CreateProcess): arguments arrive as given, output comes back by line, stop ends it.

#include "ChildProcess.h"

#include <gtest/gtest.h>

#include <filesystem>

using medrec::testing::ChildProcess;

TEST(ChildProcessTest, ArgumentsArriveWholeAndStopEndsTheProgram)
{
    const std::string program = std::filesystem::absolute(MEDREC_TEST_CHILD).string();
    const std::vector<std::string> args{program, "two words", "quote\"d", "back\\slash\\", "홍길동"};
    ChildProcess child(args);
    for (std::size_t i = 1; i < args.size(); ++i)
        EXPECT_EQ(child.readLine(std::chrono::seconds(30)), "arg " + args[i]);
    EXPECT_EQ(child.readLine(std::chrono::seconds(30)), "ready");
    EXPECT_TRUE(child.running());
    EXPECT_GT(child.id(), 0);

    child.stop();
    EXPECT_FALSE(child.running());
    EXPECT_EQ(child.readLine(std::chrono::milliseconds(100)), std::nullopt) << "its output ended";
}

TEST(ChildProcessTest, AProgramThatCannotStartIsAnError)
{
    // POSIX starts a child that then fails to exec (status 127); Windows refuses at once.
    try {
        ChildProcess child({"medrec-no-such-program"});
        EXPECT_EQ(child.readLine(std::chrono::seconds(5)), std::nullopt);
        child.stop();
        EXPECT_FALSE(child.running());
    } catch (const std::runtime_error &e) {
        EXPECT_NE(std::string(e.what()).find("medrec-no-such-program"), std::string::npos) << e.what();
    }
}
