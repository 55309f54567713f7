// Printing through a real CUPS queue on a private scheduler (started in MEDREC_CUPS_DIR by
// scripts/cups-test-queue, a fixture of this test, and reached through CUPS_SERVER), then
// reading the printed PDF.

#include "ReportTestSupport.h"

#include "report_engine/LayoutDump.h"
#include "report_engine/Printing.h"

#include <gtest/gtest.h>

#include <QPrinterInfo>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

namespace medrec::engine {
namespace {

std::string trimmed(std::string s)
{
    while (!s.empty() && (s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    return s;
}

// Waits until the scheduler has no job left for the queue and has completed one, asking it
// every 50 ms for at most a minute. False on time-out.
bool jobCompleted(const std::string& queue)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::chrono::steady_clock::now() < deadline) {
        const auto active = test::runCommand("lpstat -o " + queue + " 2>/dev/null");
        const auto done = test::runCommand("lpstat -W completed -o " + queue + " 2>/dev/null");
        if (active.status == 0 && trimmed(active.output).empty() && !trimmed(done.output).empty())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

TEST(CupsPrint, PrintsThroughThePrivateSchedulersDefaultQueue)
{
    unsetenv("MEDREC_PRINT_TO");
    const std::string queue = "medrec-pdf";
    const std::string dir = MEDREC_CUPS_DIR;
    if (std::ifstream skipped(dir + "/skipped"); skipped) {
        std::string why;
        std::getline(skipped, why);
        GTEST_SKIP() << "no private CUPS scheduler here: " << why;
    }
    if (!std::filesystem::exists(dir + "/cups.sock"))
        GTEST_SKIP() << "the private scheduler is not running (run this test through ctest, whose fixture starts it)";
    // This process and the commands it runs talk to the private scheduler only, and take its
    // queue as their default whatever a user's lpoptions say.
    setenv("CUPS_SERVER", (dir + "/cups.sock").c_str(), 1);
    setenv("LPDEST", queue.c_str(), 1);
    ASSERT_NE(test::runCommand("lpstat -H").output.find(dir + "/cups.sock"), std::string::npos);
    const auto printer = test::runCommand("lpstat -p " + queue + " 2>&1");
    ASSERT_EQ(printer.status, 0) << "the private scheduler has no queue " << queue << ": " << printer.output;
    ASSERT_EQ(QPrinterInfo::defaultPrinter().printerName().toStdString(), queue);

    ASSERT_TRUE(printerAvailable());
    Report report(test::testForm("flowsheet"));
    report.form().title = "medrec CUPS test";
    report.label("qrlb_PatNo").setCaption("00001234");
    report.label("qrlb_patname").setCaption("PRINT TEST");
    int n = 0;
    report.setNeedData([&](Report& r) {
        r.label("qrlb_Data4").setCaption("CUPS line " + std::to_string(n));
        return n++ < 50;
    });
    const Document doc = report.run(test::measurer(), test::quietRun());
    ASSERT_EQ(doc.pages.size(), 2u);
    // A site that keeps the layout records of its paper prints.
    test::TempDir records;
    setenv("MEDREC_LAYOUT_RECORDS", records.path().c_str(), 1);
    const PrintResult result = printDocument(doc, {"MDPGNOTT", "00001234"});
    unsetenv("MEDREC_LAYOUT_RECORDS");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.pdfFile.empty()) << "went to the printer, not to a PDF directory";
    EXPECT_EQ(result.printer, queue);
    EXPECT_EQ(result.pages, 2);
    EXPECT_EQ(result.layoutRecordError, "");
    EXPECT_EQ(result.layoutRecord.parent_path(), records.path());
    EXPECT_TRUE(std::regex_match(result.layoutRecord.filename().string(),
                                 std::regex(R"(\d{8}-\d{6}_MDPGNOTT_00001234\.layout\.txt)")))
        << result.layoutRecord;
    std::ifstream record(result.layoutRecord);
    std::ostringstream recorded;
    recorded << record.rdbuf();
    EXPECT_EQ(recorded.str(), dumpDocument(doc));

    ASSERT_TRUE(jobCompleted(queue)) << "the scheduler did not complete the job within a minute";
    const std::filesystem::path printed = dir + "/out/" + queue + ".pdf";
    ASSERT_TRUE(std::filesystem::exists(printed)) << "the queue wrote no " << printed;
    const auto info = test::runCommand("pdfinfo '" + printed.string() + "'");
    ASSERT_EQ(info.status, 0) << info.output;
    EXPECT_TRUE(std::regex_search(info.output, std::regex(R"(Pages:\s+2\n)"))) << info.output;
    EXPECT_TRUE(std::regex_search(info.output, std::regex(R"(Page size:\s+595(\.\d+)? x 84[12](\.\d+)? pts \(A4\))")))
        << info.output;
    const auto text = test::runCommand("pdftotext -layout '" + printed.string() + "' -");
    ASSERT_EQ(text.status, 0) << text.output;
    EXPECT_NE(text.output.find("CUPS line 49"), std::string::npos) << "the last record printed";
    EXPECT_NE(text.output.find("PRINT TEST"), std::string::npos);
}

} // namespace
} // namespace medrec::engine
