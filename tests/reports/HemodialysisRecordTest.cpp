// The hemodialysis record ("MHHDRECT") printed from the real medrec-server: the treatment
// record with the day's medications and treatments, then the nursing notes as a second report
// only when there are notes; the lists staged as the screen stages them; every service
// failure and empty list.
#include "MHE700U1_P01/MHE700U1_P01.h"

#include "NutritionDialysisTesting.h"

#include "PrintHistory.h"
#include "RecordContent.h"

#include "FieldResults.h"
#include "HmdIjdayt.h"
#include "Hmdrecodt.h"
#include "TuxCom.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

constexpr const char *kKind = "MHHDRECT";

class HemodialysisRecord : public mt::NutritionDialysisTest
{
protected:
    // The pages each report printed: the page numbers restart with each report.
    static std::vector<int> reportPages(const engine::Document &doc)
    {
        std::vector<int> pages;
        for (const auto &page : doc.pages) {
            if (page.number == 1)
                pages.push_back(0);
            ++pages.back();
        }
        return pages;
    }
};

const std::vector<std::string> kTreatmentCaptions = {
    "※ 전자인증된 서식입니다.", "투  석  기  록  지", "【환자정보】", "환자번호:", "성   명 :", "환자구분:",
    "진료/입원일자:", "【투석기록】", "Caution:", "A", "B", "C", "D", "기타", "기록일시:", "기록자:", "투석시작일시:",
    "~", "내원경로:", "투석V/S", "시점↓", "항목→", "투석V/S 기록일시", "체온(˚C)", "맥박(/min)", "호흡(/min)",
    "혈압(mmHg)", "투석전V/S", "투석중V/S", "투석후V/S", "건체중:", "투석전 체중:", "UF:", "투석후 체중:", "Kg",
    "혈류속도:", "ml/min", "항응고제:", "초기용량:", "unit", "유지용량:", "unit/hr", "정맥압:", "mmHg", "투석액:",
    "투석종류:", "투석기종류:", "혈액투석통로:", "AVF", "AVG", "Perm Cath", "FVC", "JVC", "투석간호", "항목↓", "시간→",
    "30M", "1H", "1H30M", "2H", "2H30M", "3H", "3H30M", "반창고는 고정이 잘 되어 있는가?",
    "라인이 팽팽하지 않도록 고정되어 있는가?", "라인이 침상이나 기계에 걸리지 않았는가?",
    "이불이나 옷으로 주사 부위가 가려져 있지 않은가?", "욕창예방간호:", "체위변경", "환의, 시트 건조 상태",
    "필요시 드레싱 교환", "낙상예방간호:", "낙상예방 교육함", "낙상예방 표지판 부착", "침대 난간 올려줌",
    "침대 바퀴 고정상태 확인", "치료실 바닥 물기 없음을 확인", "인계사항", "특이사항", "투약/처치:", "No", "처방일시",
    "처방내역", "처방의", "실시일시", "실시자", "세온병원", "(투석기록지_투석기록)"};
const std::vector<std::string> kNoteCaptions = {"※ 전자인증된 서식입니다.", "투  석  기  록  지", "【환자정보】", "환자번호:",
                                                "성   명 :", "환자구분:", "진료/입원일자:", "【간호기록】", "No",
                                                "기록일시", "내     용", "기록자", "세온병원", "(투석기록지_간호기록)"};

