#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// Golden files: a test's output compared with tests/golden/<kind>/<case>.txt.
//
//   EXPECT_TRUE(medrec::testing::matchesGolden("nursing-record", "two-pages", dumpDocument(doc)));
//
// With MEDREC_UPDATE_GOLDEN=1 in the environment the file is (re)written with the output instead
// and the check passes; review the change with git diff. A mismatch shows the first differing
// lines as a unified-diff excerpt.

namespace medrec::testing {

std::filesystem::path goldenDirectory();
std::filesystem::path goldenPath(const std::string& kind, const std::string& caseName);

::testing::AssertionResult matchesGolden(const std::string& kind, const std::string& caseName,
                                         const std::string& actual);
// The same against any file.
::testing::AssertionResult matchesGoldenFile(const std::filesystem::path& path, const std::string& actual);

// The diff excerpt a mismatch shows: a header, a few lines of context, then the differing lines
// of each side ("-" golden, "+" actual), at most `maxLines` of each. Empty when equal.
std::string diffExcerpt(const std::string& expected, const std::string& actual, std::size_t maxLines = 12);

} // namespace medrec::testing
