// The body-measurement sheet printed from the demo data on a real medrec-server: the
// measurements down the left half, then the right, the title band on the first page only.
#include "FlowsheetTestSupport.h"

#include "MDF180U1_P01/MDF180U1_P01.h"

#include <gtest/gtest.h>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

class BodyMeasurements : public mt::FlowsheetTest
{
};

// Entries "1" .. "n" side by side, as "left/right" per line.
std::vector<std::string> pairsOf(int entries)
{
    common::GridData list(1, 1 + entries, 1);
    for (int i = 1; i <= entries; ++i)
        list.setCell(0, i, std::to_string(i));
    const common::GridData lines = reports::SideBySide(list, 1);
    std::vector<std::string> out;
    for (int row = 1; row < lines.rowCount(); ++row)
        out.push_back(lines.cell(0, row) + "/" + lines.cell(1, row));
    return out;
}

TEST(BodyMeasurementHalves, EntriesRunDownTheLeftHalfThenTheRight)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(pairsOf(5), (Lines{"1/4", "2/5", "3/"}));
    EXPECT_EQ(pairsOf(4), (Lines{"1/3", "2/4"}));
    EXPECT_EQ(pairsOf(1), (Lines{"1/"}));
    EXPECT_EQ(pairsOf(2), (Lines{"1/2"}));
    EXPECT_EQ(pairsOf(7), (Lines{"1/5", "2/6", "3/7", "4/"}));
}

TEST_F(BodyMeasurements, FiveMeasurementsPrintThreeLines)
{
    auto context = flowsheet("MDIOCHKT_WE", "00001302", "20160905");
    const mt::KindPrint result = printAndRecord("MDIOCHKT_WE", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_TRUE(result.document->warnings.empty());
    const auto pages = pdfPages(result.pdf);
    ASSERT_EQ(pages.size(), 1u);
    const std::string &page = pages[0];
    for (const char *caption : {"체 중 측 정 결 과", "SEON MEDICAL CENTER", "환자번호", "주민번호", "SEX/AGE",
                                "진 료 과", "주 치 의", "병동/병실"}) {
        SCOPED_TRACE(caption);
        EXPECT_TRUE(mt::Shows(page, caption));
    }
    EXPECT_TRUE(mt::PrintsText(*result.document, 1, "이    름"));
    for (const char *caption : {"측 정 일 시", "체중(Kg)", "신장", "복위", "흉위", "두위"}) {
        SCOPED_TRACE(caption);
        EXPECT_EQ(mt::TimesShown(page, caption), 2);
    }
    for (const char *value : {"00001302", "김민수", "651120-1******", "정형외과", "최영민", "51/5105", "72.4",
                              "171.2", "87.5", "70.6", "85.5"}) {
        SCOPED_TRACE(value);
        EXPECT_TRUE(mt::Shows(page, value));
    }
    const auto lines = mt::BandLines(*result.document, "QRBand2");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(
        lines[0],
        (std::vector<std::string>{
            "qrlb_Date1=2016-09-05 10:00|qrlb_Weight1=72.4|qrlb_Height1=171.2|qrlb_Item11=88|"
            "qrlb_Item21=96|qrlb_Date2=2016-09-15 06:00|qrlb_Weight2=70.8|qrlb_Item12=86|qrlb_Item22=95",
            "qrlb_Date1=2016-09-08 06:00|qrlb_Weight1=71.9|qrlb_Item11=87.5|"
            "qrlb_Date2=2016-09-19 "
            "06:00|qrlb_Weight2=70.6|qrlb_Height2=171.2|qrlb_Item12=85.5|qrlb_Item22=95",
            "qrlb_Date1=2016-09-11 06:00|qrlb_Weight1=71.2",
        }));
    EXPECT_EQ(result.summary.patgubun, "I");
    EXPECT_EQ(result.summary.chadr, "최영민");
    EXPECT_EQ(result.summary.dschdate, "20160920");
}

TEST_F(BodyMeasurements, TheTitleBandPrintsOnTheFirstPageOnly)
{
    auto context = flowsheet("MDIOCHKT_WE", "00004012", "20220115");
    const mt::KindPrint result = printAndRecord("MDIOCHKT_WE", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    const auto pages = pdfPages(result.pdf);
    ASSERT_EQ(pages.size(), 2u);
    for (const char *text : {"체 중 측 정 결 과", "00004012", "황지아", "체중(Kg)"}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(mt::Shows(pages[0], text));
        EXPECT_FALSE(mt::Shows(pages[1], text));
    }
    // 89 measurements: 45 lines, the last with nothing on its right.
    const auto lines = mt::BandLines(*result.document, "QRBand2");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size() + lines[1].size(), 45u);
    EXPECT_EQ(lines[1].back().find("qrlb_Date2"), std::string::npos);
    EXPECT_EQ(lines[0][0].find("qrlb_Date1=2022-01-15 09:00|"), 0u);
    EXPECT_NE(lines[0][0].find("qrlb_Date2=2022-01-20 09:00|"), std::string::npos);
    EXPECT_EQ(mt::TimesShown(pages[0] + pages[1], "2022-01-"), 89);
}

TEST_F(BodyMeasurements, AnEmptyHalfNeverShowsAnEarlierPrint)
{
    auto context = flowsheet("MDIOCHKT_WE", "00001302", "20160905");
    mt::FillWithStale(context.scratch.allList, 40, 12);
    const mt::KindPrint result = print("MDIOCHKT_WE", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_FALSE(mt::Shows(pdfPages(result.pdf).at(0), "STALE"));
    EXPECT_EQ(context.scratch.allList.rowCount(), 6);
}

TEST_F(BodyMeasurements, NoMeasurementsEmptyTheStatusLine)
{
    reports::PrintContext context;
    context.record = reports::RowCells(
        {"00001302", "20081201", "20081210", "정형외과", "최영민", "51/5102", "I", "최영민"});
    const mt::KindPrint result = print("MDIOCHKT_WE", context);
    mt::ExpectNothingFound(result, "");
}

} // namespace