TEST_F(HemodialysisRecord, PrintsTheTreatmentRecordThenItsNotes)
{
    const auto printed = printRecord(kKind, "00004001", "20211011", 0);
    ASSERT_TRUE(printed.printed()) << printed.failure;
    mt::ExpectNoLayoutWarnings(*printed.document);
    const std::vector<int> reports = reportPages(*printed.document);
    ASSERT_EQ(reports.size(), 2u);
    const auto pages = pdfPages(printed.pdf);
    ASSERT_EQ(pages.size(), static_cast<std::size_t>(reports[0] + reports[1]));
    const std::string treatment = joined(pages, 0, static_cast<std::size_t>(reports[0]));
    const std::string notes = joined(pages, static_cast<std::size_t>(reports[0]), pages.size());
    expectCaptions(treatment, kTreatmentCaptions);
    expectCaptions(notes, kNoteCaptions);
    EXPECT_EQ(treatment.find("(투석기록지_간호기록)"), std::string::npos);

    expectPrintedWhole(
        printed, pages,
        {{"qrlb_Patno", "00004001"}, {"qrlb_PatName", "정예준"}, {"qrlb_Patsect", "입원"}, {"qrlb_Meddate", "2021-10-11"},
         {"qrlb_Patno1", "00004001"}, {"qrlb_Patname1", "정예준"}, {"qrlb_Patsect1", "입원"},
         {"qrlb_Meddate1", "2021-10-11"}, {"qrlb_CauEtc1", "출혈 경향이 있어 헤파린 유지용량을 줄임 (담당의 지시)"},
         {"qrlb_Recdate", "2021-10-15 13:10"}, {"qrlb_Recname", "김투석"}, {"qrlb_Begindate", "2021-10-15 09:05"},
         {"qrlb_Enddate", "2021-10-15 13:05"}, {"qrlb_VisitPath", "병동(61병동)"},
         {"qrlb_VsBegindate", "2021-10-15 08:55"}, {"qrlb_VsBegin", "36.5"}, {"qrlb_VsBgPls", "78"},
         {"qrlb_VsBgResp", "18"}, {"qrlb_VsBgBld", "150/90"}, {"qrlb_VsMiddledate", "2021-10-15 11:00"},
         {"qrlb_VsMiddle", "36.6"}, {"qrlb_VsMdPls", "82"}, {"qrlb_VsMdResp", "20"}, {"qrlb_VsMdBld", "135/85"},
         {"qrlb_VsEnddate", "2021-10-15 13:05"}, {"qrlb_VsEnd", "36.7"}, {"qrlb_VsEdPls", "76"},
         {"qrlb_VsEdResp", "18"}, {"qrlb_VsEdBld", "128/80"}, {"qrlb_Weight", "58.0"}, {"qrlb_BefWeight", "61.2"},
         {"qrlb_UF", "2.8"}, {"qrlb_AftWeight", "58.4"}, {"qrlb_BldSpeed", "250"}, {"qrlb_Anticaog", "Heparin"},
         {"qrlb_Capa1", "1000"}, {"qrlb_Capa2", "500"}, {"qrlb_Veinpres", "120"},
         {"qrlb_Liquid", "Bicarbonate (K 2.0)"}, {"qrlb_Kind", "HD"}, {"qrlb_EquipKind", "FX80"},
         {"qrmm_TransText", "투석 중 하지 근육 경련이 한 차례 있었으며 생리식염수 100 ml 투여 후 호전됨. 다음 투석 시 목표 "
                            "제수량을 2.5 kg 이하로 조정할 것을 담당의와 상의함.동정맥루 천자 부위 지혈 상태 양호함."},
         {"qrmm_Remark", "혈청 칼륨 5.8 mEq/L(투석 전). 투석액 칼륨 농도 2.0으로 시행함. 다음 투석은 10월 18일(월) 오전 9시 "
                         "예정."}});
    // The boxes: cautions YNYNY, access YNNNN, nursing checks per time, prevention YYN, YYYNY.
    const auto box = [&](const std::string &name) { return printedText(*printed.document, name); };
    const std::map<std::string, std::string> boxes = {
        {"qrlb_CauA", "■"}, {"qrlb_CauB", ""}, {"qrlb_CauC", "■"}, {"qrlb_CauD", ""}, {"qrlb_CauEtc", "■"},
        {"qrlb_Pass1", "■"}, {"qrlb_Pass2", ""}, {"qrlb_Pass5", ""}, {"qrlb_30M_1", "■"}, {"qrlb_30M_2", ""},
        {"qrlb_30M_3", "■"}, {"qrlb_30M_4", "■"}, {"qrlb_1H30M_4", ""}, {"qrlb_3H_4", "■"}, {"qrlb_3H30M_1", ""},
        {"qrlb_Opin2", "■"}, {"qrlb_Opin3", ""}, {"qrlb_Fall4", ""}, {"qrlb_Fall5", "■"}};
    for (const auto &[name, mark] : boxes)
        EXPECT_EQ(box(name), mark) << name;
    EXPECT_EQ(occurrences(treatment, "■"), 3u + 1u + (3 + 4 + 3 + 4 + 3 + 4 + 0) + 2u + 4u);

    // Two medications, then the two of three treatments carried in: rows 1 to 4.
    const auto column = [&](const char *label) { return mt::PrintedLines(*printed.document, label); };
    EXPECT_EQ(column("qrlb_No"), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(column("qrlb_Orddate"),
              (std::vector<std::string>{"10-15 08:30", "10-15 10:55", "10-15 08:30", "10-15 08:30"}));
    EXPECT_EQ(printedText(*printed.document, "qrlb_Ordname"),
              withoutBlanks("Heparin sodium 5,000 IU/5 ml 1000 unit IV 후 500 unit/hr 지속 주입"
                            "Normal saline 100 ml IV 구두지시 후 처방 (하지 근육 경련)혈액투석 (4시간)동정맥루 천자 부위 드레싱"));
    EXPECT_EQ(column("qrlb_Execdate"), (std::vector<std::string>{"09:05", "11:00", "09:05", "13:10"}));
    EXPECT_EQ(column("qrlb_Execdr"), (std::vector<std::string>{"김투석", "이간호", "김투석", "김투석"}));
    EXPECT_EQ(treatment.find("흉부X-선"), std::string::npos);

    // The notes, each whole, the long one wrapped over several lines of its grown band.
    EXPECT_EQ(column("qrlb_Num"), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(column("qrlb_Actdate"),
              (std::vector<std::string>{"21-10-15 08:55", "21-10-15 09:05", "21-10-15 11:00", "21-10-15 13:05"}));
    EXPECT_GT(column("qrmm_Acttxt").size(), 6u);
    EXPECT_NE(printedText(*printed.document, "qrmm_Acttxt")
                  .find(withoutBlanks("보호자도 함께 들음.투석 종료함. 총 제수량 2.8 kg")),
              std::string::npos);
    for (const auto &line : column("qrmm_Acttxt"))
        EXPECT_NE(notes.find(withoutBlanks(line)), std::string::npos) << line;
    EXPECT_EQ(column("qrlb_Actrecid"), (std::vector<std::string>{"김투석", "김투석", "이간호", "김투석"}));

    EXPECT_TRUE(printed.status.empty()) << printed.status;
    const auto &s = printed.summary;
    EXPECT_EQ((std::vector<std::string>{s.patno, s.meddate, s.dschdate, s.patgubun, s.meddept, s.chadr}),
              (std::vector<std::string>{"00004001", "20211011", "20211030", "I", "내과", "최영민"}));
    ASSERT_TRUE(printed.history);
    ASSERT_EQ(reports::SavePrintHistory(*printed.history, kKind), 1) << middleware::LastTuxMessage();
    const auto lines = historyLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.front().find("\t00004001\t20211011\t20211015\t1\tempty\tMHHDRECT\t"), std::string::npos)
        << lines.front();
}

TEST_F(HemodialysisRecord, WithoutNotesOnlyTheTreatmentRecordPrints)
{
    const auto printed = printRecord(kKind, "00004004", "20230315", 0);
    ASSERT_TRUE(printed.printed()) << printed.failure;
    mt::ExpectNoLayoutWarnings(*printed.document);
    EXPECT_EQ(reportPages(*printed.document).size(), 1u);
    const std::string all = joined(pdfPages(printed.pdf));
    expectCaptions(all, kTreatmentCaptions);
    for (const char *absent : {"【간호기록】", "(투석기록지_간호기록)"})
        EXPECT_EQ(all.find(absent), std::string::npos) << absent;
    EXPECT_EQ(printedText(*printed.document, "qrlb_Patsect"), "외래");
    // No medications, one treatment carried in.
    EXPECT_EQ(mt::PrintedLines(*printed.document, "qrlb_No"), (std::vector<std::string>{"1"}));
    EXPECT_EQ(printed.status, "조회된 투석간호기록 자료가 없습니다.");
    EXPECT_EQ(printed.summary.patgubun, "O");
    ASSERT_TRUE(printed.history);
    EXPECT_EQ(printed.history->details, (std::array<std::string, 3>{"20230315", "1", "empty"}));
}

TEST_F(HemodialysisRecord, NoOrdersPrintTheColumnHeaderAloneAndAnUnknownClassAsDelivered)
{
    const auto printed = printRecord(kKind, "00009101", "20250106", 0);
    ASSERT_TRUE(printed.printed()) << printed.failure;
    EXPECT_EQ(reportPages(*printed.document).size(), 1u);
    EXPECT_TRUE(mt::PrintedLines(*printed.document, "qrlb_No").empty());
    const std::string all = joined(pdfPages(printed.pdf));
    for (const char *text : {"처방일시", "처방내역", "실시자", "측정불가"})
        EXPECT_NE(all.find(text), std::string::npos) << text;
    EXPECT_EQ(printedText(*printed.document, "qrlb_Patsect"), "H");
    // The last list that came back empty says so once printed.
    EXPECT_EQ(printed.status, "조회된 투석간호기록 자료가 없습니다.");
}

TEST_F(HemodialysisRecord, AFailedServiceStopsThePrintWithItsOwnText)
{
    // No treatment record row: the kind's own text.
    auto printed = printRecord(kKind, "00009101", "20250106", 2);
    ASSERT_TRUE(printed.refused.has_value()) << printed.failure;
    EXPECT_EQ(printed.refused->reason, reports::NotPrinted::Reason::NothingFound);
    EXPECT_EQ(printed.refused->notice.text, "조회된 투석기록지 내용이 없습니다.");

    // A medication list too large for one reply comes in several and prints whole.
    printed = printRecord(kKind, "00009101", "20250106", 1);
    EXPECT_FALSE(printed.refused.has_value()) << printed.refused->notice.text;
    EXPECT_TRUE(printed.printed()) << printed.failure;

    // The notes call refuses the patient number: the copy never goes out without its notes.
    reports::PrintContext context;
    context.record = reports::RowCells({"0000910100000000000001", "20250106", "20250110", "1", "", "I"});
    printed = print(kKind, context);
    ASSERT_TRUE(printed.refused.has_value()) << printed.failure;
    EXPECT_EQ(printed.refused->reason, reports::NotPrinted::Reason::ServiceFailed);
    EXPECT_NE(middleware::TuxMessage().find("S_PATNO"), std::string::npos) << middleware::TuxMessage();
    EXPECT_FALSE(printed.document.has_value());

    // Through the real print run: the operator sees the kind's text, no history row.
    const std::string out = batchPrintingNothing("9101 --visit 20250106 --kind MHHDRECT --record 3");
    EXPECT_NE(out.find("조회된 투석기록지 내용이 없습니다."), std::string::npos) << out;
}

TEST_F(HemodialysisRecord, TheHostAnswersEachListByItsOwnKey)
{
    expectServicesListed({"MH_HDREC_S1\tstored replies\tS_TYPE1;S_TYPE2;S_TYPE3;S_TYPE4",
                          "MD_IJDAY_L2\tstored replies\tS_TYPE1;S_TYPE2;S_TYPE3"});
    services::HmdIjdayt medications, treatments;
    EXPECT_EQ(medications.ListIjday("W", "00004001", "20211015"), 2);
    EXPECT_EQ(treatments.ListIjday("U", "00004001", "20211015"), 3);
    EXPECT_EQ(medications.results.value("S_CODE8", 1), "이간호");
    EXPECT_EQ(treatments.results.value("S_CODE11", 2), "OUT");
    EXPECT_EQ(medications.ListIjday("U", "00004001", "20211016"), 0);
}

// ---- staging, as the screen's hidden lists hold the rows

services::FieldResults orders(const std::vector<std::map<std::string, std::string>> &rows)
{
    services::FieldResults results([] {
        std::vector<std::string> names{"S_ORDDATE"};
        for (int i = 1; i <= 16; ++i)
            names.push_back("S_CODE" + std::to_string(i));
        return names;
    }());
    for (auto &output : results.outputs()) {
        output.target->clear();
        for (const auto &row : rows) {
            const auto it = row.find(output.name);
            output.target->push_back(it == row.end() ? "" : it->second);
        }
    }
    return results;
}

TEST(HemodialysisStaging, MedicationsFirstThenTheTreatmentsCarriedIn)
{
    const auto medications = orders({{{"S_ORDDATE", "20190304"}, {"S_CODE3", "08:30"}, {"S_CODE6", " Heparin "},
                                      {"S_CODE7", "1000 unit "}, {"S_CODE4", "의사"}, {"S_CODE2", "09:00"},
                                      {"S_CODE8", "간호사"}},
                                     {{"S_ORDDATE", "20190304"}, {"S_CODE6", "NS"}}});
    const auto treatments = orders({{{"S_CODE6", "투석"}, {"S_CODE11", "IN"}},
                                    {{"S_CODE6", "X-ray"}, {"S_CODE11", "OUT"}},
                                    {{"S_CODE6", "드레싱"}, {"S_CODE11", "IN"}},
                                    {{"S_CODE6", "다음 날"}, {"S_CODE11", "IN"}}});
    common::GridData list{60, 2, 1};
    list.setRowCount(8);
    list.setCell(2, 5, "an earlier print's row");
    // Only the rows the services counted: the fourth treatment is past the count.
    EXPECT_EQ(reports::StageOrders(medications, 2, treatments, 3, list), 4);
    const auto first = list.rowCells(1);
    EXPECT_EQ(std::vector<std::string>(first.begin(), first.begin() + 6),
              (std::vector<std::string>{"1", "03-04 08:30", "Heparin 1000 unit", "의사", "09:00", "간호사"}));
    EXPECT_EQ(list.cell(1, 2), "03-04 ");
    EXPECT_EQ(list.cell(2, 3), "투석");
    EXPECT_EQ(list.cell(0, 4), "4");
    EXPECT_EQ(list.cell(2, 4), "드레싱");
    for (int row = 5; row < list.rowCount(); ++row)
        EXPECT_TRUE(list.cell(2, row).empty()) << row;

    EXPECT_EQ(reports::StageOrders(medications, 0, treatments, 0, list), 0);
    EXPECT_TRUE(list.cell(2, 1).empty());
}

TEST(HemodialysisStaging, NotesCarryTheirDateAndTimeAsYyMmDdHhMm)
{
    auto data = std::make_unique<services::Hmdrecodt>();
    const auto set = [&](int field, std::vector<std::string> values) { data->recordData[field - 1] = values; };
    set(1, {"00001234", "00001234"});
    set(2, {"2019-03-04", "2019-03-05"});
    set(3, {"1430", "9"});
    set(4, {"첫 기록", ""});
    set(5, {"간호사", "간호사2"});
    const reports::RecordContent notes(std::move(data), 2);
    common::GridData list{30, 2, 1};
    EXPECT_EQ(reports::StageNotes(notes, list), 2);
    const auto first = list.rowCells(1);
    EXPECT_EQ(std::vector<std::string>(first.begin(), first.begin() + 4),
              (std::vector<std::string>{"1", "19-03-04 14:30", "첫 기록", "간호사"}));
    EXPECT_EQ(list.cell(1, 2), "19-03-05 9:");
    EXPECT_EQ(list.cell(12, 1), "2019-03-04");
    EXPECT_EQ(list.cell(13, 2), "9");
}

TEST(HemodialysisStaging, PatientClassWords)
{
    for (const auto &[code, text] : std::vector<std::pair<std::string, std::string>>{
             {"O", "외래"}, {"I", "입원"}, {"E", "응급"}, {"i", "i"}, {"", ""}, {"H", "H"}})
        EXPECT_EQ(reports::PatientClassText(code), text) << code;
}

} // namespace
