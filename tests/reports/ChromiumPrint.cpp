#include "ChromiumPrint.h"

#include "KindPrinting.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace medrec::testing {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kLimit = std::chrono::minutes(2);

int pdfPageCount(const std::filesystem::path &pdf)
{
    const std::string info = CommandOutput("pdfinfo '" + pdf.string() + "' 2>/dev/null");
    const auto at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + 6);
}

} // namespace

ChromiumPrintResult PrintWithChromium(const std::string &chromium, const std::filesystem::path &html,
                                      const std::filesystem::path &pdf, const std::filesystem::path &profile)
{
    ChromiumPrintResult result;
    if (access(chromium.c_str(), X_OK) != 0) {
        result.error = chromium + " is not installed";
        return result;
    }
    std::error_code ec;
    std::filesystem::remove(pdf, ec);
    const std::vector<std::string> args{chromium,
                                        "--headless",
                                        "--no-sandbox",
                                        "--disable-gpu",
                                        "--disable-quic",
                                        "--no-first-run",
                                        "--disable-background-networking",
                                        "--disable-component-update",
                                        "--disable-sync",
                                        "--no-pdf-header-footer",
                                        "--user-data-dir=" + profile.string(),
                                        "--print-to-pdf=" + pdf.string(),
                                        "file://" + html.string()};
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);

    std::fflush(stdout); // the child must not inherit (and print again) what is buffered
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        result.error = "fork failed";
        return result;
    }
    if (pid == 0) {
        setpgid(0, 0); // its own group, so a hung run is stopped with all its processes
        if (!freopen("/dev/null", "w", stderr) || !freopen("/dev/null", "w", stdout))
            _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (Clock::now() - start > kLimit) {
            kill(-pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            result.error = "stopped after two minutes";
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    // ru_maxrss of a waited-for child is the largest of it and the descendants it waited for.
    result.peakRssKb = usage.ru_maxrss;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !std::filesystem::exists(pdf)) {
        result.error = "failed (wait status " + std::to_string(status) + ")";
        return result;
    }
    result.pages = pdfPageCount(pdf);
    return result;
}

} // namespace medrec::testing
