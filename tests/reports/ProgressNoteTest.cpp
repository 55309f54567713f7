// The progress note printed for real from the demo data on medrec-server: the days, the lines
// of each note, the night notes in bold, the PDF read back and the history row.
#include "RecordKindFixture.h"

#include "FieldValues.h"
#include "MDP270U1_P01/MDP270U1_P01.h"
#include "PrintHistory.h"

#include "report_engine/Layout.h"

#include <gtest/gtest.h>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

class ProgressNote : public mt::RecordKindTest
{
protected:
    static void SetUpTestSuite() { StartServer(demoData()); }
    static void TearDownTestSuite() { StopServer(); }
};

// The texts of one component on the laid-out pages, in print order.
std::vector<std::string> textsOf(const engine::Document &doc, const std::string &component)
{
    std::vector<std::string> texts;
    for (const auto &page : doc.pages)
        for (const auto &element : page.elements)
            if (element.kind == engine::ElementKind::Text && element.component == component && !element.text.empty())
                texts.push_back(element.text);
    return texts;
}

TEST_F(ProgressNote, PrintsEveryDayAndNoteOverTwoPagesAndWritesItsHistoryRow)
{
    auto context = contextFor("MDPGNOTT", "00001234", "20180514");
    const mt::KindPrint result = print("MDPGNOTT", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_TRUE(result.document->warnings.empty());

    const auto pages = pdfPages(result.pdf);
    ASSERT_EQ(pages.size(), 2u);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string &page = pages[i];
        EXPECT_NE(page.find("-" + std::to_string(i + 1) + "-"), std::string::npos);
        for (const char *text : {"※ 전자인증된 서식입니다.", "경  과  기  록", "SEON MEDICAL CENTER", "등록번호", "이    름",
                                 "주민번호", "SEX/AGE", "진 료 과", "주 치 의", "병동/병실", "년월일", "시간", "의사서명",
                                 "00001234", "김민준", "790312-1******", "M/39Y 2M", "외과", "이정훈", "71/7103", "세온병원",
                                 "KRV 82-MR-3-32"}) {
            SCOPED_TRACE(text);
            EXPECT_NE(page.find(withoutBlanks(text)), std::string::npos);
        }
    }
    const std::string all = pages[0] + pages[1];
    for (const char *text : {"2018-05-14", "09:40", "담낭벽 비후 확인됨", "22:30", "박전공", "2018-05-19", "08:50",
                             "외과 외래에서 조직검사 결과 확인 예정", "배액관 제거함."}) {
        SCOPED_TRACE(text);
        EXPECT_NE(all.find(withoutBlanks(text)), std::string::npos);
    }

    // The dates of the first lines: one per note, in service order; 05-16 comes back after 05-17.
    const auto dates = textsOf(*result.document, "qrlb_Data1");
    EXPECT_EQ(dates, (std::vector<std::string>{"2018-05-14", "2018-05-14", "2018-05-14", "2018-05-15", "2018-05-15",
                                               "2018-05-15", "2018-05-15", "2018-05-16", "2018-05-16", "2018-05-17",
                                               "2018-05-16", "2018-05-18", "2018-05-19"}));
    // One grey bar per day group: 14, 15, 16, 17, 16 again, 18, 19.
    int bars = 0;
    for (const auto &page : result.document->pages)
        for (const auto &element : page.elements)
            if (element.kind == engine::ElementKind::Shape && element.band == "band_Detail" &&
                element.component.empty() && element.fill == engine::Color::silver())
                ++bars;
    EXPECT_EQ(bars, 7);

    EXPECT_EQ(result.summary.patno, "00001234");
    EXPECT_EQ(result.summary.meddate, "20180514");
    EXPECT_EQ(result.summary.dschdate, "20180519");
    EXPECT_EQ(result.summary.patgubun, "I");
    EXPECT_EQ(result.summary.meddept, "외과");
    EXPECT_EQ(result.summary.chadr, "이정훈");

    ASSERT_TRUE(result.history);
    ASSERT_EQ(reports::SavePrintHistory(*result.history, "MDPGNOTT"), 1);
    const auto lines = historyLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.front().find("00001234\t20180514\tempty\tempty\tempty\tMDPGNOTT"), std::string::npos)
        << lines.front();
}

TEST_F(ProgressNote, AnEmptyNotePrintsOneLineWithDateTimeSignatureAndRule)
{
    auto context = contextFor("MDPGNOTT", "00056789", "20220702");
    const mt::KindPrint result = print("MDPGNOTT", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    ASSERT_EQ(result.document->pages.size(), 1u);
    EXPECT_EQ(textsOf(*result.document, "qrlb_Data1"),
              (std::vector<std::string>{"2022-07-02", "2022-07-03", "2022-07-03", "2022-07-06"}));
    EXPECT_EQ(textsOf(*result.document, "qrlb_Data2"), (std::vector<std::string>{"23:40", "09:00", "15:30", "10:00"}));
    EXPECT_EQ(textsOf(*result.document, "qrlb_Data3"),
              (std::vector<std::string>{"박상철", "박상철", "박상철", "박상철"}));
}

TEST(ProgressNoteRows, ADateRowBeforeEachDayAsTheServiceOrdersThem)
{
    std::vector<reports::FieldValues> notes;
    for (const auto &[date, time, text] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {"20261201", "08:00", " 첫 기록 "}, {"20261201", "12:00", "둘"}, {"20261202", "09:00", "셋"},
             {"20261201", "10:00", "넷"}}) {
        reports::FieldValues v;
        for (int i = 1; i <= 60; ++i)
            v.set("S_STRING" + std::to_string(i), "");
        v.set("S_STRING7", date);
        v.set("S_STRING9", time);
        v.set("S_STRING10", text);
        v.set("S_STRING11", " 의사 ");
        notes.push_back(v);
    }
    common::GridData table{60, 2, 1};
    reports::StageProgressNotes(notes, table);
    std::vector<std::string> shape;
    for (int row = 1; row < table.rowCount(); ++row)
        shape.push_back(table.cell(11, row) == "DATE" ? "DATE " + table.cell(1, row)
                                                      : table.cell(0, row) + "|" + table.cell(1, row) + "|" +
                                                            table.cell(2, row) + "|" + table.cell(8, row));
    EXPECT_EQ(shape, (std::vector<std::string>{"DATE 2026-12-01", "12-01 08:00|첫 기록|의사|20261201",
                                               "12-01 12:00|둘|의사|20261201", "DATE 2026-12-02",
                                               "12-02 09:00|셋|의사|20261202", "DATE 2026-12-01",
                                               "12-01 10:00|넷|의사|20261201"}));
}

} // namespace
