#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>
#include <thread>

namespace medrec::testing {

struct ChildProcess::Handles
{
    pid_t pid = -1;
    int output = -1; // reading end of its standard output
};

ChildProcess::ChildProcess(const std::vector<std::string> &args, ChildOptions options)
    : m_handles(std::make_unique<Handles>())
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<std::string> copies = args;
    std::vector<char *> argv;
    for (auto &a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        if (!options.stderrFile.empty()) {
            int log = open(options.stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (log >= 0) {
                dup2(log, STDERR_FILENO);
                close(log);
            }
        }
        if (options.beforeExec)
            options.beforeExec();
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    m_handles->pid = pid;
    m_handles->output = pipeFds[0];
}

ChildProcess::~ChildProcess()
{
    stop();
    closeOutput();
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (m_pending.find('\n') == std::string::npos && m_handles->output >= 0 &&
           std::chrono::steady_clock::now() < deadline) {
        pollfd p{m_handles->output, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char buf[256];
        const ssize_t n = read(m_handles->output, buf, sizeof buf);
        if (n <= 0)
            break;
        m_pending.append(buf, static_cast<std::size_t>(n));
    }
    const auto end = m_pending.find('\n');
    if (end == std::string::npos)
        return std::nullopt;
    std::string line = m_pending.substr(0, end);
    m_pending.erase(0, end + 1);
    return line;
}

void ChildProcess::closeOutput()
{
    if (m_handles->output >= 0)
        close(m_handles->output);
    m_handles->output = -1;
}

long ChildProcess::id() const { return m_handles->pid; }

bool ChildProcess::running() const
{
    if (m_handles->pid <= 0)
        return false;
    // WNOWAIT: looked at, not reaped, so stop() still gets the status.
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(m_handles->pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

int ChildProcess::stop()
{
    const pid_t pid = m_handles->pid;
    if (pid <= 0)
        return m_status;
    kill(pid, SIGTERM);
    for (int i = 0; i < 500; ++i) {
        if (waitpid(pid, &m_status, WNOHANG) == pid) {
            m_handles->pid = -1;
            return m_status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &m_status, 0);
    m_handles->pid = -1;
    return m_status;
}

} // namespace medrec::testing
