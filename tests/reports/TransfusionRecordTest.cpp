// The transfusion record ("MDBLOODT") printed from the real medrec-server: the demo's units
// across two landscape pages under the page header, the history row; each unit shaping the
// detail band afresh (observation slots up to the last recorded one, an empty one before it
// kept, the band as tall as its rows); the transfusers' boxes; the staged list.
#include "MDN690U1_P01/MDN690U1_P01.h"
#include "MDN690U1_P01/TransfusionSlots.h"

#include "ContextValues.h"
#include "PatientHeader.h"
#include "RecordContent.h"
#include "RecordKindFixture.h"
#include "ReportForms.h"
#include "StagedRows.h"

#include "Hmdrecodt.h"

#include "report_engine/Report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

constexpr const char *kKind = "MDBLOODT";

// A staged row: every column empty but those given.
reports::FieldValues stagedRow(const std::map<int, std::string> &cells)
{
    reports::FieldValues row;
    for (int col = 0; col < reports::kTransfusionColumns; ++col) {
        const auto it = cells.find(col);
        row.set(reports::value::col(col), it == cells.end() ? std::string() : it->second);
    }
    return row;
}

// Observation texts for the slots given, "slot N" each.
std::map<int, std::string> observations(std::initializer_list<int> slots)
{
    std::map<int, std::string> cells;
    for (int slot : slots)
        cells[reports::ObservationColumns(slot).observation] = "slot " + std::to_string(slot);
    return cells;
}

using TransfusionRecord = mt::DemoRecordKindTest;

TEST_F(TransfusionRecord, SixUnitsRunOntoASecondLandscapePageUnderTheHeader)
{
    auto context = contextFor(kKind, "00001302", "20160905");
    const mt::KindPrint result = print(kKind, context);
    ASSERT_TRUE(result.printed()) << result.failure << result.fault;
    expectNothingLost(result);
    ASSERT_EQ(result.document->pages.size(), 2u);
    for (const auto &page : result.document->pages) {
        EXPECT_EQ(page.orientation, engine::Orientation::Landscape);
        EXPECT_GT(page.paper.width, page.paper.height);
    }
    const std::string info = commandOutput("pdfinfo '" + result.pdf.string() + "'");
    EXPECT_NE(info.find("Page size:       842 x 595 pts (A4)"), std::string::npos) << info; // landscape

    const auto pages = pdfPages(result.pdf, PdfText::LaidOut);
    ASSERT_EQ(pages.size(), 2u);
    for (const auto &page : pages) {
        for (const char *header : {"수 혈 기 록 지",
                                   "SEON MEDICAL CENTER",
                                   "환자번호",
                                   "00001302",
                                   "이    름",
                                   "김민수",
                                   "주민번호",
                                   "651120-1******",
                                   "SEX/AGE",
                                   "진 료 과",
                                   "정형외과",
                                   "주 치 의",
                                   "최영민",
                                   "병동/병실",
                                   "51/5105",
                                   "No",
                                   "날 짜",
                                   "혈   액   종   류",
                                   "혈액번호",
                                   "혈액형",
                                   "불출시각",
                                   "점점속도",
                                   "수혈시작",
                                   "수혈종료",
                                   "수혈자",
                                   "활력징후",
                                   "수혈중",
                                   "나타난 증상",
                                   "2026-12-09 14:30:05"}) {
            SCOPED_TRACE(header);
            EXPECT_NE(page.find(withoutBlanks(header)), std::string::npos);
        }
    }
    const std::string all = pages[0] + pages[1];
    for (const char *value :
         {"16-01-123456", "16-01-123457", "16-02-004411", "16-01-130021", "16-03-000987", "16-02-004502",
          "농축적혈구 (RBC) 320mL", "신선동결혈장 (FFP) 250mL", "혈소판 농축액 (PC) 6unit", "A Rh+", "14:05",
          "14:20", "16:10", "40gtt/min", "한소희/윤아름", "BP 128/78 HR 84 BT 36.7 RR 18",
          "BP 124/76 HR 82 BT 36.8 RR 18", "병실에서의 환자 및 혈액형 확인", "부작용(Chill,urticaria)설명",
          "[30분]", "[4시간]", "[3시간30분]",
          // a multi-line observation on one line
          "BP 124/78 HR 80 BT 36.8",
          // unit 3: the 2-hour observation after the empty 1 hour 30 minutes
          "BP 124/78 HR 84 BT 36.9", "두드러기 발생하여 항히스타민제 투여, 담당의", "보고함",
          // unit 4: a long observation wraps, whole
          "BP 118/72 HR 94 BT 38.0, 오한 호소하여 수혈 속도를 20gtt/min으로 줄이고",
          "담당의에게 보고함, 해열제 정맥 투여 후 30분 뒤 재측정하기로 함",
          "해열제 투여 (프로파세타몰 1g IV)", "수혈 종료 후 수액 유지"}) {
        SCOPED_TRACE(value);
        EXPECT_NE(all.find(withoutBlanks(value)), std::string::npos);
    }
    EXPECT_NE(all.find("[있음]"), std::string::npos);
    EXPECT_NE(all.find("∨"), std::string::npos);
    // The transfusers print twice per unit: at the start and at the end, never the end time.
    std::size_t nurses = 0;
    for (auto at = all.find("한소희/윤아름"); at != std::string::npos; at = all.find("한소희/윤아름", at + 1))
        ++nurses;
    EXPECT_EQ(nurses, 12u);

    EXPECT_EQ(result.summary, (reports::PrintedSummary{.patno = "00001302",
                                                       .meddate = "20160905",
                                                       .dschdate = "20160920",
                                                       .patgubun = "건강보험",
                                                       .meddept = "정형외과",
                                                       .chadr = "최영민"}));
    EXPECT_EQ(result.history, (reports::HistoryRow{.patNo = "00001302",
                                                   .recordKey = "20160905",
                                                   .details = {"건강보험", "정형외과", "empty"}}));
    // The list keeps the staged units, all sixty columns.
    EXPECT_EQ(context.scratch.list.bodyRowCount(), 6);
    EXPECT_EQ(context.scratch.list.colCount(), reports::kTransfusionColumns);
    EXPECT_EQ(context.scratch.list.cell(59, 1), "수혈 종료 후 수액 유지");
}

