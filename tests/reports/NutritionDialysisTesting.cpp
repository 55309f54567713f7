#include "NutritionDialysisTesting.h"

#include "TestDataText.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace medrec::testing {

namespace {

// A medication list of five rows of 15,800 CP949 bytes each: more than one standard reply holds.
std::string faultData()
{
    std::string big;
    for (int i = 0; i < 7900; ++i)
        big += "가";
    return replaceAll(readFile(MEDREC_TEST_DATA "/nutrition-dialysis.json"), "BIG-ORDER-TEXT", big);
}

} // namespace

void NutritionDialysisTest::SetUpTestSuite()
{
    s_server = StartServerWith({DemoData(), faultData()});
}

KindPrint NutritionDialysisTest::printRecord(const std::string &kind, const std::string &patNo,
                                             const std::string &visitDate, int index,
                                             reports::PrintContext *used)
{
    reports::PrintContext context = contextFor(kind, patNo, visitDate, index);
    if (used)
        *used = context;
    return print(kind, context);
}

std::string NutritionDialysisTest::batchPrintingNothing(const std::string &args)
{
    const std::string env = writeSiteEnvironment(m_out.path(), "127.0.0.1", s_server->port());
    const std::string pdfDir = m_out.file("batch");
    std::filesystem::remove_all(pdfDir);
    std::filesystem::create_directories(pdfDir);
    const std::size_t before = historyLines().size();
    const std::string out =
        commandOutput("MEDREC_ENV_FILE='" + env + "' MEDREC_PRINT_TO='pdf:" + pdfDir +
                      "' MEDREC_BATCH_USER=COURT '" MEDREC_BATCH_PROGRAM "' " + args + " 2>&1");
    EXPECT_NE(out.find("not printed"), std::string::npos) << out;
    EXPECT_EQ(historyLines().size(), before);
    EXPECT_TRUE(std::filesystem::is_empty(pdfDir));
    return out;
}

void NutritionDialysisTest::expectServicesListed(const std::vector<std::string> &lines)
{
    const std::string out = commandOutput("'" + serverProgramPath() + "' services");
    for (const std::string &line : lines)
        EXPECT_NE(out.find("\n" + line + "\n"), std::string::npos) << line;
}

std::string NutritionDialysisTest::joined(const std::vector<std::string> &pages, std::size_t from,
                                          std::size_t to)
{
    std::string text;
    for (std::size_t i = from; i < to && i < pages.size(); ++i)
        text += pages[i];
    return text;
}

std::size_t NutritionDialysisTest::occurrences(const std::string &text, const std::string &what)
{
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

} // namespace medrec::testing
