// The nutrition support team's reply ("SQNSTAPT") printed from the real medrec-server: the
// demo replies with every caption and value, the summary and the history row; a reply
// without measurements, one without a request, values that are not numbers; the thresholds,
// requirements, roundings and memo texts of its own rules.
#include "SQN200U7_P1/NstRules.h"

#include "NutritionDialysisTesting.h"

#include "FormConventions.h"
#include "PrintHistory.h"

#include "TuxCom.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace medrec;
namespace mt = medrec::testing;
using reports::FieldValues;

namespace {

constexpr const char *kKind = "SQNSTAPT";

class NutritionSupportReply : public mt::NutritionDialysisTest
{
protected:
    mt::KindPrint printReply(const std::string &patNo, const std::string &visit, int index,
                             reports::PrintContext *used = nullptr)
    {
        return printRecord(kKind, patNo, visit, index, used);
    }
};

const std::vector<std::string> kCaptions = {
    "NST 회신 기록지", "등록 번호", "성       명", "성별/나이", "입원 일자", "의뢰 일자", "SEON MEDICAL CENTER",
    "[신체계측]", "신장:            cm", "현체중:          kg", "표준체중:          kg", "%IBW:",
    "BMI:           kg/㎡", "[의뢰내역]", "알부민 3.0이하", "경장영양", "정맥영양", "중환자실집중치료",
    "의학적소견에따른 의뢰", "성장곡선 체중기준 5%미만(소아)", "[SGA]", "영양불량정도", "없음", "약간", "보통", "심함",
    "%체중감소", "주", "%표준체중", "현체중", "kg", "Albumin", "85~105%", "84~80%", "79~70%", "<70%", "<5%", "5%",
    ">5%", ">3.2", "3.2~2.8", "2.7~2.1", "<2.1", "식욕/식사 섭취상태", "양호", "약간감소", "불량함", "계속감소",
    "식사시문제", "메스꺼움", "구토", "설사", "변비", "연하곤란", "저작곤란", "부종", "복수", "피하 지방 손실",
    "근육 소모", "[영양상태]", "Adequate", "Kwashiorker", "Marasmus", "Mild PCM", "Moderate PCM", "Severe PCM",
    "Overweight", "Obesity", "Extreme Obesity", "[영양요구량]", "열량", "단백질", "수분요구량",
    "영양 요구량 대비 현 공급량 :", "[치료계획]", "[모니터링]", "[종합평가]"};

TEST_F(NutritionSupportReply, PrintsTheDemoReplyWithEveryCaptionValueAndBox)
{
    reports::PrintContext context;
    const auto printed = printReply("00001234", "20180514", 0, &context);
    ASSERT_TRUE(printed.printed()) << printed.failure;
    mt::ExpectNoLayoutWarnings(*printed.document);
    const auto pages = pdfPages(printed.pdf);
    ASSERT_EQ(pages.size(), 2u);
    // The page header with its number on every page, the title band on the first only.
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NE(pages[i].find("NST회신기록지"), std::string::npos);
        EXPECT_NE(pages[i].find(std::to_string(i + 1) + "/2"), std::string::npos);
        EXPECT_NE(pages[i].find("00001234"), std::string::npos);
        EXPECT_EQ(pages[i].find("[신체계측]") != std::string::npos, i == 0);
    }
    const std::string all = joined(pages);
    expectCaptions(all, kCaptions);
    // The page header's values on each page.
    for (const auto &[label, value] : std::vector<std::pair<std::string, std::string>>{
             {"qrlb_Patno", "00001234"}, {"qrlb_patName", "김민준"}, {"qrlb_Sex", context.patient.sexAge},
             {"qrlb_Admdate", "2018년 05월 14일 "}, {"qrlb_reqdate", "2018년 05월 16일 "}}) {
        SCOPED_TRACE(label);
        const auto lines = mt::PrintedLines(*printed.document, label);
        ASSERT_EQ(lines.size(), 2u);
        for (const auto &line : lines)
            EXPECT_EQ(withoutBlanks(line), withoutBlanks(value));
        EXPECT_EQ(occurrences(all, withoutBlanks(value)), 2u);
    }
    expectPrintedWhole(
        printed, pages,
        {{"qrmm_request", "담낭절제술 후 경구 섭취가 충분하지 않아 영양 상태 평가와 영양 지원 방법에 대한 회신을 부탁드립니다."
                          "최근 2주간 식사량이 평소의 절반 이하로 줄었고, 혈청 알부민이 2.9 g/dL로 낮습니다."
                          "정맥영양 병행 여부와 목표 열량, 단백질 공급량에 대한 의견 부탁드립니다."},
         {"qrlb_height", "165.2"}, {"qrlb_nkg", "52.4"}, {"qrlb_skg", "64.5"}, {"qrlb_ibw", "81.24"},
         {"qrlb_bmi", "19.2"}, {"qrlb_wdweek", "4"}, {"qrlb_wdpercent", "6.8"}, {"qrlb_nweight", "52.4"},
         {"qrlb_sweight", "81.24"}, {"qrlb_albumin", "2.9"},
         // W = (52.4 - 64.5) x 0.25 + 64.5 = 61.475; 25 W = 1536.875 rounds to even 1536.88.
         {"qrlb_qcal", "1536.88~1844.25kcal"}, {"qrlb_pg", "73.77~92.21g"}, {"qrlb_water", "1800ml/day"},
         {"qrlb_wrtfeed", "현 섭취 열량 1250.5kcal, 필요 열량 1844.25kcal로 67% / 현 섭취 단백질 48.75g, "
                          "필요 단백질 92.21g로 53%"}});
    // The boxes: reasons YNYNYN, grades 4, 3, 2, 1, 1, 3, 2, problems YNNNYN, status 5 of 9,
    // %IBW 81.24 in 80 up to 85, albumin 2.9 in 2.8 .. 3.2.
    const std::vector<std::string> checked = {
        "qrlb_req1",    "qrlb_req3",   "qrlb_req5", "qrlb_wdweek4", "qrlb_take3", "qrlb_mealp2", "qrlb_bu1",
        "qrlb_bok1",    "qrlb_pi3",    "qrlb_gum2", "qrlb_eatp1",   "qrlb_eatp5", "qrlb_state5", "qrlb_wdp2",
        "qrlb_albumin2"};
    int boxes = 0;
    for (const std::string prefix : {"qrlb_req", "qrlb_wdweek", "qrlb_take", "qrlb_mealp", "qrlb_bu", "qrlb_bok",
                                     "qrlb_pi", "qrlb_gum", "qrlb_eatp", "qrlb_state", "qrlb_wdp", "qrlb_albumin"})
        for (int k = 1; k <= 9; ++k) {
            const std::string box = prefix + std::to_string(k);
            const std::string text = printedText(*printed.document, box);
            if (text.empty())
                continue;
            ++boxes;
            const bool on = std::find(checked.begin(), checked.end(), box) != checked.end();
            EXPECT_EQ(text, on ? "[√]" : "[]") << box;
        }
    EXPECT_EQ(boxes, 6 + 7 * 4 + 6 + 9 + 4 + 4);
    EXPECT_EQ(occurrences(all, "[√]"), checked.size());
    // The team's texts, each assessor's header above the text.
    const std::string plan = printedText(*printed.document, "QRMemo1");
    for (const char *part : {"◆평가자:의사이정훈평가일시:2018-05-1710:20목표열량1,850kcal/일",
                             "◆평가자:영양사박영양평가일시:2018-05-1711:05", "◆평가자:약사최약사평가일시:2018-05-1713:30",
                             "◆평가자:간호사김간호평가일시:2018-05-1715:45식사섭취량과구역여부"}) {
        SCOPED_TRACE(part);
        EXPECT_NE(plan.find(part), std::string::npos);
    }
    EXPECT_NE(printedText(*printed.document, "QRMemo2").find("◆평가자:간호사김간호평가일시:2018-05-1814:00"),
              std::string::npos);
    EXPECT_NE(printedText(*printed.document, "QRMemo3").find("외래방문시체중과알부민을다시평가하기로함."),
              std::string::npos);
    // Every line of the memos in the PDF (an assessor's header may come apart at its gap).
    for (const char *memo : {"QRMemo1", "QRMemo2", "QRMemo3"})
        expectCaptions(all, mt::PrintedLines(*printed.document, memo));

