// The site environment file the client names: MEDREC_ENV_FILE outside Windows, else the
// system's own place for it.

#include "SiteEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// Sets or clears MEDREC_ENV_FILE for one scope and puts back what was there.
class ScopedEnvFile
{
public:
    explicit ScopedEnvFile(const char *value)
    {
        if (const char *old = std::getenv("MEDREC_ENV_FILE"))
            m_old = old;
        if (value)
            setenv("MEDREC_ENV_FILE", value, 1);
        else
            unsetenv("MEDREC_ENV_FILE");
    }
    ~ScopedEnvFile()
    {
        if (m_old)
            setenv("MEDREC_ENV_FILE", m_old->c_str(), 1);
        else
            unsetenv("MEDREC_ENV_FILE");
    }

private:
    std::optional<std::string> m_old;
};

TEST(SiteEnvironment, TheVariableNamesTheFileElseEtcMedrec)
{
    struct Case
    {
        const char *variable;
        std::string expected;
    };
    const Case cases[] = {
        {nullptr, "/etc/medrec/His.env"},
        {"", "/etc/medrec/His.env"},
        {"/srv/site/His.env", "/srv/site/His.env"},
        {"relative/His.env", "relative/His.env"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.variable ? c.variable : "(unset)");
        ScopedEnvFile env(c.variable);
        EXPECT_EQ(medrec::app::SiteEnvironmentFile(), c.expected);
    }
}

} // namespace
