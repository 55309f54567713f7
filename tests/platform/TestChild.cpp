// The program ChildProcessTest starts: prints its arguments (as UTF-8), one a line, then
// "ready", and waits (at most a minute) to be stopped.

#include "system/CommandLine.h"

#include <chrono>
#include <cstdio>
#include <thread>

int main(int argc, char **argv)
{
    const auto args = medrec::platform::commandLineArguments(argc, argv);
    for (std::size_t i = 1; i < args.size(); ++i)
        std::printf("arg %s\n", args[i].c_str());
    std::printf("ready\n");
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::minutes(1));
    return 0;
}