    EXPECT_TRUE(printed.status.empty());
    const auto &s = printed.summary;
    EXPECT_EQ((std::vector<std::string>{s.patno, s.meddate, s.dschdate, s.patgubun, s.meddept, s.chadr}),
              (std::vector<std::string>{"00001234", "20180514", "20180519", "I", "외과", "이정훈"}));
    ASSERT_TRUE(printed.history);
    EXPECT_EQ(*printed.history,
              (reports::HistoryRow{.patNo = "00001234", .recordKey = "20180514", .details = {"1", "1", "empty"}}));
}

TEST_F(NutritionSupportReply, AZeroRequirementPrintsAnEmptyPercentage)
{
    const auto printed = printReply("00004005", "20141103", 0);
    ASSERT_TRUE(printed.printed()) << printed.failure;
    mt::ExpectNoLayoutWarnings(*printed.document);
    const auto pages = pdfPages(printed.pdf);
    // Protein factors 0 and 0: a need of 0 g, no share of it. Energy: W = 68.4, 1200 of 1710 kcal.
    expectPrintedWhole(printed, pages,
                       {{"qrlb_qcal", "1368~1710kcal"}, {"qrlb_pg", "0~0g"},
                        {"qrlb_wrtfeed", "현 섭취 열량 1200kcal, 필요 열량 1710kcal로 70% / 현 섭취 단백질 45g, "
                                         "필요 단백질 0g로 %"}});
    // An empty %IBW checks none of its boxes; reasons "NYNYN" leave the sixth unchecked.
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(printedText(*printed.document, "qrlb_wdp" + std::to_string(k)), "[]") << k;
    EXPECT_EQ(printedText(*printed.document, "qrlb_albumin3"), "[√]");
    for (const auto &[box, mark] : std::vector<std::pair<std::string, std::string>>{
             {"qrlb_req1", "[]"}, {"qrlb_req2", "[√]"}, {"qrlb_req4", "[√]"}, {"qrlb_req6", "[]"}})
        EXPECT_EQ(printedText(*printed.document, box), mark) << box;
    // The pharmacist wrote nothing: the header still prints, name and date empty.
    EXPECT_NE(printedText(*printed.document, "QRMemo1").find("◆평가자:약사평가일시:◆평가자:간호사한간호"),
              std::string::npos);
}

