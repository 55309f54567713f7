// The site environment file the client names: MEDREC_ENV_FILE when set (Windows too), else
// system's own place for it.

#include "SiteEnvironment.h"
#include "ScopedEnv.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(SiteEnvironment, TheVariableNamesTheFileElseEtcMedrec)
{
    struct Case
    {
        std::optional<std::string> variable;
        std::string expected;
    };
    const Case cases[] = {
        {std::nullopt, "/etc/medrec/His.env"},
        {"", "/etc/medrec/His.env"},
        {"/srv/site/His.env", "/srv/site/His.env"},
        {"relative/His.env", "relative/His.env"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.variable.value_or("(unset)"));
        medrec::testing::ScopedEnv env("MEDREC_ENV_FILE", c.variable);
        EXPECT_EQ(medrec::app::SiteEnvironmentFile(), c.expected);
    }
}

} // namespace
