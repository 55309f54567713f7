// The sedation pre-assessment record ("SRSUVEYT") printed from the real medrec-server: the demo
// record's captions, values and squares in the PDF, its summary and history row; the answer
// strings' rules square by square on the real form; the faults of a day count that is no
// number, of a missing record, and of squares left over from an earlier print.
#include "SedationTestSupport.h"

#include "FormConventions.h"
#include "RecordPrint.h"
#include "ReportForms.h"
#include "SRA411UM_P01/SRA411UM_P01.h"

#include "Clock.h"

#include "report_engine/Report.h"

#include <gtest/gtest.h>

using namespace medrec;
using namespace std::chrono_literals;
namespace mt = medrec::testing;

namespace {

constexpr const char *kKind = "SRSUVEYT";

class SedationAssessment : public mt::SedationTest
{
protected:
    common::FixedToday m_today{2026y / 12 / 9};
};

// Every square of the form, by what the demo record answers.
const std::set<std::string> kDemoBlack = {
    "Q_RadioButton1",   "Q_RadioButton3",   "Q_RadioButton7",   "Q_RadioButton9",  "Q_RadioButton12",
    "Q_RadioButton25",  "Q_RadioButton22",  "Q_RadioButton19",  "Q_RadioButton16", "Q_RadioButton27",
    "Q_RadioButton31",  "Q_RadioButton34",  "Q_RadioButton37",  "Q_RadioButton40", "Q_RadioButton44",
    "Q_RadioButton46",  "Q_rbt_allergyY",   "Q_RadioButton48",  "Q_RadioButton50", "Q_CheckBox2",
    "Q_RadioButton52",  "Q_RadioButton56",  "Q_RadioButton58",  "Q_cbx_medhisaspi", "Q_rbt_medaspiY",
    "Q_rbt_medwapaN",   "Q_cbx_medhisetc",  "Q_rbt_medetcN",
};

TEST_F(SedationAssessment, PrintsTheDemoRecordWithEveryCaptionValueAndSquare)
{
    const auto result = printed(kKind, contextFor(kKind, "00004004", "20230315"));
    ASSERT_TRUE(result.printed());
    const auto pages = pdfPages(result.pdf);
    ASSERT_EQ(pages.size(), 1u);
    for (const auto &warning : result.document->warnings)
        ADD_FAILURE() << warning.message;

    mt::ExpectCaptions(
        pages[0],
        {"검사 전평가 기록", "환자번호:", "환자성명:", "병동/병실:", "성별/나이:", "진 료 과:", "검 사 명 :",
         "1.환자확인(팔찌)", "예", "아니오", "2.병력", "과거병력 (질병,상해 전력)", "특이체질", "고,저혈압", "복용약물",
         "흡연여부", "심장질환(심근경색증 등)", "신장질환(부종 등)", "전립선 질환", "알레르기", "당뇨병", "마약사고",
         "기도이상 유무", "출혈소인", "호흡기질환(기침,가래 등)", "녹내장", "기타", "유", "무", "미상", "3.환자상태평가",
         "약물 부작용 및 알레르기", "약제 복용력", "없음", "아스피린계:", "와파린계:", "복용 중지 유무 (", "일", ")",
         "4.동의서", "5.금식여부", "6.기도 및", "구강상태", "흔들리는 치아", "틀니", "인플란트", "이상없음",
         "7.대장 정결 상태", "Good", "Mod", "Poor", "해당무", "8.소지품 확인", "(장신구/휴대폰/안경/속옷/지갑)",
         "9.보호자 동반", "10.검사 전 상태", "V/S 측정일시:", "BP:", "/", "PR:", "회/분", "RR:", "11.기타", "평가자:"});
    mt::ExpectValues(*result.document, pages,
                     {{"qrlb_Patno", "00004004"},
                      {"qrlb_Patnm", "윤지우"},
                      {"qrlb_Wardno", "내시경센터"},
                      {"qrlb_SexAge", "F/43세"},
                      {"qrlb_Meddept", "내과"},
                      {"qrlb_Diagnm", "위내시경 및 대장내시경 (수면, 용종절제술 가능성 설명함)"},
                      {"Q_ed_Etc", "2019년 자궁근종 수술, 2021년 갑상선기능저하증 진단 후 레보티록신 복용 중"},
                      {"Q_ed_allergy", "조영제 (전신 두드러기, 2020년 CT 검사 시)"},
                      {"Q_ed_medhisetc", "클로피도그렐 (플라빅스)"},
                      {"Q_ed_medaspi", "7"},
                      {"Q_ed_medwapa", "0"},
                      {"Q_ed_medetc", "0"},
                      {"Q_mskEstmdate", "2023-03-15 08:05"},
                      {"Q_ed_bph", "128"},
                      {"Q_ed_bpl", "82"},
                      {"Q_ed_pr", "76"},
                      {"Q_ed_rr", "18"},
                      {"Q_mm_Etc", "검사 전날 저녁 8시부터 금식함. 장정결제 2L 복용 후 마지막 배변 맑은 노란색. 우측 상악 "
                                   "부분 틀니는 검사 전 제거하여 보호자에게 인계함. 조영제 알레르기 이력이 있어 담당의에게 "
                                   "보고하고 진정 중 관찰을 강화하기로 함."},
                      {"Q_ed_cdrecid1", "N0923"},
                      {"Q_ed_recid1", "한소희"}});
    EXPECT_EQ(mt::BlackSquares(*result.document), kDemoBlack);
    EXPECT_EQ(mt::Squares(*result.document).size(), 75u);

    EXPECT_EQ(result.summary, (reports::PrintedSummary{.patno = "00004004",
                                                       .meddate = "20230315",
                                                       .patgubun = "외래",
                                                       .meddept = "내과",
                                                       .meddateCaption = "처방일자"}));
    expectHistoryRow(result, kKind, "00004004\t2023-03-15\t1\t5012\tempty");
}

TEST_F(SedationAssessment, ARecordWithoutBlackSquaresPrintedAfterOneFullOfThemShowsNone)
{
    const auto full = printed(kKind, testRecord(kKind, 0));
    ASSERT_TRUE(full.printed());
    EXPECT_EQ(mt::BlackSquares(*full.document).size(), 33u);
    EXPECT_EQ(mt::ComponentTexts(*full.document, "Q_ed_medetc"), std::vector<std::string>{"120"});

    const auto empty = printed(kKind, testRecord(kKind, 1));
    ASSERT_TRUE(empty.printed());
    // Without a letter every yes/no question says no, and nothing else is black.
    EXPECT_EQ(mt::BlackSquares(*empty.document),
              (std::set<std::string>{"Q_RadioButton2", "Q_rbt_allergyN", "Q_RadioButton49", "Q_RadioButton51",
                                     "Q_RadioButton57", "Q_RadioButton59", "Q_rbt_medaspiN", "Q_rbt_medwapaN",
                                     "Q_rbt_medetcN"}));
    for (const char *label : {"Q_ed_medaspi", "Q_ed_medwapa", "Q_ed_medetc", "Q_ed_Etc", "Q_ed_allergy",
                              "Q_mskEstmdate", "Q_ed_recid1"}) {
        SCOPED_TRACE(label);
        EXPECT_TRUE(mt::ComponentTexts(*empty.document, label).empty());
    }
}

TEST_F(SedationAssessment, ADayCountThatIsNoNumberStopsThePrintNamingIt)
{
    expectStoppedNaming(kKind, testRecord(kKind, 2), "abc");
}

TEST_F(SedationAssessment, NoRecordSaysSoOnTheStatusLineAndPrintsNothing)
{
    const std::size_t before = historyLines().size();
    reports::PrintContext context;
    context.record = reports::RowCells({"00004004", "2023-03-16", "1", "5012"});
    const auto result = print(kKind, context);
    mt::ExpectNothingFound(result, "조회할 자료가 없습니다.");
    EXPECT_EQ(historyLines().size(), before);
}

// The rules on the real form, answer strings as the record holds them.
class AssessmentRules : public ::testing::Test
{
protected:
    // The form filled from the answer strings A ("S_STRING8") and B ("S_STRING12").
    std::set<std::string> blackAfter(const std::string &answersA, const std::string &answersB)
    {
        const reports::RecordKind &kind = *reports::FindRecordKind(kKind);
        m_report = reports::MakeReport(std::string(kind.unit), kind.forms[0]);
        reports::FieldValues values;
        const auto &table = kind.bindings()[0].fill;
        for (const std::string &name : reports::BoundValues(table))
            values.set(name, "");
        values.set("S_STRING8", answersA);
        values.set("S_STRING12", answersB);
        reports::ApplyBindings(*m_report, table, values);
        std::set<std::string> black;
        m_report->forEachComponent([&](engine::Component &c) {
            if (auto *shape = std::get_if<engine::Shape>(&c); shape && shape->brush == engine::Color::black())
                black.insert(shape->name);
        });
        return black;
    }
    std::string caption(const char *label) { return m_report->label(label).caption; }

