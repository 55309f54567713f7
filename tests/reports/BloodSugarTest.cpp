// The blood-sugar sheet printed from the demo data on a real medrec-server: readings sorted
// into the four time slots, one line per day, the period and patient block on every page.
#include "FlowsheetTestSupport.h"

#include "MDF160U1_P02/MDF160U1_P02.h"

#include "HmdIochkt.h"

#include <gtest/gtest.h>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

class BloodSugar : public mt::FlowsheetTest
{
};

TEST(BloodSugarSlots, TheBoundariesBelongToTheEarlierSlot)
{
    const std::vector<std::pair<std::string, std::optional<int>>> cases = {
        {"00:00", 1},
        {"03:15", 1},
        {"07:30", 1},
        {"07:31", 2},
        {"12:00", 2},
        {"12:01", 3},
        {"17:30", 3},
        {"17:31", 4},
        {"23:59", 4},
        {"24:00", 4},
        {"24:01", std::nullopt},
        {"", std::nullopt},
        {"7:30", std::nullopt},
    };
    for (const auto &[time, slot] : cases) {
        SCOPED_TRACE(time);
        EXPECT_EQ(reports::BloodSugarSlot(time), slot);
    }
}

TEST(BloodSugarSlots, AReadingIsRightAlignedInTenCharacters)
{
    EXPECT_EQ(reports::BloodSugarCell("120", "07:00"), "       120 (07:00)");
    EXPECT_EQ(reports::BloodSugarCell("98.5", "21:30"), "      98.5 (21:30)");
    EXPECT_EQ(reports::BloodSugarCell("12345678901", "01:00"), "12345678901 (01:00)");
}

TEST_F(BloodSugar, ReadingsLandInTheirSlotsOneLinePerDay)
{
    auto context = flowsheet("MDIOCHKT_BS", "02345678", "20130422");
    const mt::KindPrint result = printAndRecord("MDIOCHKT_BS", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_TRUE(result.document->warnings.empty());
    const auto pages = pdfPages(result.pdf);
    ASSERT_EQ(pages.size(), 1u);
    const std::string &page = pages[0];
    for (const char *caption :
         {"BS 측정결과", "SEON MEDICAL CENTER", "등록번호", "주민번호", "SEX/AGE", "진 료 과", "주 치 의",
          "병동/병실", "기    간", "측 정 일", "측정1(00:00~07:30)", "측정2(07:31~12;00)",
          "측정3(12:01~17:30)", "측정4(17:31~23:59)"}) {
        SCOPED_TRACE(caption);
        EXPECT_TRUE(mt::Shows(page, caption));
    }
    for (const char *value :
         {"02345678", "박지훈", "730628-1******", "흉부외과", "김도현", "ICU", "2013-04-22 ~ 2013-05-05"}) {
        SCOPED_TRACE(value);
        EXPECT_TRUE(mt::Shows(page, value));
    }
    EXPECT_TRUE(mt::PrintsText(*result.document, 1, "이    름"));
    const auto lines = mt::BandLines(*result.document, "band_Detail");
    ASSERT_EQ(lines.size(), 1u);
    // 14 days and the day that came back.
    ASSERT_EQ(lines[0].size(), 15u);
    // 00:00 replaced by 07:30 in slot 1, 07:31 by 12:00 in slot 2, 23:59 by 24:00 in slot 4.
    EXPECT_EQ(lines[0][0], "qrlb_Data1=2013-04-22|qrlb_Data2=120 (07:30)|qrlb_Data3=176 (12:00)|"
                           "qrlb_Data4=154 (17:30)|qrlb_Data5=127 (24:00)");
    // Three readings in slot 2 of the 23rd: only the last; slot 3 stays empty.
    EXPECT_EQ(lines[0][1],
              "qrlb_Data1=2013-04-23|qrlb_Data2=118 (06:00)|qrlb_Data3=164 (11:30)|qrlb_Data5=139 (21:00)");
    // The 27th has no afternoon reading; it comes back after the 28th on a line of its own.
    EXPECT_EQ(lines[0][5].find("qrlb_Data1=2013-04-27|"), 0u);
    EXPECT_EQ(lines[0][5].find("qrlb_Data4"), std::string::npos);
    EXPECT_EQ(lines[0][7], "qrlb_Data1=2013-04-27|qrlb_Data4=212 (16:45)");
    for (const char *value : {"120(07:30)", "176(12:00)", "154(17:30)", "127(24:00)", "212(16:45)"}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(mt::TimesShown(page, value), 1);
    }
    for (const char *replaced : {"(00:00)", "(07:31)", "(23:59)", "(08:00)", "(10:00)"}) {
        SCOPED_TRACE(replaced);
        EXPECT_FALSE(mt::Shows(page, replaced));
    }
    EXPECT_EQ(mt::TimesShown(page, "2013-04-27"), 2);

    EXPECT_EQ(result.summary.patgubun, "I");
    EXPECT_EQ(result.summary.chadr, "김도현");
    EXPECT_EQ(result.summary.meddate, "20130422");
    EXPECT_EQ(result.summary.dschdate, "20130505");
}

TEST_F(BloodSugar, TheHeaderAndCaptionsRepeatOnEveryPage)
{
    auto context = flowsheet("MDIOCHKT_BS", "00004001", "20220103");
    const mt::KindPrint result = printAndRecord("MDIOCHKT_BS", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    const auto pages = pdfPages(result.pdf);
    ASSERT_EQ(pages.size(), 2u);
    for (const auto &page : pages) {
        EXPECT_TRUE(mt::Shows(page, "BS 측정결과"));
        EXPECT_TRUE(mt::Shows(page, "00004001"));
        EXPECT_TRUE(mt::Shows(page, "2022-01-03 ~ 2022-03-06"));
        EXPECT_TRUE(mt::Shows(page, "측정4(17:31~23:59)"));
    }
    // Every reading's time and value is on the paper once, the replaced ones excepted (none here).
    services::HmdIochkt data;
    const int rows = data.ListIochk("7", "00004001", "20220103", "20220306", "");
    ASSERT_GT(rows, 200);
    for (int i = 0; i < rows; ++i) {
        const auto row = static_cast<std::size_t>(i);
        const std::string cell = data.value("S_NUMVAL1", row) + "(" + data.value("S_STRING2", row) + ")";
        SCOPED_TRACE(data.value("S_STRING7", row) + " " + cell);
        EXPECT_TRUE(mt::Shows(pages[0] + pages[1], cell));
    }
    const auto lines = mt::BandLines(*result.document, "band_Detail");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].back(), "qrlb_Data1=2022-01-10|qrlb_Data2=64 (03:10)");
}

TEST_F(BloodSugar, EmptySlotsNeverShowAnEarlierPrint)
{
    auto context = flowsheet("MDIOCHKT_BS", "02345678", "20130422");
    mt::FillWithStale(context.scratch.allList, 80, 6);
    const mt::KindPrint result = print("MDIOCHKT_BS", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_FALSE(mt::Shows(pdfPages(result.pdf).at(0), "STALE"));
}

TEST_F(BloodSugar, NoReadingsTellTheStatusLine)
{
    reports::PrintContext context;
    context.record =
        reports::RowCells({"02345678", "20130101", "20130102", "흉부외과", "김도현", "ICU", "I", "김도현"});
    const mt::KindPrint result = print("MDIOCHKT_BS", context);
    mt::ExpectNothingFound(result, "조회된 데이타가 없습니다.");
}

} // namespace
