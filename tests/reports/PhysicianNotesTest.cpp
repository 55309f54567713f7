// The re-evaluation, emergency room and admission notes printed for real from the demo data
// on medrec-server: the PDF read back, the summary, the history rows; and the composition of
// their memo texts.
#include "RecordKindFixture.h"

#include "FieldValues.h"
#include "ContextValues.h"
#include "MDO530U1_P01/MDO530U1_P01.h"
#include "MDO540U1_P01/MDO540U1_P01.h"
#include "MDO550U1_P01/MDO550U1_P01.h"
#include "PrintHistory.h"
#include "RecordKinds.h"
#include "ReportForms.h"

#include "report_engine/Report.h"

#include <gtest/gtest.h>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

const std::string CRLF = "\r\n";

// Whether the page text holds the pieces of `text` between runs of blanks, in order (the
// reader puts a spaced caption's pieces around a larger value beside them).
bool holds(const std::string &page, const std::string &text)
{
    std::size_t from = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t gap = text.find("  ", at);
        std::string piece;
        for (char c : text.substr(at, gap == std::string::npos ? std::string::npos : gap - at))
            if (c != ' ')
                piece.push_back(c);
        const std::size_t found = page.find(piece, from);
        if (found == std::string::npos)
            return false;
        from = found + piece.size();
        if (gap == std::string::npos)
            break;
        at = text.find_first_not_of(' ', gap);
    }
    return true;
}

struct NoteCase
{
    const char *kind, *patNo, *visitDate;
    std::vector<std::string> texts; // captions and values every print holds
    reports::PrintedSummary summary;
    std::string history; // the row medrec-server lists: patient, key2 .. key5, kind
    int pages;
};

const NoteCase kNotes[] = {
    {"MDREADMT", "00004005", "20141103",
     {"※ 전자인증된 서식입니다.", "신경외과 재평가 기록", "등록번호", "이    름", "생년월일", "입 원 일", "병동/병실",
      "주 치 의", "00004005", "장서준", "1959-10-09", "2014-11-03", "81/8105", "이정훈", "입원(전과)일시:2014-11-03 07:00",
      "작성일시:2014-11-10 16:40", "■주관적 소견(S)】", "■객관적 소견(O)】", "■계통문진(R.O.S)】", "■신체검진(P.Ex)】",
      "■진단명(A)】", "■진료계획(P)】", "■치료목표】", "(Problem) : 수술 후 두통", "(CareGoal) : 통증 점수 3점 이하 유지",
      "(목표일자) : 2014-11-14", "■퇴원계획】", "■작성의사】이정훈", "만성 경막하 혈종, 천공술 후 상태 (I62.0)",
      "CT 추적 결과 재출혈 없으면", "세온병원", "KRV MR-AD"},
     {"00004005", "20141103", "20141201", "I", "신경외과", "이정훈"},
     "00004005\t2014-11-03\t20141103\tempty\tempty\tMDREADMT", 1},
    {"MDEMNOTT", "00056789", "20220702",
     {"EM Note (응급의학과)", "등록번호", "이    름", "생년월일", "내 원 일", "담 당 의", "00056789", "김민준", "1992-08-17",
      "2022-07-02", "김도현", "도착일시:2022-07-02 19:40", "작성일시:2022-07-02 20:15", "■C.C】", "■P.Ix】", "■P.Hx】",
      "■Family Hx.】", "■Social Hx.】", "■R.O.S】", "■P.Ex】", "■Impression】", "■Plan】", "■통합노트】", "■작성의사】",
      "우하복부 통증 (6시간 전부터)", "급성 충수염 의증", "외과 박상철 선생님 협진", "세온병원", "KRV MR-EM NOTE"},
     {"00056789", "20220702", "", "E", "응급의학과", "김도현"},
     "00056789\t20220702\t1940\t응급의학과\t김도현\tMDEMNOTT", 1},
    {"MDADMNOT", "00001234", "20180514",
     {"외과 Admission Note", "입 원 일", "병동/병실", "주 치 의", "00001234", "김민준", "1979-03-12", "2018-05-14",
      "71/7103", "이정훈", "입원일시:2018-05-14 09:30", "작성일시:2018-05-14 11:05", "■C.C】", "■Impression】",
      "■Care Plan】", "【1. 진단 및 병리 검사 계획】", "【2. 영상 검사 계획】", "【3. 투약 및 통증 관리 계획】",
      "【4. 수술 및 내과적 치료 계획】", "【5. 상처 치료 계획】", "■치료목표】", "(Problem1) : 우상복부 통증",
      "(CareGoal5) : 보호자와 함께 상처 관리 교육 이수", "(목표일자5) : 2018-05-19", "■Discharge Plan】",
      "【1. 퇴원 예정일】", "【2. 퇴원 계획】", "(퇴원후 가는곳) : 자택", "(FollowUp 계획) : 수술 후 1주일 외과 외래",
      "■작성의사】", "세온병원", "KRV MR-AD"},
     {"00001234", "20180514", "20180519", "I", "외과", "이정훈"},
     "00001234\t외과\t20180514\tempty\tempty\tMDADMNOT", 2},
};

