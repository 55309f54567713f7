// The operation record printed for real: records from medrec-server on loopback, the form
// file, the report engine and a PDF read back with pdftotext.
#include "RecordKindFixture.h"
#include "TestDataText.h"

#include "FormConventions.h"
#include "MDS510U1_P01/MDS510U1_P01.h"
#include "RecordKinds.h"
#include "ReportForms.h"

#include "report_engine/Report.h"

#include <gtest/gtest.h>


using namespace medrec;
namespace mt = medrec::testing;
using Channel = mt::RecordedMessage::Channel;

namespace {

class OperationRecord : public mt::RecordKindTest
{
protected:
    static void SetUpTestSuite()
    {
        std::string json = mt::readFile(MEDREC_TEST_DATA "/operation-records.json");
        json = mt::replaceAll(json, "LONG-PROCEDURE", mt::longText("복강 내 유착을 조심스럽게 박리하고 출혈 부위를 지혈함.", 90));
        json = mt::replaceAll(json, "LONG-FINDINGS", mt::longText("장간막 림프절이 약간 커져 있었음.", 60));
        StartServer(json);
    }
    static void TearDownTestSuite() { StopServer(); }

    reports::PrintContext record(int index)
    {
        reports::PrintContext context;
        context.record = recordRow("MDOPRECT", "00004321", "20261102", index);
        return context;
    }
};

TEST_F(OperationRecord, PrintsEveryCaptionAndValueWithTheMarksTheValuesSay)
{
    auto context = record(0);
    const mt::KindPrint result = print("MDOPRECT", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_EQ(result.history,
              (reports::HistoryRow{.patNo = "00004321", .recordKey = "20261103", .details = {"1", "empty", "empty"}}));

    EXPECT_NE(result.pdf.filename().string().find("_MDOPRECT_00004321"), std::string::npos);
    const auto pages = pdfPages(result.pdf);
    ASSERT_EQ(pages.size(), 1u);
    const std::string &page = pages[0];

    for (const char *text : {"※ 전자인증된 서식입니다.", "수  술  기  록", "SEON MEDICAL CENTER", "등록번호", "이    름",
                             "주민번호", "SEX/AGE", "진 료 과", "주 치 의", "병동/병실", "수술시작시각 :", "수술종료시각 :",
                             "집도의1 :", "집도의2 :", "제1보조의 :", "제2보조의 :", "수술전 진단명 :", "수술후 진단명 :",
                             "수술전 수술명 :", "수술후 수술명 :", "마취종류 :", "수술중 혈액소실량", "수혈량", "배액/배농",
                             "조직표본검체", "스폰지 사용량 확인", "작성일시 :", "작성의사 :", "세온병원", "수술기록",
                             "KRV 82-OP-2-40"}) {
        SCOPED_TRACE(text);
        EXPECT_NE(page.find(withoutBlanks(text)), std::string::npos);
    }
    for (const char *value : {"00004321", "F/41Y 10M", "한지우", "850101-2******", "외과", "이정훈", "71/7103", "김집도",
                              "박보조", "정보조", "급성 충수염 (K35.8)", "천공성 충수염", "충수절제술 예정", "복강경 충수절제술",
                              "배액관 삽입", "전신마취", "이작성", "2026-11-03 16:20", "150", "320", "2026-11-03 14:00",
                              "2026-11-03 15:10", "최집도", "복막염 동반", "관찰소견및수술중특이사항", "충수 끝부분 천공 관찰됨.",
                              "수술절차", "배꼽 아래 절개 후 충수를 박리하여 절제함."}) {
        SCOPED_TRACE(value);
        EXPECT_NE(page.find(withoutBlanks(value)), std::string::npos);
    }
    // Tissue "Y", drain "y" and sponge empty: one mark on "유", two on "무", no check mark left.
    std::size_t marks = 0;
    for (auto at = page.find("■"); at != std::string::npos; at = page.find("■", at + 1))
        ++marks;
    EXPECT_EQ(marks, 3u);
    EXPECT_EQ(page.find("√"), std::string::npos);
    // Disabled on the form: filled, never printed.
    for (const char *hidden : {"수 술 일 :", "OPDATE-1103", "집도의사 :"}) {
        SCOPED_TRACE(hidden);
        EXPECT_EQ(page.find(withoutBlanks(hidden)), std::string::npos);
    }

    EXPECT_EQ(result.summary.patno, "00004321");
    EXPECT_EQ(result.summary.meddate, "20261102");
    EXPECT_EQ(result.summary.dschdate, "20261110");
    EXPECT_EQ(result.summary.patgubun, "건강보험");
    EXPECT_EQ(result.summary.meddept, "외과");
    EXPECT_EQ(result.summary.chadr, "이정훈");
}

TEST_F(OperationRecord, LongTextsRunOntoMorePagesWithTheFurnitureOnEach)
{
    auto context = record(1);
    const mt::KindPrint result = print("MDOPRECT", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    const auto pages = pdfPages(result.pdf);
    ASSERT_GE(pages.size(), 2u);
    for (const auto &page : pages) {
        EXPECT_NE(page.find("세온병원"), std::string::npos);
        EXPECT_NE(page.find("KRV82-OP-2-40"), std::string::npos);
        EXPECT_NE(page.find("수술기록"), std::string::npos);
        EXPECT_NE(page.find("00004321"), std::string::npos); // the page header repeats
    }
    // The summary band follows the memo, on the last page.
    EXPECT_NE(pages.back().find("작성일시:"), std::string::npos);
    EXPECT_NE(pages.back().find("(90)"), std::string::npos);
}

TEST_F(OperationRecord, ARecordWithoutContentPrintsNothing)
{
    auto context = record(2);
    const mt::KindPrint result = print("MDOPRECT", context);
    ASSERT_TRUE(result.refused.has_value());
    EXPECT_EQ(result.refused->reason, reports::NotPrinted::Reason::NothingFound);
    EXPECT_EQ(result.refused->notice.channel, reports::Notice::Channel::Box);
    EXPECT_EQ(result.refused->notice.text, "출력할  자료가 없습니다.");
    EXPECT_FALSE(result.printed());
}

TEST(OperationMemo, TheFourCombinationsOfFindingsAndProcedure)
{
    const std::string F = "소견", P = "절차";
    EXPECT_EQ(reports::OperationMemoText("", ""), "");
    EXPECT_EQ(reports::OperationMemoText(F, ""), "관찰소견및수술중특이사항\r\n\r\n 소견\r\n\r\n");
    EXPECT_EQ(reports::OperationMemoText("", P), "수술절차\r\n\r\n 절차\r\n\r\n");
    EXPECT_EQ(reports::OperationMemoText(F, P), "관찰소견및수술중특이사항\r\n\r\n 소견\r\n수술절차\r\n\r\n 절차\r\n\r\n");
}

TEST(FormConventions, CodeToIntReadsWholeNumbersAndRefusesTheRest)
{
    EXPECT_EQ(reports::CodeToInt(""), -1);
    EXPECT_EQ(reports::CodeToInt(" "), -1);
    EXPECT_EQ(reports::CodeToInt("   "), -1);
    EXPECT_EQ(reports::CodeToInt("3"), 3);
    EXPECT_EQ(reports::CodeToInt("  12"), 12);
    EXPECT_EQ(reports::CodeToInt("-2"), -2);
    for (const char *bad : {"abc", "3a", "1.5", "3 "}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(reports::CodeToInt(bad), reports::CodeConversionError);
    }
    try {
        reports::CodeToInt("x1");
        ADD_FAILURE() << "no conversion error";
    } catch (const reports::CodeConversionError &e) {
        EXPECT_STREQ(e.what(), "'x1' is not a valid integer value");
    }
}

TEST(FormConventions, MaskedResidentNumbers)
{
    EXPECT_EQ(reports::MaskedResNo("850101", "2345678"), "850101-2******");
    EXPECT_EQ(reports::MaskedResNo("850101-2345678"), "850101-2******");
}

TEST(FormConventions, OnlyAnExactYFillsTheSquare)
{
    auto form = reports::MakeReport("MDS510U1_P01", "TMDS510F1_P01", reports::clearCheckMarks);
    for (const auto &[value, black] : std::vector<std::pair<std::string, bool>>{{"Y", true}, {"N", false}, {"y", false}, {"", false}}) {
        SCOPED_TRACE(value);
        reports::shcbx_pro((*form), "QRShape3", value);
        const auto brush = (*form).shape("QRShape3").brush;
        ASSERT_TRUE(brush.has_value());
        EXPECT_EQ(*brush == engine::Color::black(), black);
    }
    // The creation hook emptied every check mark.
    EXPECT_EQ((*form).label("qrlb_TissY").caption, "");
}

TEST(RecordKinds, TheTwentyEightCodesInDispatchOrder)
{
    const auto &kinds = reports::RecordKinds();
    EXPECT_EQ(kinds.front().code, "MDOPRECT");
    EXPECT_EQ(kinds.back().code, "MDNRACTT");
    EXPECT_EQ(reports::FindRecordKind("MDIOCHKT_BS")->forms.front(), "TMDF160F1_P02");
    EXPECT_EQ(reports::FindRecordKind("MDIOCHKT_IO")->forms.front(), "TMDF130F1_P01");
    EXPECT_EQ(reports::FindRecordKind("MDIOCHKT_WE")->forms.front(), "TMDF180F1_P01");
    EXPECT_EQ(reports::FindRecordKind("mdoprect"), nullptr);
}

} // namespace
