#include "ChildProcess.h"

#include "system/WideText.h"

#include <windows.h>

#include <stdexcept>

namespace medrec::testing {

namespace {

// One argument as CommandLineToArgvW reads it back: quoted, with the backslashes before a
// quote doubled.
std::wstring quoted(const std::wstring &arg)
{
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, L'\\');
    out.push_back(L'"');
    return out;
}

} // namespace

struct ChildProcess::Handles
{
    HANDLE process = nullptr;
    HANDLE output = nullptr; // reading end of its standard output
};

ChildProcess::ChildProcess(const std::vector<std::string> &args, ChildOptions options)
    : m_handles(std::make_unique<Handles>())
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        throw std::runtime_error("CreatePipe failed");
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE errorFile = nullptr;
    if (!options.stderrFile.empty())
        errorFile = CreateFileW(platform::wideFromUtf8(options.stderrFile).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);

    std::wstring commandLine;
    for (const auto &a : args)
        commandLine += (commandLine.empty() ? L"" : L" ") + quoted(platform::wideFromUtf8(a));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = errorFile && errorFile != INVALID_HANDLE_VALUE ? errorFile : GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &info);
    // The child holds its own copies; the pipe reports its end once the child's is closed.
    CloseHandle(writeEnd);
    if (errorFile && errorFile != INVALID_HANDLE_VALUE)
        CloseHandle(errorFile);
    if (!started) {
        CloseHandle(readEnd);
        throw std::runtime_error("CreateProcess failed for " + (args.empty() ? std::string() : args[0]));
    }
    CloseHandle(info.hThread);
    m_handles->process = info.hProcess;
    m_handles->output = readEnd;
}

ChildProcess::~ChildProcess()
{
    stop();
    closeOutput();
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (m_pending.find('\n') == std::string::npos && m_handles->output &&
           std::chrono::steady_clock::now() < deadline) {
        DWORD available = 0;
        if (!PeekNamedPipe(m_handles->output, nullptr, 0, nullptr, &available, nullptr))
            break; // the child's end is closed
        if (available == 0) {
            Sleep(10);
            continue;
        }
        char buf[256];
        DWORD n = 0;
        if (!ReadFile(m_handles->output, buf, sizeof buf, &n, nullptr) || n == 0)
            break;
        m_pending.append(buf, n);
    }
    const auto end = m_pending.find('\n');
    if (end == std::string::npos)
        return std::nullopt;
    std::string line = m_pending.substr(0, end);
    m_pending.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

void ChildProcess::closeOutput()
{
    if (m_handles->output)
        CloseHandle(m_handles->output);
    m_handles->output = nullptr;
}

long ChildProcess::id() const
{
    return m_handles->process ? static_cast<long>(GetProcessId(m_handles->process)) : -1;
}

bool ChildProcess::running() const
{
    return m_handles->process && WaitForSingleObject(m_handles->process, 0) == WAIT_TIMEOUT;
}

int ChildProcess::stop()
{
    if (!m_handles->process)
        return m_status;
    if (running())
        TerminateProcess(m_handles->process, 1);
    WaitForSingleObject(m_handles->process, 5000);
    DWORD code = 0;
    GetExitCodeProcess(m_handles->process, &code);
    CloseHandle(m_handles->process);
    m_handles->process = nullptr;
    m_status = static_cast<int>(code);
    return m_status;
}

} // namespace medrec::testing