TEST_F(TransfusionRecord, ARecordWithoutRowsSaysSoOnTheStatusLine)
{
    reports::PrintContext context;
    context.record =
        reports::RowCells({"00001302", "20160905", "20160920", "51/5105", "의료급여", "", "", "정형외과"});
    const mt::KindPrint result = print(kKind, context);
    ASSERT_TRUE(result.refused.has_value()) << result.failure;
    EXPECT_EQ(result.refused->reason, reports::NotPrinted::Reason::NothingFound);
    EXPECT_EQ(result.refused->notice.channel, reports::Notice::Channel::Status);
    EXPECT_EQ(result.refused->notice.text, "조회된 자료가 없습니다.");
}

TEST_F(TransfusionRecord, APrintRunLeavesOneHistoryRowWithTheRecordsKeyCells)
{
    const std::string env = mt::writeSiteEnvironment(m_out.path(), "127.0.0.1", s_server->port());
    const std::string pdfDir = m_out.file("batch");
    std::filesystem::create_directories(pdfDir);
    const auto before = historyLines().size();
    const std::string command = "MEDREC_ENV_FILE='" + env + "' MEDREC_PRINT_TO='pdf:" + pdfDir +
                                "' MEDREC_BATCH_USER=CLERK '" MEDREC_BATCH_PROGRAM
                                "' 4001 --visit 20211011 --kind MDBLOODT 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    const auto lines = historyLines();
    ASSERT_EQ(lines.size(), before + 1);
    EXPECT_NE(lines[0].find("\t00004001\t20211011\t의료급여\t내과\tempty\tMDBLOODT\tCLERK\t"),
              std::string::npos)
        << lines[0];
    std::filesystem::path pdf; // beside its layout record
    for (const auto &entry : std::filesystem::directory_iterator(pdfDir))
        if (entry.path().extension() == ".pdf")
            pdf = entry.path();
    ASSERT_FALSE(pdf.empty());
    const auto pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    // The second unit's only later record is a "기타" text at 2 hours 30 minutes: it prints.
    EXPECT_NE(pages[0].find(withoutBlanks("보호자 면회 중 수혈 부위 통증 호소 없음")), std::string::npos);
    EXPECT_NE(pages[0].find("[2시간30분]"), std::string::npos);
    EXPECT_NE(pages[0].find("조은비/문하늘"), std::string::npos);
}