TEST_F(NutritionSupportReply, WithoutMeasurementsTheReplyPrintsNoSampleAndSaysSo)
{
    const auto printed = printReply("00009101", "20250106", 0);
    ASSERT_TRUE(printed.printed()) << printed.failure;
    EXPECT_EQ(printed.status, "조회할 자료가 없습니다.");
    for (const char *label : {"qrlb_height", "qrlb_nkg", "qrlb_skg", "qrlb_ibw", "qrlb_bmi", "qrlb_wdweek",
                              "qrlb_wdpercent", "qrlb_nweight", "qrlb_sweight", "qrlb_albumin", "qrlb_qcal", "qrlb_pg",
                              "qrlb_water", "qrlb_wrtfeed"})
        EXPECT_TRUE(mt::PrintedLines(*printed.document, label).empty()) << label;
    const std::string all = joined(pdfPages(printed.pdf));
    EXPECT_EQ(all.find("kcal"), std::string::npos);
    EXPECT_EQ(all.find("ml/day"), std::string::npos);
    // Only the request's reasons are checked; the request, reply and header print.
    EXPECT_EQ(occurrences(all, "[√]"), 6u);
    for (const char *text : {"영양평가의뢰1", "치료계획1", "종합평가1", "나시험"})
        EXPECT_NE(all.find(text), std::string::npos) << text;
    ASSERT_TRUE(printed.history);
    EXPECT_EQ(printed.history->details[0], "1");
}

