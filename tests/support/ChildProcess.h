#pragma once

// A program the test starts and stops: fork and exec on POSIX, CreateProcess on Windows.
// Its standard output comes back through a pipe, read line by line; its standard error
// goes to the test's or to a file.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace medrec::testing {

struct ChildOptions
{
    // Standard error into this file rather than the test's (empty: the test's).
    std::string stderrFile;
    // POSIX only: runs in the child just before exec (async-signal-safe calls only).
    std::function<void()> beforeExec;
};

class ChildProcess
{
public:
    // Starts args[0] (looked up on PATH) with the rest as its arguments. Throws
    // std::runtime_error when it cannot be started.
    explicit ChildProcess(const std::vector<std::string> &args, ChildOptions options = {});
    ~ChildProcess(); // stop()
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // The next line of its standard output, without the line break; nullopt when the output
    // ended or none came within the limit. Only while the pipe is open (see closeOutput).
    std::optional<std::string> readLine(std::chrono::milliseconds limit);
    // Closes the reading end of its output (a later write of the child's then fails).
    void closeOutput();

    // The system's process id (pid_t on POSIX); -1 once it has been waited for.
    long id() const;
    bool running() const;
    // Asks it to end (SIGTERM; on Windows, which has none for a console program, it is
    // ended), waits up to 5 s, then ends it for sure; the status as the system gives it
    // (waitpid's status on POSIX, the exit code on Windows). Again after that: the same status.
    int stop();

private:
    struct Handles;
    std::unique_ptr<Handles> m_handles;
    std::string m_pending; // output read past the last line returned
    int m_status = 0;
};

} // namespace medrec::testing
