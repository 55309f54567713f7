// The nursing record and the emergency nursing record: the need-data stepping band by band,
// the demo records printed from the real medrec-server (PDF text, page dumps), the ways a
// print stops, and the history rows a real print run leaves.
#include "MDN420U1_P01/MDN420U1_P01.h"
#include "MDN420U1_P01/NursingLines.h"
#include "RecordKindFixture.h"
#include "DatedJournal.h"
#include "RecordKinds.h"
#include "RecordPrint.h"
#include "ReportForms.h"

#include "Clock.h"
#include "GridData.h"
#include "HmdPatInf.h"
#include "TextHelpers.h"
#include "TuxCom.h"

#include "report_engine/LayoutDump.h"
#include "report_engine/QtTextMeasurer.h"
#include "report_engine/Report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

using namespace medrec;
using namespace std::chrono;
using reports::NoteEntry;
using reports::NursingKind;

namespace {

constexpr const char *kUnit = "MDN420U1_P01";
constexpr const char *kForm = "TMDN420F1_P01";

// What one detail band shows: "DAY <header>" or "<date>|<time>|<line>|<signature>", then
// " bold" when the line prints bold and " rule" when the closing rule is in the band.
std::string bandLine(engine::Report &r)
{
    const bool day = r.label("qrlb_date").enabled;
    const bool silver = r.detail().color == engine::Color::silver();
    EXPECT_EQ(day, silver) << "a day header prints on silver, a note on white";
    std::string line = day ? "DAY " + r.label("qrlb_date").caption
                           : r.label("qrlb_Data1").caption + "|" + r.label("qrlb_Data2").caption + "|" +
                                 r.label("qrlb_Data4").caption + "|" + r.label("qrlb_Data3").caption;
    if (!day && r.label("qrlb_Data4").font.bold)
        line += " bold";
    if (r.line("LineBottom").enabled)
        line += " rule";
    return line;
}

// Runs the report, noting each detail band as bandLine gives it.
std::vector<std::string> runBands(engine::Report &report, engine::Document *document = nullptr)
{
    auto lines = std::make_shared<std::vector<std::string>>();
    report.setNeedData([lines, feed = report.needData()](engine::Report &r) {
        const bool more = feed(r);
        if (more)
            lines->push_back(bandLine(r));
        return more;
    });
    engine::QtTextMeasurer measurer;
    engine::Document laidOut = report.run(measurer);
    if (document)
        *document = std::move(laidOut);
    return *lines;
}

// The form fed with the print lines of these notes, as the block feeds it.
std::unique_ptr<engine::Report> fedForm(NursingKind kind, const std::vector<NoteEntry> &notes,
                                        std::optional<common::Date> admission)
{
    common::GridData table{60, 2, 1};
    reports::StagePrintLines(table, kind, notes, admission);
    const reports::RecordKind &nursing = *reports::FindRecordKind("MDNRRECT");
    auto report = reports::MakeReport(kUnit, kForm);
    reports::FeedJournal(*report, table, nursing.bindings().front().detail, "qrlb_Data4");
    return report;
}

const auto kMarch4 = common::Date{2019y / March / 4};

TEST(NursingLinePaging, ThreeEntriesOnADateThenOneOnTheNext)
{
    auto report = fedForm(NursingKind::Ward,
                          {{"20190304", "09:40", "입원함.", "이간호", "01"},
                           {"20190304", "13:00", "통증 호소함.", "이간호", "02"},
                           {"20190304", "23:10", "수면 중임.", "박간호", "03"},
                           {"20190305", "07:30", "활력징후 측정함.", "최간호", "04"}},
                          kMarch4);
    EXPECT_EQ(runBands(*report), (std::vector<std::string>{
                                     "DAY 2019-03-04(월요일)   HD : 1일 rule",
                                     "2019-03-04|09:40|입원함.|이간호 rule",
                                     "2019-03-04|13:00|통증 호소함.|이간호 rule",
                                     "2019-03-04|23:10|수면 중임.|박간호 bold rule",
                                     "DAY 2019-03-05(화요일)   HD : 2일 rule",
                                     "2019-03-05|07:30|활력징후 측정함.|최간호 rule",
                                 }));
}

TEST(NursingLinePaging, ANoteOfThreeLinesHasItsDateFirstAndItsSignatureLast)
{
    std::string note;
    for (int i = 0; i < 20; ++i)
        note += "가나다라마 ";
    auto report = fedForm(NursingKind::Ward, {{"20190304", "10:00", note, "이간호", ""}}, kMarch4);
    engine::QtTextMeasurer measurer;
    const auto wrapped = report->wrapLines("qrlb_Data4", common::TrimBlanks(note), measurer);
    ASSERT_EQ(wrapped.size(), 3u) << "the note should wrap to three lines";

    const auto bands = runBands(*report);
    ASSERT_EQ(bands.size(), 4u);
    EXPECT_EQ(bands[1], "2019-03-04|10:00|" + wrapped[0] + "|");
    EXPECT_EQ(bands[2], "||" + wrapped[1] + "|");
    EXPECT_EQ(bands[3], "||" + wrapped[2] + "|이간호 rule");
}

TEST(NursingLinePaging, NightEntriesPrintBoldOnEveryLine)
{
    const std::vector<std::pair<std::string, bool>> cases = {
        {"07:00", true}, {"07:01", false}, {"21:59", false}, {"22:00", true}, {"", true},
    };
    for (const auto &[time, bold] : cases) {
        SCOPED_TRACE("time '" + time + "'");
        std::string note;
        for (int i = 0; i < 12; ++i)
            note += "야간 관찰 기록 ";
        auto report = fedForm(NursingKind::Ward, {{"20190304", time, note, "박간호", ""}}, kMarch4);
        const auto bands = runBands(*report);
        ASSERT_GE(bands.size(), 3u) << "the note should take two lines";
        for (std::size_t i = 1; i < bands.size(); ++i)
            EXPECT_EQ(bands[i].find(" bold") != std::string::npos, bold) << bands[i];
    }
}

TEST(NursingLinePaging, KindRulesOnTheBands)
{
    struct Case
    {
        const char *what;
        NursingKind kind;
        std::vector<NoteEntry> notes;
        std::optional<common::Date> admission;
        std::vector<std::string> bands;
    };
    const std::vector<Case> cases = {
        {"the emergency record prints a full-width ampersand",
         NursingKind::Emergency,
         {{"20190304", "10:00", "A&B", "이간호", ""}},
         kMarch4,
         {"DAY 2019-03-04(월요일)   HD : 1일 rule", "2019-03-04|10:00|A＆B|이간호 rule"}},
        {"the ward record keeps its ampersand",
         NursingKind::Ward,
         {{"20190304", "10:00", "A&B", "이간호", ""}},
         kMarch4,
         {"DAY 2019-03-04(월요일)   HD : 1일 rule", "2019-03-04|10:00|A&B|이간호 rule"}},
        {"a blank admission date leaves the hospital day out",
         NursingKind::Emergency,
         {{"20190304", "10:00", "내원함.", "이간호", ""}},
         reports::InpatientAdmission("  "),
         {"DAY 2019-03-04(월요일) rule", "2019-03-04|10:00|내원함.|이간호 rule"}},
        {"an empty note prints one line with its date, time and signature",
         NursingKind::Ward,
         {{"20190304", "03:00", "  ", "박간호", ""}, {"20190304", "04:00", "수면 중임.", "박간호", ""}},
         kMarch4,
         {"DAY 2019-03-04(월요일)   HD : 1일 rule", "2019-03-04|03:00||박간호 bold rule",
          "2019-03-04|04:00|수면 중임.|박간호 bold rule"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto report = fedForm(c.kind, c.notes, c.admission);
        EXPECT_EQ(runBands(*report), c.bands);
    }
}

TEST(NursingLinePaging, ASecondRunStartsAgainAtTheFirstLine)
{
    auto report = fedForm(
        NursingKind::Ward,
        {{"20190304", "09:40", "입원함.", "이간호", ""}, {"20190305", "09:40", "퇴원함.", "이간호", ""}},
        kMarch4);
    const auto first = runBands(*report);
    EXPECT_EQ(first.size(), 4u);
    EXPECT_EQ(runBands(*report), first);
}

// The demo records, printed as the print run prints them.
class NursingRecord : public medrec::testing::RecordKindTest
{
protected:
    static void SetUpTestSuite() { StartServer(demoData()); }
    static void TearDownTestSuite() { StopServer(); }

    // Ages on the forms count to the fixed print day.
    common::FixedToday m_today{2026y / December / 9};

    // Each text, blanks removed, is somewhere in the page text.
    static void expectTexts(const std::string &in, std::initializer_list<const char *> texts)
    {
        for (const char *text : texts) {
            SCOPED_TRACE(text);
            EXPECT_NE(in.find(withoutBlanks(text)), std::string::npos);
        }
    }

    static std::string joined(const std::vector<std::string> &pages)
    {
        std::string all;
        for (const auto &page : pages)
            all += page;
        return all;
    }
    static std::size_t count(const std::string &text, const std::string &part)
    {
        std::size_t n = 0;
        for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
            ++n;
        return n;
    }
};

TEST_F(NursingRecord, TheWardRecordRunsOntoTwoPagesWithItsFrameOnEach)
{
    auto context = contextFor("MDNRRECT", "00001234", "201805140930");
    const auto printed = print("MDNRRECT", context);
    ASSERT_TRUE(printed.printed()) << printed.failure;
    EXPECT_TRUE(printed.document->warnings.empty()) << engine::dumpDocument(*printed.document);
    const auto pages = pdfPages(printed.pdf, PdfText::LaidOut);
    ASSERT_EQ(pages.size(), 2u);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE("page " + std::to_string(p + 1));
        expectTexts(pages[p], {"※ 전자인증된 서식입니다.",
                               "간호기록지",
                               "SEON MEDICAL CENTER",
                               "등록번호",
                               "이    름",
                               "주민번호",
                               "SEX/AGE",
                               "진 료 과",
                               "주 치 의",
                               "병동/병실",
                               "00001234",
                               "김민준",
                               "790312-1******",
                               "M/39Y 2M",
                               "외과",
                               "이정훈",
                               "71/7103",
                               "년월일",
                               "시간",
                               "간    호    내    용",
                               "서명",
                               "세온병원",
                               "KRV 82-N-5-28",
                               "2026-12-09 14:30:05"});
        EXPECT_NE(pages[p].find(std::to_string(p + 1) + "/2"), std::string::npos);
    }
    const std::string all = joined(pages);
    expectTexts(all,
                {"2018-05-14(월요일) HD : 1일", "2018-05-15(화요일) HD : 2일", "2018-05-16(수요일) HD : 3일",
                 "2018-05-17(목요일) HD : 4일", "2018-05-18(금요일) HD : 5일", "2018-05-19(토요일) HD : 6일",
                 "71병동 7103호로 입원함.", "오심 & 구토 없음.", "지연 입력:", "보호자와 함께 도보로 퇴원함.",
                 "이지은", "박소영", "최유리", "김하늘", "21:59", "22:00", "07:00", "07:01", "23:50"});
    // 05-15 comes back after 05-16: its header prints twice.
    EXPECT_EQ(count(all, withoutBlanks("2018-05-15(화요일) HD : 2일")), 2u);

    EXPECT_EQ(printed.summary,
              (reports::PrintedSummary{"00001234", "20180514", "20180519", "건강보험", "외과", "7103"}));
    EXPECT_EQ(printed.history, (reports::HistoryRow{"00001234", "20180514", {"20180519", "empty", "empty"}}));
}

TEST_F(NursingRecord, TheWardRecordsEmptyNoteAndReturningDayBandByBand)
{
    auto context = contextFor("MDNRRECT", "00001234", "201805140930");
    auto block = reports::RunBlock(*reports::FindRecordKind("MDNRRECT"), context);
    auto &job = std::get<reports::PrintJob>(block);
    const auto bands = runBands(*job.reports().front());
    auto has = [&bands](const std::string &band) {
        return std::find(bands.begin(), bands.end(), band) != bands.end();
    };
    EXPECT_TRUE(has("2018-05-15|03:00||최유리 bold rule"));
    const auto night = std::find_if(bands.begin(), bands.end(), [](const std::string &band) {
        return band.starts_with("2018-05-15|02:00|통증으로");
    });
    ASSERT_NE(night, bands.end());
    EXPECT_TRUE(night->ends_with("| bold")) << *night; // first of two lines: no signature, no rule
    EXPECT_TRUE((night + 1)->starts_with("||")) << *(night + 1);
    EXPECT_TRUE((night + 1)->ends_with("|최유리 bold rule")) << *(night + 1);
    EXPECT_EQ(std::count(bands.begin(), bands.end(), "DAY 2018-05-15(화요일)   HD : 2일 rule"), 2);
    EXPECT_EQ(bands.front(), "DAY 2018-05-14(월요일)   HD : 1일 rule");
    EXPECT_EQ(bands.back(), "2018-05-19|11:00|보호자와 함께 도보로 퇴원함.|김하늘 rule");
    // The staged lines went back to the screen's print-line list.
    EXPECT_EQ(context.scratch.allList.cell(reports::journal_col::kMark, 1), reports::kDayMark);
}

TEST_F(NursingRecord, TheEmergencyRecordHasItsTitlesOnTheFirstPageToo)
{
    auto context = contextFor("MDNERECT", "00056789", "202207021940");
    const auto printed = print("MDNERECT", context);
    ASSERT_TRUE(printed.printed()) << printed.failure;
    const auto pages = pdfPages(printed.pdf, PdfText::LaidOut);
    ASSERT_EQ(pages.size(), 1u);
    const std::string &page = pages[0];
    // Title and footer title, and nothing left of the ward title.
    EXPECT_EQ(count(page, "응급간호기록지"), 2u);
    EXPECT_EQ(count(page, "간호기록지"), 2u);
    expectTexts(page, {"KRV 82-N-5-28", "00056789", "김민준", "920817-1******", "M/34", "외과", "박상철",
                       "61/6102", "2022-07-02(토요일) HD : 1일", "혈액검사 ＆ 복부 CT",
                       "61병동 6102호로 입원 위해 이송함.", "이지은", "박소영"});
    EXPECT_EQ(page.find("&"), std::string::npos);
    EXPECT_FALSE(middleware::HasRequestBuffer());
    EXPECT_EQ(printed.summary,
              (reports::PrintedSummary{"00056789", "20220702", "1940", "건강보험", "응급의학과", "김도현"}));
    EXPECT_EQ(printed.history, (reports::HistoryRow{"00056789", "20220702", {"1940", "empty", "empty"}}));
}

TEST_F(NursingRecord, AnEmergencyPatientNeverAdmittedGetsNoHospitalDay)
{
    auto context = contextFor("MDNERECT", "12345678", "201908170230");
    const auto printed = print("MDNERECT", context);
    ASSERT_TRUE(printed.printed()) << printed.failure;
    const auto pages = pdfPages(printed.pdf, PdfText::LaidOut);
    ASSERT_EQ(pages.size(), 1u);
    expectTexts(pages[0],
                {"2019-08-17(토요일)", "2019-08-18(일요일)", "응급의학과", "ER/", "측위 유지함 ＆ 침상"});
    EXPECT_EQ(pages[0].find("HD:"), std::string::npos);
}

TEST_F(NursingRecord, APrintThatStopsSaysWhyAndLeavesNoBuffer)
{
    const std::string tooLong(120, '9');
    struct Case
    {
        const char *what;
        const char *kind;
        std::vector<std::string> record;
        reports::NotPrinted::Reason reason;
        std::string box;
    };
    const std::vector<Case> cases = {
        {"no inpatient header",
         "MDNERECT",
         {"00004011", "20171224", "0300"},
         reports::NotPrinted::Reason::NothingFound,
         "조회된 자료가 없습니다!"},
        {"the inpatient header fails",
         "MDNERECT",
         {tooLong, "20171224", "0300"},
         reports::NotPrinted::Reason::ServiceFailed,
         ""},
        {"a header but no notes",
         "MDNERECT",
         {"12345678", "20190101", "0000"},
         reports::NotPrinted::Reason::NothingFound,
         "출력할  자료가 없습니다."},
        {"a header, then the notes fail",
         "MDNERECT",
         {"12345678", tooLong, "0000"},
         reports::NotPrinted::Reason::ServiceFailed,
         ""},
        {"a ward record without notes",
         "MDNRRECT",
         {"00056789", "20220702", "20220706"},
         reports::NotPrinted::Reason::NothingFound,
         "출력할  자료가 없습니다."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        reports::PrintContext context;
        context.record = reports::RowCells(c.record);
        const auto printed = print(c.kind, context);
        ASSERT_TRUE(printed.refused.has_value()) << printed.failure;
        EXPECT_EQ(printed.refused->reason, c.reason);
        EXPECT_EQ(printed.refused->notice.text, c.box);
        if (!c.box.empty()) {
            EXPECT_EQ(printed.refused->notice.channel, reports::Notice::Channel::Box);
        }
        EXPECT_FALSE(middleware::HasRequestBuffer());
    }
}

TEST_F(NursingRecord, TheHostAnswersTheInpatientHeaderByPatientNumber)
{
    struct Case
    {
        const char *patNo;
        int rows;
        std::vector<std::string> codes; // "S_CODE3", "S_CODE6", "S_CODE22", "S_CODE23"
    };
    const Case cases[] = {
        {"00056789", 1, {"20220702", "외과", "61", "6102"}},
        {"12345678", 1, {"", "응급의학과", "ER", ""}},
        {"00004011", 0, {"", "", "", ""}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.patNo);
        services::HmdPatInf inpatient;
        EXPECT_EQ(inpatient.GetIpdInf("1", c.patNo, "", "EB1", ""), c.rows);
        EXPECT_EQ((std::vector<std::string>{inpatient.code(3).front(), inpatient.code(6).front(),
                                            inpatient.code(22).front(), inpatient.code(23).front()}),
                  c.codes);
    }
    const std::string out = commandOutput("'" + medrec::testing::serverProgramPath() + "' services");
    EXPECT_NE(out.find("\nMD_IPDLS_E1\tstored replies\tS_TYPE2\n"), std::string::npos) << out;
}

// The real print run (medrec-batch, as an office clerk reprints for a court) and the history
// rows medrec-server keeps.
TEST_F(NursingRecord, APrintRunLeavesOneHistoryRowPerRecord)
{
    const std::string pdfDir = m_out.file("batch");
    auto batch = [&](const std::string &args) { return RecordKindTest::batch(args, pdfDir); };
    const auto before = historyLines().size();
    EXPECT_EQ(batch("1234 --visit 201805140930 --kind MDNRRECT"), 0);
    EXPECT_EQ(batch("56789 --visit 202207021940 --kind MDNERECT"), 0);
    EXPECT_EQ(batch("4011 --visit 201712240300 --kind MDNERECT"), 1); // no inpatient header
    const auto lines = historyLines();
    ASSERT_EQ(lines.size(), before + 2);
    EXPECT_NE(lines[0].find("\t00056789\t20220702\t1940\tempty\tempty\tMDNERECT\tCOURT\t"), std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find("\t00001234\t20180514\t20180519\tempty\tempty\tMDNRRECT\tCOURT\t"),
              std::string::npos)
        << lines[1];
    std::size_t pdfs = 0;
    for (const auto &entry : std::filesystem::directory_iterator(pdfDir))
        pdfs += entry.path().extension() == ".pdf" ? 1 : 0;
    EXPECT_EQ(pdfs, 2u);
}

} // namespace