// One report fed unit after unit, as the need-data callback does: each unit's slots and
// height are its own, whatever the unit before had.
TEST(TransfusionSlots, EachUnitShapesTheBandAfresh)
{
    auto report = reports::MakeReport("MDN690U1_P01", "TMDN690F1_P01");
    const auto &detail = reports::TransfusionRecordForms().at(0).detail;
    const auto on = [](int last) {
        std::vector<bool> slots;
        for (int slot = 1; slot <= reports::kObservationSlots; ++slot)
            slots.push_back(slot <= last);
        return slots;
    };
    std::map<int, std::string> otherOnly{{reports::ObservationColumns(5).other, "기타만"}};
    std::map<int, std::string> answerOnly{{reports::ObservationColumns(2).urticaria, "Y"}};
    const struct
    {
        const char *what;
        std::map<int, std::string> cells;
        int rows;
        std::vector<bool> enabled;
    } units[] = {
        {"a gap at 1 hour 30 minutes", observations({1, 2, 4}), 2, on(4)},
        {"all eight after it", observations({1, 2, 3, 4, 5, 6, 7, 8}), 4, on(8)},
        {"none after all eight", {}, 0, on(0)},
        {"a lone 4-hour observation", observations({8}), 4, on(8)},
        {"seven", observations({1, 2, 3, 4, 5, 6, 7}), 4, on(7)},
        {"only a 기타 text at 2 hours 30 minutes", otherOnly, 3, on(5)},
        {"only an answer at 1 hour", answerOnly, 1, on(2)},
        {"one", observations({1}), 1, on(1)},
    };
    for (const auto &u : units) {
        SCOPED_TRACE(u.what);
        reports::ApplyBindings(*report, detail, stagedRow(u.cells));
        EXPECT_NEAR(report->band("band_Detail").height, reports::TransfusionDetailHeight(u.rows), 1e-9);
        for (int slot = 1; slot <= reports::kObservationSlots; ++slot)
            for (const std::string &name : reports::SlotComponents(slot)) {
                SCOPED_TRACE(name);
                EXPECT_EQ(report->component(name).enabled, u.enabled[static_cast<std::size_t>(slot - 1)]);
            }
    }
    // The gap's empty slot keeps its captions and shows no text of its own.
    reports::ApplyBindings(*report, detail, stagedRow(observations({1, 2, 4})));
    EXPECT_EQ(report->label("qrlb_Remark5").caption, "");
    EXPECT_EQ(report->label("qrl_Time3").caption, "[1시간30분]");
    EXPECT_EQ(report->label("qrlb_Remark6").caption, "slot 4");
}

TEST(TransfusionSlots, HeightsAnswersAndTheLastRecordedSlot)
{
    const double expected[] = {9.525, 18.785, 27.781, 36.777, 45.773}; // 36, 71, 105, 139, 173 px
    for (int rows = 0; rows <= 4; ++rows)
        EXPECT_NEAR(reports::TransfusionDetailHeight(rows), expected[rows], 1e-3) << rows;
    EXPECT_THROW(reports::TransfusionDetailHeight(5), std::out_of_range);

    EXPECT_EQ(reports::AnswerText("Y"), "[있음]");
    for (const char *other : {"", "N", "y", " Y"})
        EXPECT_EQ(reports::AnswerText(other), "[없음]") << other;

    EXPECT_EQ(reports::LastRecordedSlot(stagedRow({})), 0);
    EXPECT_EQ(reports::LastRecordedSlot(stagedRow(observations({1, 3}))), 3);
    // A "N" answer is no record of its own; a "Y" is.
    EXPECT_EQ(reports::LastRecordedSlot(stagedRow({{reports::ObservationColumns(6).chill, "N"}})), 0);
    EXPECT_EQ(reports::LastRecordedSlot(stagedRow({{reports::ObservationColumns(8).chill, "Y"}})), 8);
    EXPECT_EQ((reports::ObservationColumns(1).observation), 17);
    EXPECT_EQ((reports::ObservationColumns(8).urticaria), 49);
    EXPECT_EQ((reports::ObservationColumns(8).other), 59);
}

