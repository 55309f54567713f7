// Printing through a real CUPS queue with the cups-pdf back end (set up by
// scripts/cups-test-queue, a fixture of this test), then finding the printed PDF.

#include "ReportTestSupport.h"

#include "report_engine/Printing.h"

#include <gtest/gtest.h>

#include <QPrinterInfo>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <thread>
#include <unistd.h>

namespace medrec::report {
namespace {

std::string trimmed(std::string s)
{
    while (!s.empty() && (s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    return s;
}

// Where cups-pdf puts files: its configured "Out" directory (with ${HOME} of the job's user,
// root here), else its defaults.
std::vector<std::filesystem::path> outputDirs()
{
    std::vector<std::filesystem::path> dirs;
    std::ifstream conf("/etc/cups/cups-pdf.conf");
    std::string line;
    while (std::getline(conf, line)) {
        if (line.rfind("Out ", 0) != 0)
            continue;
        std::string out = trimmed(line.substr(4));
        for (const char* home : {static_cast<const char*>(std::getenv("HOME")), "/root"}) {
            if (!home)
                continue;
            std::string d = out;
            if (auto p = d.find("${HOME}"); p != std::string::npos)
                d.replace(p, 7, home);
            if (auto p = d.find("${USER}"); p != std::string::npos)
                d.replace(p, 7, "root");
            dirs.emplace_back(d);
        }
    }
    dirs.emplace_back("/var/spool/cups-pdf/ANONYMOUS");
    if (const char* home = std::getenv("HOME"))
        dirs.emplace_back(std::filesystem::path(home) / "PDF");
    dirs.emplace_back("/root/PDF");
    return dirs;
}

std::filesystem::path findPrinted(const std::string& token)
{
    for (const auto& dir : outputDirs()) {
        std::error_code ec;
        for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
            if (it->path().filename().string().find(token) != std::string::npos && it->path().extension() == ".pdf")
                return it->path();
    }
    return {};
}

TEST(CupsPrint, PrintsToTheDefaultQueueAndCupsPdfWritesIt)
{
    unsetenv("MEDREC_PRINT_TO");
    const std::string queue = std::getenv("MEDREC_CUPS_QUEUE") ? std::getenv("MEDREC_CUPS_QUEUE") : "medrec-pdf";
    const auto scheduler = test::runCommand("lpstat -r 2>&1");
    if (scheduler.output.find("is running") == std::string::npos || scheduler.output.find("not") != std::string::npos)
        GTEST_SKIP() << "the CUPS scheduler is not running here (scripts/cups-test-queue could not start cupsd): "
                     << trimmed(scheduler.output);
    const auto printer = test::runCommand("lpstat -p " + queue + " 2>&1");
    if (printer.status != 0)
        GTEST_SKIP() << "no CUPS queue " << queue << " (scripts/cups-test-queue could not add it): "
                     << trimmed(printer.output);
    const QString defaultName = QPrinterInfo::defaultPrinter().printerName();
    if (defaultName != QString::fromStdString(queue))
        GTEST_SKIP() << "the default printer is \"" << defaultName.toStdString() << "\", not the test queue " << queue;

    ASSERT_TRUE(printerAvailable());
    Report report(test::testForm("flowsheet"));
    const std::string token = "medrec-cups-" + std::to_string(getpid()) + "-" +
                              std::to_string(std::chrono::system_clock::now().time_since_epoch().count());
    report.form().title = token;
    report.label("qrlb_PatNo").setCaption("00001234");
    report.label("qrlb_patname").setCaption("PRINT TEST");
    int n = 0;
    report.setNeedData([&](Report& r) {
        r.label("qrlb_Data4").setCaption("CUPS line " + std::to_string(n));
        return n++ < 50;
    });
    const Document doc = report.run(test::measurer(), test::quietRun());
    ASSERT_EQ(doc.pages.size(), 2u);
    const PrintResult result = printDocument(doc, {"MDPGNOTT", "00001234"});
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.pdfFile.empty()) << "went to the printer, not to a PDF directory";

    std::filesystem::path printed;
    for (int i = 0; i < 120 && printed.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        printed = findPrinted(token);
    }
    ASSERT_FALSE(printed.empty()) << "cups-pdf wrote no file named for " << token;
    // cups-pdf renames the file into place when done; read it once its size settles.
    std::uintmax_t size = 0;
    for (int i = 0; i < 20; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        const auto now = std::filesystem::file_size(printed);
        if (now > 0 && now == size)
            break;
        size = now;
    }
    const auto info = test::runCommand("pdfinfo '" + printed.string() + "'");
    ASSERT_EQ(info.status, 0) << info.output;
    EXPECT_TRUE(std::regex_search(info.output, std::regex(R"(Pages:\s+2\n)"))) << info.output;
    EXPECT_TRUE(std::regex_search(info.output, std::regex(R"(Page size:\s+595(\.\d+)? x 84[12](\.\d+)? pts \(A4\))")))
        << info.output;
    // The text itself is not checked here: cups-pdf turns the job into PostScript and back with
    // Ghostscript, whose fonts carry no Unicode map. The searchable copy is the MEDREC_PRINT_TO one.
    std::error_code ec;
    std::filesystem::remove(printed, ec);
}

} // namespace
} // namespace medrec::report
