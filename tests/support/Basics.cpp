#include "Basics.h"

#include <filesystem>
#include <random>
#include <stdexcept>
#include <thread>

namespace medrec::testing {

bool waitUntil(const std::function<bool()> &condition, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

std::string hexBytes(const std::string &bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const unsigned char c : bytes) {
        out.push_back(kDigits[c >> 4]);
        out.push_back(kDigits[c & 0xF]);
    }
    return out.empty() ? "-" : out;
}

TempDir::TempDir()
{
    // create_directory is true only for the one that made it, so two tests never share one.
    const auto base = std::filesystem::temp_directory_path();
    std::random_device seed;
    std::mt19937_64 random(seed());
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = "medrec-test-";
        for (int i = 0; i < 8; ++i)
            name.push_back(kLetters[random() % (sizeof kLetters - 1)]);
        std::error_code ec;
        if (std::filesystem::create_directory(base / name, ec)) {
            m_path = (base / name).string();
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder in " + base.string());
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

} // namespace medrec::testing