class PhysicianNotes : public mt::RecordKindTest, public ::testing::WithParamInterface<NoteCase>
{
protected:
    static void SetUpTestSuite() { StartServer(demoData()); }
    static void TearDownTestSuite() { StopServer(); }
};

TEST_P(PhysicianNotes, PrintEveryCaptionAndValueAndWriteTheirHistoryRow)
{
    const NoteCase &c = GetParam();
    auto context = contextFor(c.kind, c.patNo, c.visitDate);
    const mt::KindPrint result = print(c.kind, context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_TRUE(result.document->warnings.empty());

    const auto pages = pdfPages(result.pdf);
    ASSERT_EQ(static_cast<int>(pages.size()), c.pages);
    std::string all;
    for (const auto &page : pages)
        all += page;
    for (const std::string &text : c.texts) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(holds(all, text));
    }
    // The page header and the furniture on every page, with its number.
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_NE(pages[i].find(withoutBlanks(c.texts[1])), std::string::npos);
        EXPECT_NE(pages[i].find(c.patNo), std::string::npos);
        EXPECT_NE(pages[i].find("세온병원"), std::string::npos);
        EXPECT_NE(pages[i].find("-" + std::to_string(i + 1) + "-"), std::string::npos);
    }

    EXPECT_EQ(result.summary.patno, c.summary.patno);
    EXPECT_EQ(result.summary.meddate, c.summary.meddate);
    EXPECT_EQ(result.summary.dschdate, c.summary.dschdate);
    EXPECT_EQ(result.summary.patgubun, c.summary.patgubun);
    EXPECT_EQ(result.summary.meddept, c.summary.meddept);
    EXPECT_EQ(result.summary.chadr, c.summary.chadr);

    // The row the print run writes, as medrec-server lists it.
    ASSERT_TRUE(result.history);
    ASSERT_EQ(reports::SavePrintHistory(*result.history, c.kind), 1);
    const auto lines = historyLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.front().find(c.history), std::string::npos) << lines.front();
}

INSTANTIATE_TEST_SUITE_P(demo, PhysicianNotes, ::testing::ValuesIn(kNotes),
                         [](const auto &info) { return std::string(info.param.kind); });

class EmergencyNote : public mt::RecordKindTest
{
protected:
    static void SetUpTestSuite() { StartServer(demoData()); }
    static void TearDownTestSuite() { StopServer(); }
};

