// The platform seams (platform/system) on the system they were built for: these run on
// Linux and, from the mingw build, on Windows under wine.

#include "ScopedEnv.h"
#include "system/CommandLine.h"
#include "system/DescriptorLimit.h"
#include "system/Environment.h"
#include "system/HostAddress.h"
#include "system/LocalTime.h"
#include "system/ProgramPath.h"
#include "system/Socket.h"

#include <asio.hpp>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

using namespace medrec::platform;

namespace {

TEST(EnvironmentSeam, KoreanValuesRoundTripAndEmptyReadsAsUnset)
{
    const char *name = "MEDREC_SEAM_TEST";
    {
        medrec::testing::ScopedEnv set(name, "C:/진료기록/His.env");
        EXPECT_EQ(environmentVariable(name), "C:/진료기록/His.env");
        EXPECT_EQ(nonEmptyEnvironmentVariable(name), "C:/진료기록/His.env");
        // The path keeps every character, whatever the local code page.
        EXPECT_EQ(utf8FromPath(pathFromUtf8(*environmentVariable(name))), "C:/진료기록/His.env");
        EXPECT_TRUE(setEnvironmentVariable(name, "other", false));
        EXPECT_EQ(environmentVariable(name), "C:/진료기록/His.env") << "not overwritten";
    }
    EXPECT_EQ(environmentVariable(name), std::nullopt);
    medrec::testing::ScopedEnv empty(name, "");
    EXPECT_EQ(nonEmptyEnvironmentVariable(name), std::nullopt);
}

TEST(LocalTimeSeam, BreaksDownAsTheCLibraryPutsItBack)
{
    const std::time_t moment = 1765000000; // 2025-12-06, any zone
    std::tm parts = localTime(moment);
    EXPECT_EQ(parts.tm_year, 125);
    EXPECT_EQ(parts.tm_mon, 11);
    EXPECT_EQ(std::mktime(&parts), moment);
}

TEST(ProgramPathSeam, NamesThisProgram)
{
    const auto path = programPath();
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(path.is_absolute()) << path;
    EXPECT_EQ(path.stem(), "system_tests") << path;
    EXPECT_TRUE(std::filesystem::exists(path)) << path;
}

TEST(CommandLineSeam, ArgumentsOfAnotherVectorAreTakenAsGiven)
{
    // Not main()'s own arguments (the count differs): taken as they are, on every system.
    char first[] = "medrec";
    char second[] = "USER";
    char *argv[] = {first, second};
    EXPECT_EQ(commandLineArguments(2, argv), (std::vector<std::string>{"medrec", "USER"}));
}

TEST(HostAddressSeam, AnAddressFoundIsARealOne)
{
    // A machine whose name does not resolve has none; one that does never gives 0.0.0.0.
    if (const auto address = hostIPv4Address()) {
        EXPECT_NE((*address)[0], 0) << "a first byte of 0 is no host's address";
    }
}

TEST(DescriptorLimitSeam, RaisingNeverLowersIt)
{
    // This process's own limit only.
    const auto before = openDescriptorLimit();
    raiseOpenDescriptorLimit();
    const auto after = openDescriptorLimit();
    ASSERT_EQ(before.has_value(), after.has_value());
    if (before) {
        EXPECT_GE(*after, *before);
    }
}

// A connected pair of loopback sockets in blocking mode.
struct SocketPair
{
    asio::io_context context;
    asio::ip::tcp::socket client{context};
    asio::ip::tcp::socket server{context};

    SocketPair()
    {
        asio::ip::tcp::acceptor acceptor(context,
                                         asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
        client.connect(acceptor.local_endpoint());
        acceptor.accept(server);
    }
};

TEST(SocketSeam, ReceiveWaitsItsLimitAndTheSocketWorksAfterwards)
{
    SocketPair pair;
    std::string why;
    EXPECT_TRUE(enableKeepAlive(pair.client.native_handle(), KeepAlive{}, &why)) << why;
    BlockingSocket socket(pair.client.native_handle());
    char buffer[16];

    const auto start = std::chrono::steady_clock::now();
    Transfer t = socket.receive(buffer, sizeof buffer, 200);
    EXPECT_EQ(t.status, Transfer::Status::Again) << t.error;
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));

    // After the time-out the same socket still carries data both ways.
    asio::write(pair.server, asio::buffer(std::string("ping")));
    t = socket.receive(buffer, sizeof buffer, 5000);
    ASSERT_EQ(t.status, Transfer::Status::Moved) << t.error;
    EXPECT_EQ(std::string(buffer, t.bytes), "ping");
    t = socket.send("pong", 4, 5000);
    ASSERT_EQ(t.status, Transfer::Status::Moved) << t.error;
    char echo[4];
    asio::read(pair.server, asio::buffer(echo));
    EXPECT_EQ(std::string(echo, 4), "pong");
}

TEST(SocketSeam, PeerClosingIsClosedAndABrokenConnectionSaysWhy)
{
    SocketPair pair;
    BlockingSocket socket(pair.client.native_handle());
    pair.server.close();
    char buffer[16];
    EXPECT_EQ(socket.receive(buffer, sizeof buffer, 5000).status, Transfer::Status::Closed);

    // Sending into a closed connection fails (at the latest once the peer's reset is back)
    // with the system's words, and never stops the program.
    Transfer t{Transfer::Status::Again, 0, {}};
    const std::string block(64 * 1024, 'x');
    for (int i = 0; i < 100 && t.status != Transfer::Status::Failed; ++i)
        t = socket.send(block.data(), block.size(), 1000);
    EXPECT_EQ(t.status, Transfer::Status::Failed);
    EXPECT_FALSE(t.error.empty());
    std::printf("a send into a closed connection: %s\n", t.error.c_str());
}

} // namespace