TEST_F(NutritionSupportReply, WithoutARequestNothingPrints)
{
    const auto printed = printReply("00009101", "20250106", 3);
    ASSERT_TRUE(printed.refused.has_value()) << printed.failure;
    EXPECT_EQ(printed.refused->reason, reports::NotPrinted::Reason::NothingFound);
    EXPECT_EQ(printed.refused->notice.channel, reports::Notice::Channel::Status);
    EXPECT_EQ(printed.refused->notice.text, "조회할 자료가 없습니다.");
    EXPECT_FALSE(printed.document.has_value());
}

// A value a rule converts that is no number: a box naming the field, nothing printed, no
// history row, through the real print run.
TEST_F(NutritionSupportReply, ANumberThatIsNotOneStopsThePrintNamingTheField)
{
    const struct
    {
        int record;
        const char *named;
    } cases[] = {{1, "%IBW(SQ_NSTSG_S1.S_STRING4) 값이 숫자가 아닙니다: '8l.5'"},
                 {2, "체중기준(SQ_NSTSG_S1.S_STRING20) 값이 숫자가 아닙니다: 'X'"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.record);
        const auto printed = printReply("00009101", "20250106", c.record);
        EXPECT_FALSE(printed.printed());
        EXPECT_FALSE(printed.refused.has_value());
        EXPECT_EQ(printed.failure, std::string("출력하지 못했습니다. ") + c.named);
    }
    const std::string out = batchPrintingNothing("9101 --visit 20250106 --kind SQNSTAPT --record 2");
    EXPECT_NE(out.find("%IBW(SQ_NSTSG_S1.S_STRING4)"), std::string::npos) << out;
}

TEST_F(NutritionSupportReply, TheHostAnswersTheThreeServicesByTheirKeys)
{
    expectServicesListed({"SQ_NSTRQ_S2\tstored replies\tS_CODE1;S_CODE2;S_CODE3",
                          "SQ_NSTAP_S1\tstored replies\tS_CODE1;S_CODE2;S_CODE3;S_CODE4",
                          "SQ_NSTSG_S1\tstored replies\tS_CODE1;S_CODE2;S_CODE3;S_CODE4"});
    // The print run writes the row the registry names: patient, cells 1, 2 and 3.
    const auto printed = printReply("00004005", "20141103", 0);
    ASSERT_TRUE(printed.history);
    ASSERT_EQ(reports::SavePrintHistory(*printed.history, kKind), 1) << middleware::LastTuxMessage();
    const auto lines = historyLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.front().find("\t00004005\t20141103\t1\t1\tempty\tSQNSTAPT\t"), std::string::npos)
        << lines.front();
}

// ---- the reply's own rules, on its form filled from chosen values

std::string m(int field) { return reports::nst::MeasurementField(field); }

TEST(NutritionSupportRules, ThresholdAndGradeBoxes)
{
    std::vector<mt::SheetRuleCase> cases;
    const auto boxes = [](const std::string &prefix, int checked) {
        std::map<std::string, std::string> captions;
        for (int k = 1; k <= 4; ++k)
            captions[prefix + std::to_string(k)] = k == checked ? "[√]" : "[  ]";
        return captions;
    };
    for (const auto &[percent, box] : std::vector<std::pair<std::string, int>>{
             {"85", 1}, {"105.5", 1}, {"84.99", 2}, {"80", 2}, {"79.9", 3}, {"70", 3}, {"69.99", 4}, {"", 0}, {" ", 0}})
        cases.push_back({"%IBW " + percent, {{m(4), percent}}, boxes("qrlb_wdp", box)});
    for (const auto &[albumin, box] : std::vector<std::pair<std::string, int>>{
             {"3.21", 1}, {"3.2", 2}, {"2.8", 2}, {"2.79", 3}, {"2.1", 3}, {"2.09", 4}, {"", 0}})
        cases.push_back({"albumin " + albumin, {{m(10), albumin}}, boxes("qrlb_albumin", box)});
    for (const auto &[grade, box] : std::vector<std::pair<std::string, int>>{{"1", 1}, {"4", 4}, {"5", 0}, {"", 0}, {" 2", 0}})
        cases.push_back({"grade " + grade, {{m(8), grade}, {m(18), grade}}, boxes("qrlb_wdweek", box)});
    cases.push_back({"flags shorter than the boxes",
                     {{"SQ_NSTRQ_S2.S_STRING2", "NY"}, {m(13), "YNy"}, {m(19), "NNNNNNNNY"}},
                     {{"qrlb_req1", "[  ]"}, {"qrlb_req2", "[√]"}, {"qrlb_req3", "[  ]"}, {"qrlb_req6", "[  ]"},
                      {"qrlb_eatp1", "[√]"}, {"qrlb_eatp3", "[  ]"}, {"qrlb_state9", "[√]"}, {"qrlb_state1", "[  ]"}}});
    cases.push_back({"values as delivered", {{m(1), "170 "}, {m(30), "2000"}, {m(2), "65"}},
                     {{"qrlb_height", "170 "}, {"qrlb_nkg", "65"}, {"qrlb_nweight", "65"}, {"qrlb_water", "2000ml/day"}}});
    mt::ExpectSheetRules(kKind, cases);
}