TEST_F(EmergencyNote, NeverPrintsItsWardRow)
{
    auto context = contextFor("MDEMNOTT", "00056789", "20220702");
    const mt::KindPrint result = print("MDEMNOTT", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    for (const auto &page : pdfPages(result.pdf))
        EXPECT_EQ(page.find("병동/병실"), std::string::npos);
}

TEST_F(EmergencyNote, IsAskedForByCellsOneToFour)
{
    // Another department in cell 3 asks for another record: nothing to print.
    auto context = contextFor("MDEMNOTT", "00056789", "20220702");
    auto cells = context.record.all();
    cells[3] = "외과";
    context.record = reports::RowCells(cells);
    const mt::KindPrint result = print("MDEMNOTT", context);
    ASSERT_TRUE(result.refused.has_value());
    EXPECT_EQ(result.refused->notice.text, "출력할  자료가 없습니다.");
}

reports::FieldValues numbered(int last, const std::string &prefix)
{
    reports::FieldValues values;
    for (int i = 1; i <= 60; ++i)
        values.set("S_STRING" + std::to_string(i), i <= last ? prefix + std::to_string(i) : "");
    for (int cell = 0; cell <= 5; ++cell)
        values.set(reports::value::record(cell), "C" + std::to_string(cell));
    return values;
}

TEST(NoteText, TheReEvaluationNoteAsComposed)
{
    const std::string blanks(20, ' ');
    EXPECT_EQ(reports::ReEvaluationNoteText(numbered(12, "v")),
              CRLF + "입원(전과)일시:C5" + blanks + "작성일시:v1" + CRLF + CRLF +
                  "■주관적 소견(S)】" + CRLF + CRLF + "v2" + CRLF + CRLF +
                  "■객관적 소견(O)】" + CRLF + CRLF + "v3" + CRLF + CRLF +
                  "■계통문진(R.O.S)】" + CRLF + CRLF + "v4" + CRLF + CRLF +
                  "■신체검진(P.Ex)】" + CRLF + CRLF + "v5" + CRLF + CRLF +
                  "■진단명(A)】" + CRLF + CRLF + "v6" + CRLF + CRLF +
                  "■진료계획(P)】" + CRLF + CRLF + "v7" + CRLF + CRLF +
                  "■치료목표】" + CRLF + "         (Problem) : v8" + CRLF + "         (CareGoal) : v9" + CRLF +
                  "         (목표일자) : v10" + CRLF + CRLF +
                  "■퇴원계획】" + CRLF + CRLF + "v11" + CRLF + CRLF + "■작성의사】v12");
}

TEST(NoteText, TheEmergencyNoteAsComposed)
{
    const std::string blanks(20, ' ');
    std::string expected = CRLF + "도착일시:v7" + blanks + "작성일시:v8" + CRLF + CRLF;
    int field = 9;
    for (const char *heading : {"■C.C】", "■P.Ix】", "■P.Hx】", "■Family Hx.】", "■Social Hx.】", "■R.O.S】", "■P.Ex】",
                                "■Impression】", "■Plan】", "■통합노트】", "■작성의사】"})
        expected += heading + CRLF + CRLF + "v" + std::to_string(field++) + CRLF + CRLF;
    EXPECT_EQ(reports::EmergencyNoteText(numbered(19, "v")), expected);
}

TEST(NoteText, AdmissionGoalsAreLabelledOnlyWhereWritten)
{
    struct Case
    {
        const char *name;
        std::vector<std::pair<int, std::string>> goals;
        std::string expected; // between "■치료목표】⏎" and "■Discharge Plan】"
    };
    const std::vector<Case> cases = {
        {"only goal 1", {{23, "P"}, {24, "C"}, {25, "D"}},
         "         (Problem1) : P" + CRLF + "         (CareGoal1) : C" + CRLF + "         (목표일자1) : D" + CRLF + CRLF},
        {"blanks print as delivered", {{26, "  "}, {27, "C2"}},
         "  " + std::string("         (CareGoal2) : C2") + CRLF},
        {"goal 5's date only", {{37, "2024-01-01"}}, "         (목표일자5) : 2024-01-01" + CRLF + CRLF},
        {"none", {}, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        reports::FieldValues values = numbered(22, "v");
        for (const auto &[field, value] : c.goals)
            values.set("S_STRING" + std::to_string(field), value);
        const std::string text = reports::AdmissionNoteText(values);
        const std::string from = "■치료목표】" + CRLF, to = "■Discharge Plan】";
        const auto start = text.find(from);
        ASSERT_NE(start, std::string::npos);
        const auto end = text.find(to, start);
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(text.substr(start + from.size(), end - start - from.size()), c.expected);
    }
}

TEST(NoteText, TheAdmissionNoteAroundItsGoals)
{
    const std::string text = reports::AdmissionNoteText(numbered(43, "v"));
    const std::string blanks(20, ' ');
    EXPECT_EQ(text.substr(0, text.find("■C.C】")), CRLF + "입원일시:v8" + blanks + "작성일시:v9" + CRLF + CRLF);
    EXPECT_NE(text.find("■Impression】" + CRLF + CRLF + "v17" + CRLF + CRLF + "■Care Plan】" + CRLF +
                        "   【1. 진단 및 병리 검사 계획】" + CRLF + "v18" + CRLF + CRLF + "   【2. 영상 검사 계획】" +
                        CRLF + CRLF + "v19" + CRLF + CRLF),
              std::string::npos);
    EXPECT_NE(text.find("   【5. 상처 치료 계획】" + CRLF + CRLF + "v22" + CRLF + CRLF + "■치료목표】" + CRLF),
              std::string::npos);
    const std::string tail = "■Discharge Plan】" + CRLF + "   【1. 퇴원 예정일】" + CRLF + CRLF + "v38" + CRLF + CRLF +
                             "   【2. 퇴원 계획】" + CRLF + CRLF + "         (퇴원후 가는곳) : v39" + CRLF +
                             "         (퇴원 조건) : v40" + CRLF + "         (유지 및 치료계획) : v41" + CRLF +
                             "         (FollowUp 계획) : v42" + CRLF + CRLF + "■작성의사】" + CRLF + CRLF + "v43" +
                             CRLF + CRLF;
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(NoteText, EmptyFieldsLeaveTheirHeadings)
{
    const std::string text = reports::EmergencyNoteText(numbered(0, ""));
    EXPECT_NE(text.find("■C.C】" + CRLF + CRLF + CRLF + CRLF + "■P.Ix】"), std::string::npos);
}

} // namespace

namespace {

// The header's birth date label of a note filled from these values.
std::string birthDateShown(const char *kind, reports::FieldValues values)
{
    const reports::RecordKind &k = *reports::FindRecordKind(kind);
    auto report = reports::MakeReport(std::string(k.unit), k.forms.front());
    reports::ApplyBindings(*report, k.bindings().front().fill, values);
    return report->label("qrlb_birtdate").caption;
}

TEST(NoteHeader, OnlyTheReEvaluationNoteFormatsTheBirthDate)
{
    reports::FieldValues values = numbered(60, "v");
    values.set("S_STRING4", "1976-03-05");
    values.set(reports::value::kPanelName, "김민준");
    values.set(reports::value::kPanelBirthDate, "19760305");
    // The emergency and admission notes print the service's text as delivered.
    EXPECT_EQ(birthDateShown("MDEMNOTT", values), "1976-03-05");
    EXPECT_EQ(birthDateShown("MDADMNOT", values), "1976-03-05");
    values.set("S_STRING4", "19760305");
    EXPECT_EQ(birthDateShown("MDEMNOTT", values), "19760305");
    // The re-evaluation note formats the screen's panel.
    EXPECT_EQ(birthDateShown("MDREADMT", values), "1976-03-05");
}

} // namespace
