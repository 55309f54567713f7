// A filled report that cannot print as its values say is refused, with the reason, before
// anything goes to the printer.
#include "RecordingPresenter.h"
#include "ReportForms.h"
#include "TestSupport.h"

#include "report_engine/FormLoader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace medrec;
namespace mt = medrec::testing;
using Channel = mt::RecordedMessage::Channel;

namespace {

int pdfFiles(const std::string &dir)
{
    int n = 0;
    for (const auto &entry : std::filesystem::directory_iterator(dir))
        n += entry.path().extension() == ".pdf";
    return n;
}

TEST(PrintReport, ABarcodeTextCode39CannotEncodeIsReportedAndNothingPrints)
{
    mt::TempDir out;
    mt::ScopedRecordingPresenter recorder;
    setenv("MEDREC_PRINT_TO", ("pdf:" + out.path()).c_str(), 1);
    report::Report report(report::parseForm(R"json({"name": "barcode", "bands": [{"name": "d", "kind": "detail",
        "height": 20, "components": [{"type": "label", "name": "qrlb_Barcode", "box": [0, 0, 80, 10],
        "font": {"family": "Code39(1:2)", "size": 24}}]}]})json"));

    report.label("qrlb_Barcode").setCaption("0000-12#4");
    EXPECT_FALSE(reports::PrintReport(report, "MDOPRECT", "00001234", nullptr));
    const auto boxes = recorder->texts(Channel::Plain);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("qrlb_Barcode"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("\"#\", which Code 39 cannot encode"), std::string::npos) << boxes[0];
    EXPECT_EQ(pdfFiles(out.path()), 0);

    recorder->clear();
    report.label("qrlb_Barcode").setCaption("0000-1234");
    EXPECT_TRUE(reports::PrintReport(report, "MDOPRECT", "00001234", nullptr));
    EXPECT_TRUE(recorder->log().empty());
    EXPECT_EQ(pdfFiles(out.path()), 1);
    unsetenv("MEDREC_PRINT_TO");
}

} // namespace
