#include "NutritionDialysisTesting.h"

#include "TestDataText.h"

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

void NutritionDialysisTest::SetUpTestSuite() { s_server = StartServerWith({DemoData(), faultData()}); }

KindPrint NutritionDialysisTest::printRecord(const std::string &kind, const std::string &patNo,
                                             const std::string &visitDate, int index, reports::PrintContext *used)
{
    reports::PrintContext context = contextFor(kind, patNo, visitDate, index);
    if (used)
        *used = context;
    return print(kind, context);
}

std::string NutritionDialysisTest::batch(const std::string &args, const std::string &pdfDir)
{
    const std::string env = writeSiteEnvironment(m_out.path(), "127.0.0.1", s_server->port());
    std::filesystem::remove_all(pdfDir);
    std::filesystem::create_directories(pdfDir);
    return commandOutput("MEDREC_ENV_FILE='" + env + "' MEDREC_PRINT_TO='pdf:" + pdfDir +
                         "' MEDREC_BATCH_USER=COURT '" MEDREC_BATCH_PROGRAM "' " + args + " 2>&1");
}

std::string NutritionDialysisTest::joined(const std::vector<std::string> &pages, std::size_t from, std::size_t to)
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