    std::unique_ptr<engine::Report> m_report;
};

TEST_F(AssessmentRules, AnswerStringsFillTheSquaresTheyName)
{
    // Without an answer a yes/no pair fills its no square; a square of a letter stays white.
    const std::set<std::string> noAnswers = {"Q_RadioButton2",  "Q_rbt_allergyN",  "Q_RadioButton49",
                                             "Q_RadioButton51", "Q_RadioButton57", "Q_RadioButton59",
                                             "Q_rbt_medaspiN",  "Q_rbt_medwapaN",  "Q_rbt_medetcN"};
    const auto plus = [&](std::initializer_list<const char *> add, std::initializer_list<const char *> drop = {}) {
        std::set<std::string> black = noAnswers;
        for (const char *name : drop)
            black.erase(name);
        black.insert(add.begin(), add.end());
        return black;
    };
    struct Case
    {
        const char *what;
        const char *a;
        const char *b;
        std::set<std::string> black;
    };
    const Case cases[] = {
        {"no answers at all", "", "", noAnswers},
        {"wristband confirmed, no past history", "YB", "", plus({"Q_RadioButton1", "Q_RadioButton4"}, {"Q_RadioButton2"})},
        {"lower-case letters fill nothing", "yb", "", noAnswers},
        {"past the end of the string there is no letter", "Y", "", plus({"Q_RadioButton1"}, {"Q_RadioButton2"})},
        {"a letter the item does not know", "ND", "", noAnswers},
        {"the undetermined answers, the mouth boxes and no bowel preparation", "NCCCCCCCCCCCCCCCNNNYYYYD", "",
         plus({"Q_RadioButton5", "Q_RadioButton8", "Q_RadioButton11", "Q_RadioButton14", "Q_RadioButton26",
               "Q_RadioButton23", "Q_RadioButton20", "Q_RadioButton17", "Q_RadioButton29", "Q_RadioButton32",
               "Q_RadioButton35", "Q_RadioButton38", "Q_RadioButton41", "Q_RadioButton44", "Q_RadioButton47",
               "Q_CheckBox1", "Q_CheckBox2", "Q_CheckBox3", "Q_CheckBox4", "Q_RadioButton55"})},
        {"the yes answers of positions 17 to 26", "N               YYYNNNNBYY", "",
         plus({"Q_rbt_allergyY", "Q_RadioButton48", "Q_RadioButton50", "Q_RadioButton53", "Q_RadioButton56",
               "Q_RadioButton58"},
              {"Q_rbt_allergyN", "Q_RadioButton49", "Q_RadioButton51", "Q_RadioButton57", "Q_RadioButton59"})},
        {"none taken; aspirin taken, not stopped", "", "YYN000", plus({"Q_cbx_medhisN", "Q_cbx_medhisaspi"})},
        {"warfarin and another drug taken and stopped", "", "N     YY010YY002",
         plus({"Q_cbx_medhiswapa", "Q_rbt_medwapaY", "Q_cbx_medhisetc", "Q_rbt_medetcY"},
              {"Q_rbt_medwapaN", "Q_rbt_medetcN"})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(blackAfter(c.a, c.b), c.black);
    }
}

TEST_F(AssessmentRules, DayCountsPrintTheirNumberWithoutLeadingZeros)
{
    const std::pair<const char *, const char *> cases[] = {
        {"YNN000", "0"}, {"YYY007", "7"}, {"YYY120", "120"}, {"YYY 12", "12"}, {"YYY", ""}, {"YYY   ", ""},
        {"YYY0", "0"},
    };
    for (const auto &[answers, days] : cases) {
        SCOPED_TRACE(answers);
        blackAfter("", answers);
        EXPECT_EQ(caption("Q_ed_medaspi"), days);
    }
    for (const char *notANumber : {"YYY0a7", "YYY7  ", "YYY--1"}) {
        SCOPED_TRACE(notANumber);
        EXPECT_THROW(blackAfter("", notANumber), reports::CodeConversionError);
    }
}

TEST(SedationAssessmentText, TheVitalSignTimeIsPlacedCharacterByCharacter)
{
    EXPECT_EQ(reports::VitalSignTime("202303150805"), "2023-03-15 08:05");
    EXPECT_EQ(reports::VitalSignTime("20230315"), "2023-03-15 :");
    EXPECT_EQ(reports::VitalSignTime(""), "");
}

} // namespace