// The requirement inputs of one case; the others complete with these defaults.
FieldValues requirementValues(const std::map<int, std::string> &fields)
{
    FieldValues values;
    const std::map<int, std::string> defaults{{2, "80"},  {3, "60"},  {20, "2"},  {22, "1"},  {23, "1"},
                                              {25, "25"}, {26, "30"}, {28, "1"},  {29, "1.5"}, {31, "975"},
                                              {32, "40"}, {33, "975"}, {34, "57.5"}};
    for (const auto &[field, value] : defaults)
        values.set(m(field), value);
    for (const auto &[field, value] : fields)
        values.set(m(field), value);
    return values;
}

TEST(NutritionSupportRules, RequirementsAgainstTheSupply)
{
    const struct
    {
        const char *what;
        std::map<int, std::string> fields;
        const char *energy, *protein, *supply;
    } cases[] = {
        {"adjusted weight (80 - 60) x 0.25 + 60 = 65", {},
         "1625~1950kcal", "65~97.5g",
         "현 섭취 열량 1950kcal, 필요 열량 1950kcal로 100% / 현 섭취 단백질 97.5g, 필요 단백질 97.5g로 100%"},
        {"current weight", {{20, "0"}}, "2000~2400kcal", "80~120g",
         "현 섭취 열량 1950kcal, 필요 열량 2400kcal로 82% / 현 섭취 단백질 97.5g, 필요 단백질 120g로 81%"},
        {"ideal weight", {{20, "1"}, {3, "60.5"}}, "1512.5~1815kcal", "60.5~90.75g",
         "현 섭취 열량 1950kcal, 필요 열량 1815kcal로 108% / 현 섭취 단백질 97.5g, 필요 단백질 90.75g로 107%"},
        // 1.015, 3.045, 5.075, 7.105: exact ties go to the even neighbour (binary doubles hold them
        // as 1.01499..., 3.04499..., 5.07499..., 7.10499... and would round them all down).
        {"ties round to even", {{20, "1"}, {3, "1.015"}, {25, "1"}, {26, "3"}, {28, "5"}, {29, "7"}},
         "1.02~3.04kcal", "5.08~7.1g",
         "현 섭취 열량 1950kcal, 필요 열량 3.04kcal로 64144% / 현 섭취 단백질 97.5g, 필요 단백질 7.1g로 1373%"},
        // 1 / 8 = 12.5 % rounds to 12 for each source: 24 %, where the sum would give 25.
        {"each source's share rounded on its own", {{20, "1"}, {3, "1"}, {26, "8"}, {31, "1"}, {33, "1"}},
         "25~8kcal", "1~1.5g",
         "현 섭취 열량 2kcal, 필요 열량 8kcal로 24% / 현 섭취 단백질 97.5g, 필요 단백질 1.5g로 6500%"},
        {"a zero need has no percentage", {{26, "0"}, {29, "0"}}, "1625~0kcal", "65~0g",
         "현 섭취 열량 1950kcal, 필요 열량 0kcal로 % / 현 섭취 단백질 97.5g, 필요 단백질 0g로 %"},
        {"a zero weight too", {{20, "0"}, {2, "0"}}, "0~0kcal", "0~0g",
         "현 섭취 열량 1950kcal, 필요 열량 0kcal로 % / 현 섭취 단백질 97.5g, 필요 단백질 0g로 %"},
        {"no weight basis", {{20, " "}}, "", "",
         "현 섭취 열량 1950kcal, 필요 열량 kcal로 % / 현 섭취 단백질 97.5g, 필요 단백질 g로 %"},
        {"a basis other than 0, 1, 2", {{20, "3"}}, "", "",
         "현 섭취 열량 1950kcal, 필요 열량 kcal로 % / 현 섭취 단백질 97.5g, 필요 단백질 g로 %"},
        {"a blank weight the basis needs", {{20, "2"}, {3, ""}}, "", "",
         "현 섭취 열량 1950kcal, 필요 열량 kcal로 % / 현 섭취 단백질 97.5g, 필요 단백질 g로 %"},
        {"an input missing", {{23, "  "}}, "", "",
         "현 섭취 열량 kcal, 필요 열량 kcal로 % / 현 섭취 단백질 g, 필요 단백질 g로 %"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const auto req = reports::nst::ComputeRequirements(requirementValues(c.fields));
        EXPECT_EQ(req.energyRange, c.energy);
        EXPECT_EQ(req.proteinRange, c.protein);
        EXPECT_EQ(req.supply, c.supply);
    }
}

TEST(NutritionSupportRules, AConvertedValueThatIsNoNumberNamesItsField)
{
    const struct
    {
        int field;
        const char *value, *named;
    } cases[] = {
        {26, "3O", "열량 계수(상한)(SQ_NSTSG_S1.S_STRING26)"},
        {2, "80kg", "현체중(SQ_NSTSG_S1.S_STRING2)"},
        {20, "2.0", "체중기준(SQ_NSTSG_S1.S_STRING20)"},
        {34, "1,5", "현 공급 단백질(SQ_NSTSG_S1.S_STRING34)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.named);
        try {
            reports::nst::ComputeRequirements(requirementValues({{c.field, c.value}}));
            ADD_FAILURE() << "no error";
        } catch (const reports::CodeConversionError &e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("출력하지 못했습니다. ") + c.named + " 값이 숫자가 아닙니다: '" + c.value + "'");
        }
    }
    // A field the chosen basis does not use is not read.
    EXPECT_NO_THROW(reports::nst::ComputeRequirements(requirementValues({{20, "1"}, {2, "abc"}})));
}

TEST(NutritionSupportRules, TeamMemoBlocks)
{
    using reports::nst::Assessment;
    const std::vector<Assessment> blocks = {{"의  사 ", "이의사", "2018-05-17 10:20", "계획\r\n둘째 줄"},
                                            {"영양사 ", "", "", ""},
                                            {"약  사 ", "최약사", "2018-05-17", "약"}};
    EXPECT_EQ(reports::nst::TeamMemoText(blocks, 2),
              "◆ 평가자 : 의  사 이의사        평가일시 : 2018-05-17 10:20\n\r계획\r\n둘째 줄\n\r\n\r"
              "◆ 평가자 : 영양사         평가일시 : \n\r\n\r\n\r"
              "◆ 평가자 : 약  사 최약사       평가일시 : 2018-05-17\n\r약");
    // On the memo every separator ends a line and adds an empty one.
    mt::FilledSheet sheet(kKind, [] {
        FieldValues v = mt::EmptySheetValues(kKind);
        v.set("S_STRING1", "계획");
        v.set("S_STRING4", "이의사");
        return v;
    }());
    const std::string plan = sheet.caption("QRMemo1");
    EXPECT_EQ(plan.substr(0, plan.find("◆", 1)),
              "◆ 평가자 : 의  사 이의사        평가일시 : \n\n계획\n\n\n");
}

} // namespace
