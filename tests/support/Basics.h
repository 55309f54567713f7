#pragma once

// What tests on every system share, Windows included: a temporary folder of their own and
// waiting for a condition. TestSupport.h (the service host's fixtures) includes it.

#include <chrono>
#include <functional>
#include <string>

namespace medrec::testing {

// Asks the condition every 10 ms until it holds or the limit has passed, and says whether it
// held: how a test waits for what another thread or process does, never a guessed sleep.
bool waitUntil(const std::function<bool()> &condition,
               std::chrono::milliseconds limit = std::chrono::seconds(10));

// The bytes as lower-case hex ("-" for none): text compared across programs and consoles
// whose code pages could alter it.
std::string hexBytes(const std::string &bytes);

// A fresh temporary folder, removed with its contents on destruction.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &path() const { return m_path; }
    std::string file(const std::string &name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

} // namespace medrec::testing
