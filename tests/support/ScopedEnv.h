#pragma once

// Sets or clears one environment variable for a scope and puts back what was there.
//
//   medrec::testing::ScopedEnv printTo("MEDREC_PRINT_TO", "pdf:" + dir);
//   medrec::testing::ScopedEnv noEnvFile("MEDREC_ENV_FILE", std::nullopt);

#include "system/Environment.h"

#include <optional>
#include <string>

namespace medrec::testing {

class ScopedEnv
{
public:
    ScopedEnv(std::string name, const std::optional<std::string> &value)
        : m_name(std::move(name)), m_old(platform::environmentVariable(m_name.c_str()))
    {
        put(value);
    }
    ~ScopedEnv() { put(m_old); }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    void put(const std::optional<std::string> &value)
    {
        if (value)
            platform::setEnvironmentVariable(m_name.c_str(), *value);
        else
            platform::unsetEnvironmentVariable(m_name.c_str());
    }

    std::string m_name;
    std::optional<std::string> m_old;
};

} // namespace medrec::testing
