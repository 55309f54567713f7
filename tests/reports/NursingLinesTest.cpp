// The print lines of the nursing records: day headers, trimmed and escaped notes, the
// hospital day and the night weight.
#include "MDN420U1_P01/NursingLines.h"

#include "DatedJournal.h"

#include "GridData.h"

#include <gtest/gtest.h>

using namespace medrec;
using namespace std::chrono;
using reports::NoteEntry;
using reports::NursingKind;
namespace col = reports::journal_col;

namespace {

// A staged line as "DATE:<text>" or "<date> <time> <text> /<nurse>/<mark>".
std::vector<std::string> staged(const common::GridData &table)
{
    std::vector<std::string> lines;
    for (int row = table.fixedRows(); row < table.rowCount(); ++row) {
        if (table.cell(col::kMark, row) == reports::kDayMark)
            lines.push_back("DATE:" + table.cell(col::kText, row));
        else
            lines.push_back(table.cell(col::kDate, row) + " " + table.cell(col::kTime, row) + " " +
                            table.cell(col::kText, row) + " /" + table.cell(col::kSigner, row) + "/" +
                            table.cell(col::kMark, row));
    }
    return lines;
}

common::GridData stage(NursingKind kind, const std::vector<NoteEntry> &notes,
                       std::optional<common::Date> admission)
{
    common::GridData table{60, 2, 1};
    reports::StagePrintLines(table, kind, notes, admission);
    return table;
}

TEST(NursingLines, ADayHeaderBeforeEachChangeOfDate)
{
    const auto admitted = reports::VisitAdmission("2019-03-04 09:30");
    ASSERT_TRUE(admitted.has_value());
    struct Case
    {
        const char *what;
        std::vector<NoteEntry> notes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"three on one date, one on the next",
         {{"20190304", "09:40", "입원함.", "이간호", "01"},
          {"20190304", "13:00", "통증 호소함.", "이간호", "02"},
          {"20190304", "23:10", "수면 중임.", "박간호", "03"},
          {"20190305", "07:30", "활력징후 측정함.", "최간호", "04"}},
         {"DATE:2019-03-04(월요일)   HD : 1일", "20190304 09:40 입원함. /이간호/01",
          "20190304 13:00 통증 호소함. /이간호/02", "20190304 23:10 수면 중임. /박간호/03",
          "DATE:2019-03-05(화요일)   HD : 2일", "20190305 07:30 활력징후 측정함. /최간호/04"}},
        {"a date that comes back gets its header again",
         {{"20190304", "09:40", "a", "n", ""},
          {"20190306", "10:00", "b", "n", ""},
          {"20190304", "23:50", "c", "n", ""}},
         {"DATE:2019-03-04(월요일)   HD : 1일", "20190304 09:40 a /n/", "DATE:2019-03-06(수요일)   HD : 3일",
          "20190306 10:00 b /n/", "DATE:2019-03-04(월요일)   HD : 1일", "20190304 23:50 c /n/"}},
        {"texts, nurses and marks trimmed; date and time as delivered",
         {{"20190304", " 9:05", "  손 씻기 교육 & 시행함.  ", " 이간호 ", " X "}},
         {"DATE:2019-03-04(월요일)   HD : 1일", "20190304  9:05 손 씻기 교육 & 시행함. /이간호/X"}},
        {"an empty note stays a note",
         {{"20190304", "03:00", "   ", "박간호", ""}},
         {"DATE:2019-03-04(월요일)   HD : 1일", "20190304 03:00  /박간호/"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(staged(stage(NursingKind::Ward, c.notes, admitted)), c.lines);
    }
}

TEST(NursingLines, OnlyTheEmergencyRecordPrintsTheFullWidthAmpersand)
{
    const std::vector<NoteEntry> notes{{"20190304", "10:00", "A&B && C", "n", ""}};
    EXPECT_EQ(stage(NursingKind::Emergency, notes, std::nullopt).cell(col::kText, 2), "A＆B ＆＆ C");
    EXPECT_EQ(stage(NursingKind::Ward, notes, std::nullopt).cell(col::kText, 2), "A&B && C");
}

TEST(NursingLines, DayHeaderTexts)
{
    struct Case
    {
        const char *entry;
        std::optional<common::Date> admission;
        const char *text;
    };
    const std::vector<Case> cases = {
        {"20190304", 2019y / March / 4, "2019-03-04(월요일)   HD : 1일"},
        {"20190301", 2019y / February / 27, "2019-03-01(금요일)   HD : 3일"},
        {"20200301", 2020y / February / 28, "2020-03-01(일요일)   HD : 3일"}, // leap year
        {"20190304", std::nullopt, "2019-03-04(월요일)"},                     // blank "S_CODE3"
        {"20190304", 2019y / March / 5, "2019-03-04(월요일)   HD : 0일"}, // before the admission: as counted
        {"2019030", 2019y / March / 4, "2019-03-0"},                      // not a date: the date alone
        {"", 2019y / March / 4, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(reports::DayHeaderText(c.entry, c.admission), c.text);
    }
}

TEST(NursingLines, AdmissionDates)
{
    EXPECT_EQ(reports::VisitAdmission("2018-05-14 09:30"), std::optional<common::Date>(2018y / May / 14));
    EXPECT_EQ(reports::VisitAdmission(""), std::nullopt);
    EXPECT_EQ(reports::InpatientAdmission("20220702"), std::optional<common::Date>(2022y / July / 2));
    EXPECT_EQ(reports::InpatientAdmission(" 20220702 "), std::optional<common::Date>(2022y / July / 2));
    EXPECT_EQ(reports::InpatientAdmission("   "), std::nullopt);
    EXPECT_EQ(reports::InpatientAdmission("20221340"), std::nullopt);
}

TEST(DatedJournal, NightEntriesPrintBold)
{
    const std::vector<std::pair<std::string, bool>> cases = {
        {"07:00", true}, {"07:01", false}, {"12:30", false}, {"21:59", false},   {"22:00", true},
        {"23:59", true}, {"00:00", true},  {"", true},       {" 08:15 ", false}, {"7:30", true},
        {"ab:cd", true}, {"00:30", true},  {"-7:30", true},
    };
    for (const auto &[time, bold] : cases) {
        SCOPED_TRACE(time);
        EXPECT_EQ(reports::PrintsBold(time), bold);
    }
}

} // namespace