TEST(TransfusionDetail, TheBoxesOfAUnitFromItsStagedRow)
{
    auto report = reports::MakeReport("MDN690U1_P01", "TMDN690F1_P01");
    const auto &detail = reports::TransfusionRecordForms().at(0).detail;
    const struct
    {
        const char *what;
        std::map<int, std::string> cells;
        std::vector<std::pair<std::string, std::string>> captions;
    } cases[] = {
        {"both transfusers, end time apart",
         {{7, "한소희"}, {8, "윤아름"}, {11, "16:10"}, {12, "한소희"}, {13, "윤아름"}},
         {{"qrlb_BldNrs1", "한소희/윤아름"}, {"qrlb_BldNrs2", "한소희/윤아름"}, {"qrlb_End", "16:10"}}},
        {"no end transfusers: the box stays empty, never the end time",
         {{7, "한소희"}, {11, "16:10"}},
         {{"qrlb_BldNrs1", "한소희"}, {"qrlb_BldNrs2", ""}, {"qrlb_End", "16:10"}}},
        {"only the second",
         {{8, "윤아름"}, {13, "윤아름"}},
         {{"qrlb_BldNrs1", "/윤아름"}, {"qrlb_BldNrs2", "/윤아름"}}},
        {"checked and answered",
         {{27, "Y"}, {28, "y"}, {33, "Y"}, {34, "N"}},
         {{"qrlb_check1", "∨"}, {"qrlb_check2", ""}, {"qrlb_stat3", "[있음]"}, {"qrlb_stat4", "[없음]"}}},
        {"the unit's lines",
         {{0, "3"},
          {1, "2016-09-07"},
          {2, "FFP"},
          {3, "16-02-004411"},
          {4, "09:10"},
          {5, "A Rh+"},
          {6, "09:20"},
          {9, "BP 130/82"},
          {14, "BP 126/78"},
          {16, "30gtt/min"}},
         {{"qrlb_No", "3"},
          {"qrlb_Date", "2016-09-07"},
          {"qrlb_BloodNm", "FFP"},
          {"qrlb_BloodNo", "16-02-004411"},
          {"qrlb_delitime", "09:10"},
          {"qrlb_RHABO", "A Rh+"},
          {"qrlb_Start", "09:20"},
          {"qrlb_Remark", "BP 130/82"},
          {"qrlb_Remark2", "BP 126/78"},
          {"qrlb_Gttmin", "30gtt/min"}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        reports::ApplyBindings(*report, detail, stagedRow(c.cells));
        for (const auto &[label, caption] : c.captions)
            EXPECT_EQ(report->label(label).caption, caption) << label;
    }
}

TEST(TransfusionList, AContentRowStagedWithItsNumberAndFlattenedTexts)
{
    auto data = std::make_unique<services::Hmdrecodt>();
    const auto set = [&](int field, std::vector<std::string> rows) {
        data->recordData[field - 1] = std::move(rows);
    };
    set(4, {"2016-09-06", "2016-09-07"});
    set(10, {"BP 120/80  \r\nHR 80", ""});
    set(24, {"첫 관찰\r\n\r\n둘째 줄", "x"});
    set(31, {"4시간", ""});
    set(8, {"한소희", "조은비"});
    set(57, {"Y", ""});
    set(56, {"4시간 기타", ""});
    const reports::RecordContent content(std::move(data), 2);
    const auto row = reports::TransfusionRow(content, 0);
    ASSERT_EQ(row.size(), static_cast<std::size_t>(reports::kTransfusionColumns));
    EXPECT_EQ(row[0], "1");
    EXPECT_EQ(row[1], "2016-09-06");
    EXPECT_EQ(row[9], "BP 120/80 HR 80");
    EXPECT_EQ(row[17], "첫 관찰 둘째 줄");
    EXPECT_EQ(row[24], "4시간");
    EXPECT_EQ(row[7], "한소희");
    EXPECT_EQ(row[12], "한소희"); // the end transfusers come from the same field
    EXPECT_EQ(row[49], "Y");
    EXPECT_EQ(row[59], "4시간 기타");
    const auto second = reports::TransfusionRow(content, 1);
    EXPECT_EQ(second[0], "2");
    EXPECT_EQ(second[17], "x");
    EXPECT_EQ(second[49], "");
}

} // namespace
