// The sedation treatment record ("SRSEDMST") printed from the real medrec-server: both forms
// as one document with every caption, value and square of the demo record, the closing band
// moved whole to a page of its own, the summary and history row; the faults of codes that are
// no numbers, of staff numbers the staff table does not know, of an evaluation without a row,
// and of squares and texts left over from an earlier print.
#include "SedationTestSupport.h"

#include "FormConventions.h"
#include "RecordKinds.h"
#include "ReportForms.h"
#include "SRA411UN_P01/SRA411UN_P01.h"
#include "SRA411UN_P01/SRA411UN_P02.h"

#include "Clock.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace medrec;
using namespace std::chrono_literals;
namespace mt = medrec::testing;

namespace {

constexpr const char *kKind = "SRSEDMST";
constexpr const char *kClosingBand = "PageFooterBand1";

class SedationRecord : public mt::SedationTest
{
protected:
    common::FixedToday m_today{2026y / 12 / 9};
};

// The pages (1-based) a band printed on.
std::set<int> pagesOf(const engine::Document &document, const std::string &band)
{
    std::set<int> pages;
    for (std::size_t i = 0; i < document.pages.size(); ++i)
        for (const engine::Element &e : document.pages[i].elements)
            if (e.band == band)
                pages.insert(static_cast<int>(i) + 1);
    return pages;
}

// The patient lines print on the first page of each form.
void expectPatientLines(const engine::Document &document, const std::map<std::string, std::string> &values)
{
    for (const auto &[label, value] : values) {
        SCOPED_TRACE(label);
        EXPECT_EQ(mt::ComponentTexts(document, label), (std::vector<std::string>{value, value}));
    }
}

const std::vector<std::string> kPage1Captions = {
    "SRA411FN_P01", "진정치료 기록지", "환자번호:", "환자성명:", "병동/병실:", "성별/나이:", "주민번호:", "진 료 과:",
    "검 사 명 :", "1. 진정전평가", "체중 : ", "/", "의식수준 : ", "환자상태평가", "약물 부작용 및 알레르기", "유", "무",
    "항혈전제복용력", "없음", "아스피린계 : 복용 중지 유무", "(", "예", "일", "아니오", ")", "와파린계 : 복용 중지 유무",
    ": 복용 중지 유무", "기왕력", "고혈압", "부정맥", "심장병", "당뇨병", "호흡기질환", "만성신부전", "만성간질환", "녹내장",
    "전립선비대증", "기타", "진정전 준비확인", "[동의서]", "[보호자동반]", "[금식여부]", "[기도 및 구강상태]",
    "흔들리는 치아", "틀니", "임플란트", "이상없음", "[대장정결상태]", "Good", "Mod", "Poor", "해당무", "진정전 평가",
    "측정일시: ", "BP:", "PR:", "회/분", "RR:", "SP02:", "작성일시: ", "평가자: ", "2. 진정중평가(투약정보)", "투여약물",
    "용법", "투여시간", "투여용량", "추가용량", "총량", "투여자", "폐기량/입회자"};

const std::vector<std::string> kRowCaptions = {
    "SRA411FN_P02", "진정치료 기록지", "3.환자상태 관찰기록", "시간", "상태", "점 수", "PR", "RR", "SA02", "BP",
    "관찰기록 및 특이사항", "낙상교육", "평가자", "비고"};

const std::vector<std::string> kClosingCaptions = {
    "4. 진정후평가 (회복상태/퇴실교육-외래환자)", "진정 후 회복상태 평가", "점수", "성인", "소아(만 12세 미만)", "활동",
    "호흡", "순환", "의식", "산소포화도", "Total", "퇴실기준 : 최소 8점 이상 (단, 호흡점수 2점)",
    "퇴실시 교육(외래 환자인 경우)", "환자 및 보호자가 교육 내용을 이해하였음", "기타", "진정치료기록지 특이사항",
    "다중기록여부", "작성일시: ", "평가자: "};

TEST_F(SedationRecord, PrintsBothFormsAsOneDocumentAndMovesTheClosingBandWholeToANewPage)
{
    const auto result = printed(kKind, contextFor(kKind, "00004004", "20230315"));
    ASSERT_TRUE(result.printed());
    for (const auto &warning : result.document->warnings)
        ADD_FAILURE() << warning.message;
    const auto pages = pdfPages(result.pdf);
    ASSERT_EQ(pages.size(), 3u);

    // Page 1 is the first form; the observations fill page 2 and the closing band, which does
    // not fit below them, prints whole on page 3 under the page header.
    EXPECT_EQ(pagesOf(*result.document, "DetailBand1"), (std::set<int>{1, 2}));
    EXPECT_EQ(pagesOf(*result.document, kClosingBand), std::set<int>{3});
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrlb_mondate").size(), 14u);
    mt::ExpectCaptions(pages[0], kPage1Captions);
    mt::ExpectCaptions(pages[1], kRowCaptions);
    mt::ExpectCaptions(pages[2], kClosingCaptions);
    EXPECT_TRUE(mt::Shows(pages[2], "SRA411FN_P02"));
    EXPECT_FALSE(mt::Shows(pages[2], "3.환자상태 관찰기록"));
    for (const char *line : {"1. 진정 후 24시간 동안은 운전, 기계 조작, 중요한 의사결정을 하지 않습니다.",
                             "혈압이 진정 전의 ±50% 이상 변화", "산소 투여에도 SpO2 92% 미만"})
        EXPECT_TRUE(mt::Shows(pages[2], line)) << line;

    expectPatientLines(*result.document, {{"qrlb_Patno", "00004004"},
                                          {"qrlb_Patnm", "윤지우"},
                                          {"qrlb_Wardno", "내시경센터"},
                                          {"qrlb_SexAGE", "F/43세"},
                                          {"qrlb_Resno", "830119-2******"},
                                          {"qrlb_Meddept", "내과"},
                                          {"qrlb_Diagnm", "위내시경 및 대장내시경 (수면)"}});
    mt::ExpectValues(*result.document, pages,
                     {{"qrlb_Weight", "58.4kg"},
                      {"qrlb_comma", "Alert"},
                      {"qrlb_Ale", "조영제 (전신 두드러기)"},
                      {"QaspiText", "7"},
                      {"QwapaText", ""},
                      {"QetcText", ""},
                      {"Qetcname", "클로피도그렐"},
                      {"Qed_sickhis", "갑상선기능저하증"},
                      {"Qed_mouthetc", "부분 임플란트 (우측 상악)"},
                      {"Qstmdt", "202303150825"},
                      {"Qed_bph", "132"},
                      {"Qed_bpl", "84"},
                      {"Qed_pr", "78"},
                      {"Qed_rr", "18"},
                      {"Qed_sao2", "98"},
                      {"QmskRecdate1", "2023-03-15 08:25"},
                      {"Qed_cdrecid1", "강민호"},
                      {"Qed_recid1", "D0317"},
                      {"Qlb_total", "10"},
                      {"Qed_etc", "(귀가 후 미음부터 섭취, 용종 조직검사 결과 외래 확인)"},
                      {"Qcombx_multi", "대장내시경+위내시경"},
                      {"Qed_multi", "위·대장 같은 날 시행"},
                      {"QmskRecdate4", "2023-03-15 10:05:30"},
                      {"Qed_recid4", "오세린"}});
    EXPECT_EQ(mt::BlackSquares(*result.document),
              (std::set<std::string>{"qrs_AleY", "qrs_asprin", "qrs_asprinY", "qrs_etc", "qrs_etcN", "QsickhisY",
                                     "Qhis1", "Qhisetc", "QagreeY", "QwithguardY", "QfastoffY", "Qmouth2",
                                     "Qmouthetc", "QIntclean2", "Qrbt_state11", "Qrbt_state21", "Qrbt_state31",
                                     "Qrbt_state41", "Qrbt_state51", "Qcb_Allcheck", "Qcbx_edu5", "Qcbx_eduetc"}));

    // The sedatives, one row each, and the observations as written (trimmed, times shortened).
    const std::pair<const char *, std::vector<std::string>> medication[] = {
        {"qrl_1", {"Midazolam", "Pofol", "Flumazenil"}},
        {"qrl_2", {"V", "V", "V"}},
        {"qrl_3", {"23-03-15 08:43", "23-03-15 08:46", "23-03-15 09:40"}},
        {"qrl_4", {"3mg", "40mg", "0.2mg"}},
        {"qrl_5", {"23-03-15 08:59", "23-03-15 08:58"}},
        {"qrl_6", {"1mg", "20mg"}},
        {"qrl_7", {"23-03-15 09:04"}},
        {"qrl_8", {"20mg"}},
        {"qrl_9", {"4mg", "80mg", "0.2mg"}},
        {"qrl_10", {"강민호", "강민호", "오세린"}},
        {"qrl_11", {"1mg/한소희", "20mg/한소희", "0.3mg/한소희"}},
    };
    for (const auto &[label, texts] : medication) {
        SCOPED_TRACE(label);
        EXPECT_EQ(mt::ComponentTexts(*result.document, label), texts);
    }
    for (const char *text : {"23-03-15 08:40", "23-03-15 10:00", "진정 전", "퇴실", "128/82", "O2 4L", "용종절제",
                             "퇴실 기준 충족, 보호자와 함께 귀가 교육 시행함", "오세린"})
        EXPECT_TRUE(mt::Shows(pages[1], text)) << text;
    // The long observation wraps in its cell and prints whole.
    const auto observations = mt::ComponentTexts(*result.document, "qrlb_etctxt");
    std::string joined;
    for (const auto &line : observations)
        joined += line + " ";
    EXPECT_GT(observations.size(), 14u);
    EXPECT_TRUE(mt::Shows(withoutBlanks(joined), "SpO2 94%로 저하되어 턱 들어올리기 시행하고 산소 4L/min로 증량함, 1분 후 SpO2 98% "
                                  "회복하여 담당의에게 보고함"))
        << joined;

    EXPECT_EQ(result.summary, (reports::PrintedSummary{.patno = "00004004",
                                                       .meddate = "20230315",
                                                       .patgubun = "외래",
                                                       .meddept = "내과"}));
    EXPECT_EQ(result.status, "");
    expectHistoryRow(result, kKind, "00004004\t20230315\t1\tempty\tempty");
}

TEST_F(SedationRecord, AFewRowsLeaveTheClosingBandOnTheirPage)
{
    const auto result = printed(kKind, contextFor(kKind, "00001234", "20191104"));
    ASSERT_TRUE(result.printed());
    ASSERT_EQ(result.document->pages.size(), 2u);
    EXPECT_EQ(pagesOf(*result.document, kClosingBand), std::set<int>{2});
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrlb_mondate").size(), 4u);
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrl_1"), std::vector<std::string>{"Midazolam"});
    EXPECT_TRUE(mt::BlackSquares(*result.document).count("QIntclean4"));
    EXPECT_TRUE(mt::BlackSquares(*result.document).count("Qcbx_medhisN"));
}

TEST_F(SedationRecord, ARecordWithoutAnswersPrintedAfterOneFullOfThemShowsNoneOfThem)
{
    const auto full = printed(kKind, testRecord(kKind, 0));
    ASSERT_TRUE(full.printed());
    EXPECT_EQ(mt::BlackSquares(*full.document).size(), 35u);
    EXPECT_EQ(mt::ComponentTexts(*full.document, "qrlb_comma"), std::vector<std::string>{"Coma"});
    EXPECT_EQ(mt::ComponentTexts(*full.document, "Qcombx_multi"), std::vector<std::string>{"기타"});

    const auto none = printed(kKind, testRecord(kKind, 1));
    ASSERT_TRUE(none.printed());
    // Every pair says no; nothing else is black, no conditional text prints, and the table of
    // sedatives is empty.
    EXPECT_EQ(mt::BlackSquares(*none.document),
              (std::set<std::string>{"qrs_AleN", "QsickhisN", "QagreeN", "QwithguardN", "QfastoffN"}));
    for (const char *label : {"qrlb_comma", "QaspiText", "QwapaText", "QetcText", "Qetcname", "Qed_sickhis",
                              "Qed_mouthetc", "Qlb_total", "Qed_etc", "Qcombx_multi", "Qed_multi", "QmskRecdate4",
                              "Qed_recid4", "Qed_cdrecid1", "qrl_1", "qrl_11"}) {
        SCOPED_TRACE(label);
        EXPECT_TRUE(mt::ComponentTexts(*none.document, label).empty());
    }
    EXPECT_EQ(mt::ComponentTexts(*none.document, "qrlb_mondate").size(), 1u);
    EXPECT_EQ(none.status, "");
}

TEST_F(SedationRecord, WithoutAnEvaluationRowPageOnePrintsThePatientLinesAndTheSedativesOnly)
{
    const auto result = printed(kKind, testRecord(kKind, 2));
    ASSERT_TRUE(result.printed());
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrl_1"), std::vector<std::string>{"Ketamine"});
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrl_2"), std::vector<std::string>{"IM"});
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrlb_Patno").size(), 2u);
    for (const char *label : {"qrlb_Weight", "qrlb_comma", "Qstmdt", "QmskRecdate1", "Qed_cdrecid1", "Qed_recid1"}) {
        SCOPED_TRACE(label);
        EXPECT_TRUE(mt::ComponentTexts(*result.document, label).empty());
    }
    // Not one square of the evaluation is black, not even a no; a score of 3 fills none of
    // its squares; the multi-record flag without its code names both endoscopies.
    EXPECT_EQ(mt::BlackSquares(*result.document), std::set<std::string>{"Qcbx_edu5"});
    EXPECT_EQ(mt::ComponentTexts(*result.document, "Qcombx_multi"), std::vector<std::string>{"대장내시경+위내시경"});
    EXPECT_EQ(result.status, "");
}

TEST_F(SedationRecord, StaffNumbersTheStaffTableDoesNotKnowPrintNoNameAndAreSaid)
{
    const auto result = printed(kKind, testRecord(kKind, 4));
    ASSERT_TRUE(result.printed());
    EXPECT_TRUE(mt::ComponentTexts(*result.document, "Qed_cdrecid1").empty());
    EXPECT_EQ(mt::ComponentTexts(*result.document, "Qed_recid1"), std::vector<std::string>{"X9999"});
    EXPECT_TRUE(mt::ComponentTexts(*result.document, "Qed_recid4").empty());
    EXPECT_EQ(mt::ComponentTexts(*result.document, "QmskRecdate4"), std::vector<std::string>{"2024-05-20 11:00:00"});
    EXPECT_EQ(result.status, "직원번호 X9999, X8888의 직원 정보가 없어 이름 없이 출력했습니다.");
    EXPECT_TRUE(result.history.has_value());
}

TEST_F(SedationRecord, AnEmptyAssessorNumberIsNotLookedUpAndPrintsNoName)
{
    const auto result = printed(kKind, testRecord(kKind, 8));
    ASSERT_TRUE(result.printed());
    EXPECT_TRUE(mt::ComponentTexts(*result.document, "Qed_cdrecid1").empty());
    EXPECT_TRUE(mt::ComponentTexts(*result.document, "Qed_recid1").empty());
    EXPECT_EQ(result.status, "");
}

TEST_F(SedationRecord, ACodeThatIsNoNumberStopsThePrintNamingIt)
{
    const std::pair<int, const char *> cases[] = {
        {3, "A"},  // consciousness
        {5, "1a"}, // the record's cell 2, a sequence number sent as an integer
        {6, "b"},  // a recovery score
        {7, "x"},  // a sedative's code
    };
    for (const auto &[record, value] : cases) {
        SCOPED_TRACE(value);
        expectStoppedNaming(kKind, testRecord(kKind, record), value);
    }
}

TEST_F(SedationRecord, NoObservationRowsSaySoOnTheStatusLine)
{
    reports::PrintContext context;
    context.record = reports::RowCells({"00004004", "20230316", "1", "5012"});
    mt::ExpectNothingFound(print(kKind, context), "조회할 자료가 없습니다.");
}

TEST(SedationForms, TheThreeFormsShareOnePageSetup)
{
    for (const char *code : {"SRSUVEYT", "SRSEDMST"}) {
        const reports::RecordKind &kind = *reports::FindRecordKind(code);
        for (const std::string &name : kind.forms) {
            SCOPED_TRACE(name);
            const engine::PageSetup page = reports::LoadReportForm(std::string(kind.unit), name).page;
            EXPECT_EQ(page.paperSize().width, 210);
            EXPECT_EQ(page.paperSize().height, 297);
            for (double margin : {page.margins.top, page.margins.bottom, page.margins.left, page.margins.right})
                EXPECT_EQ(margin, 10);
            EXPECT_EQ(page.font.family, "Arial");
            EXPECT_EQ(page.font.sizePt, 10);
        }
    }
}

TEST(SedationRecordCodes, DrugsRoutesAndTheMultiRecordByTheirCodes)
{
    EXPECT_EQ(reports::SedativeName(0), "Midazolam");
    EXPECT_EQ(reports::SedativeName(11), "Etomidates");
    EXPECT_EQ(reports::SedativeName(12), "");
    EXPECT_EQ(reports::SedativeName(-1), "");
    EXPECT_EQ(reports::SedativeRoute(2), "PO");
    EXPECT_EQ(reports::SedativeRoute(3), "");

    using reports::sedation::ReadMultiRecord;
    const struct
    {
        const char *value;
        bool on;
        const char *procedure;
        const char *text;
    } cases[] = {
        {"Y", true, "대장내시경+위내시경", ""},
        {"Y0", true, "대장내시경+위내시경", ""},
        {"Y1메모", true, "기타", "메모"},
        {"Y2메모", true, "", "메모"},
        {"N1메모", false, "", ""},
        {"", false, "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        const auto multi = ReadMultiRecord(c.value);
        EXPECT_EQ(multi.on, c.on);
        EXPECT_EQ(multi.procedure, c.procedure);
        EXPECT_EQ(multi.text, c.text);
    }
    EXPECT_THROW(ReadMultiRecord("Yx"), reports::CodeConversionError);
}

} // namespace
