// The intake and output record: day blocks, totals as exact decimals and zero tidying staged
// from service rows, and the record printed from the demo data on a real medrec-server.
#include "FlowsheetTestSupport.h"

#include "MDF130U1_P01/MDF130U1_P01.h"

#include "FieldResults.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

// The fields of one entry, in the order the cases below give them.
const char *const kEntryFields[] = {"S_STRING1", "S_NUMVAL13", "S_NUMVAL1", "S_STRING3",  "S_NUMVAL2",
                                    "S_NUMVAL9", "S_NUMVAL10", "S_NUMVAL6", "S_NUMVAL11", "S_NUMVAL12",
                                    "S_NUMVAL3", "S_NUMVAL8",  "S_NUMVAL7"};

// Entries as "day shift oral oral2 parenteral blood urine urine2 drainage vomitus vomitus2
// stool stool2", "-" for an empty cell.
struct Staged
{
    std::optional<std::string> problem;
    std::vector<std::string> lines; // columns 0 .. 10 of each body row, joined by "|"
};

Staged stage(const std::vector<std::string> &entries)
{
    std::vector<std::string> names(std::begin(kEntryFields), std::end(kEntryFields));
    services::FieldResults results(names);
    auto targets = results.outputs();
    for (auto &target : targets)
        target.target->clear();
    for (const std::string &entry : entries) {
        std::istringstream in(entry);
        for (auto &target : targets) {
            std::string cell;
            in >> cell;
            target.target->push_back(cell == "-" ? "" : cell);
        }
    }
    common::GridData list(60, 2, 1);
    Staged staged;
    staged.problem = reports::StageIntakeOutput(results, static_cast<int>(entries.size()), list);
    for (int row = 1; row < list.rowCount(); ++row) {
        std::string line;
        for (int col = 0; col <= 10; ++col)
            line += (col ? "|" : "") + list.cell(col, row);
        staged.lines.push_back(line);
    }
    return staged;
}

TEST(IntakeOutputZeros, ZerosAreTidiedAway)
{
    const std::pair<const char *, const char *> cases[] = {
        {"0", ""},      {"0(0)", ""},         {"0(3)", "(3)"},    {" 0(3)", "(3)"},
        {"200", "200"}, {"200(0)", "200(0)"}, {"10(1)", "10(1)"}, {"", ""},
        {"0.0", "0.0"}, {"Total", "Total"},
    };
    for (const auto &[cell, tidied] : cases) {
        SCOPED_TRACE(cell);
        EXPECT_EQ(reports::TidyZero(cell), tidied);
    }
}

TEST(IntakeOutputBlocks, ShiftsAndTotalsOfADay)
{
    const struct
    {
        const char *what;
        std::vector<std::string> entries;
        std::vector<std::string> lines;
    } cases[] = {
        {"shifts 1 and 3 only: shift 2 blank, the total sums 1 and 3; oral 0 with 3 prints (3)",
         {"20211011 1 200 50 500 0 300 2 0 0 0 0 0", "20211011 3 0 3 250 0 250 1 0 0 0 200 1"},
         {"2021-10-11|1|200(50)|500||700|300|300(2)|0||", "|2|||||||||",
          "|3|(3)|250||250|450|250(1)|0||200(1)", "|Total|200(53)|750||950|750|550(3)|0||200(1)"}},
        {"oral 200 with \"0\" prints 200; drainage 0 stays, parenteral 0 goes",
         {"20211012 1 200 0 0 0 0 0 0 0 0 0 0"},
         {"2021-10-12|1|200|||200|||0||", "|2|||||||||", "|3|||||||||", "|Total|200|||200|||0||"}},
        {"a total that is not whole prints as its sum: 1200 + 110.4",
         {"20211012 1 1200 0 - - 400 1 45 0 0 0 0", "20211012 2 110.4 0 0 320 350 2 0 100 1 0 0"},
         {"2021-10-12|1|1200|||1200|445|400(1)|45||", "|2|110.4||320|430.4|450|350(2)|0|100(1)|",
          "|3|||||||||", "|Total|1310.4||320|1630.4|895|750(3)|45|100(1)|"}},
        {"fractions add exactly: 0.1 + 0.2",
         {"20211014 1 0.1 0 0 0 0 0 0 0 0 0 0", "20211014 2 0.2 0 0 0 0 0 0 0 0 0 0"},
         {"2021-10-14|1|0.1|||0.1|||0||", "|2|0.2|||0.2|||0||", "|3|||||||||", "|Total|0.3|||0.3|||0||"}},
        {"a second entry of a shift replaces the first",
         {"20211013 2 240 0 1000 0 600 3 30 0 0 150 1", "20211013 2 260 0 1000 0 650 3 30 0 0 150 1"},
         {"2021-10-13|1|||||||||", "|2|260|1000||1260|830|650(3)|30||150(1)", "|3|||||||||",
          "|Total|260|1000||1260|830|650(3)|30||150(1)"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const Staged staged = stage(c.entries);
        ASSERT_FALSE(staged.problem.has_value()) << *staged.problem;
        EXPECT_EQ(staged.lines, c.lines);
    }
}

TEST(IntakeOutputBlocks, ADayThatComesBackGetsABlockOfItsOwn)
{
    const Staged staged = stage({"20211011 1 100 0 0 0 0 0 0 0 0 0 0", "20211012 1 200 0 0 0 0 0 0 0 0 0 0",
                                 "20211011 2 300 0 0 0 0 0 0 0 0 0 0"});
    ASSERT_FALSE(staged.problem.has_value());
    ASSERT_EQ(staged.lines.size(), 12u);
    EXPECT_EQ(staged.lines[0].substr(0, 11), "2021-10-11|");
    EXPECT_EQ(staged.lines[4].substr(0, 11), "2021-10-12|");
    EXPECT_EQ(staged.lines[8].substr(0, 11), "2021-10-11|");
    EXPECT_EQ(staged.lines[3], "|Total|100|||100|||0||");
    EXPECT_EQ(staged.lines[9], "|2|300|||300|||0||");
    EXPECT_EQ(staged.lines[11], "|Total|300|||300|||0||");
}

TEST(IntakeOutputBlocks, AShiftOutsideOneToThreeStopsThePrint)
{
    for (const char *shift : {"0", "4", "-1", "-", "x", "12"}) {
        SCOPED_TRACE(shift);
        const Staged staged = stage({"20211011 1 100 0 0 0 0 0 0 0 0 0 0",
                                     std::string("20211012 ") + shift + " 200 0 0 0 0 0 0 0 0 0 0"});
        ASSERT_TRUE(staged.problem.has_value());
        const std::string shown = std::string(shift) == "-" ? "" : shift;
        EXPECT_EQ(*staged.problem,
                  "2021-10-12 자료의 근무조 \"" + shown +
                      "\"이(가) 1, 2, 3 중 하나가 아니어서 섭취 및 배설량기록을 출력하지 않았습니다.");
    }
}

TEST(IntakeOutputBlocks, ACellThatIsNotANumberIsNamedByDayAndColumn)
{
    const struct
    {
        const char *entry;
        const char *message;
    } cases[] = {
        {"20211012 2 200 0 abc 0 0 0 0 0 0 0 0",
         "2021-10-12 근무조 2의 비경구 값 \"abc\"은(는) 숫자가 아니어서"},
        {"20211012 1 200 0 0 0 3OO 0 0 0 0 0 0",
         "2021-10-12 근무조 1의 배뇨 값 \"3OO\"은(는) 숫자가 아니어서"},
        {"20211012 3 1,200 0 0 0 0 0 0 0 0 0 0",
         "2021-10-12 근무조 3의 경구 값 \"1,200\"은(는) 숫자가 아니어서"},
        {"20211012 3 0 0 0 0 0 0 0 0 0 0 ?",
         "2021-10-12 근무조 3의 배변 괄호 안 값 \"?\"은(는) 숫자가 아니어서"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.entry);
        const Staged staged = stage({c.entry});
        ASSERT_TRUE(staged.problem.has_value());
        EXPECT_EQ(*staged.problem, std::string(c.message) + " 섭취 및 배설량기록을 출력하지 않았습니다.");
    }
}

class IntakeOutput : public mt::FlowsheetTest
{
};

TEST_F(IntakeOutput, PrintsEveryDayWithItsTotals)
{
    auto context = flowsheet("MDIOCHKT_IO", "00004001", "20211011");
    const mt::KindPrint result = printAndRecord("MDIOCHKT_IO", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_TRUE(result.document->warnings.empty());
    const auto pages = pdfPages(result.pdf);
    ASSERT_EQ(pages.size(), 1u);
    const std::string &page = pages[0];
    for (const char *caption : {"섭취 및 배설량기록",
                                "SEON MEDICAL CENTER",
                                "환자번호",
                                "주민번호",
                                "SEX/AGE",
                                "진 료 과",
                                "주 치 의",
                                "병동/병실",
                                "일 자",
                                "시 간",
                                "[Date]",
                                "경 구",
                                "비경구",
                                "혈 액",
                                "배 뇨",
                                "배농및흡인",
                                "구 토",
                                "배 변",
                                "AM6시 ~",
                                "PM2시 ~",
                                "PM10시~",
                                "PM10시"}) {
        SCOPED_TRACE(caption);
        EXPECT_TRUE(mt::Shows(page, caption));
    }
    for (const char *caption : {"이    름", "I  N  T  A  K  E", "O  U  T  P  U  T"}) {
        SCOPED_TRACE(caption);
        EXPECT_TRUE(mt::PrintsText(*result.document, 1, caption));
    }
    for (const char *value : {"00004001", "정예준", "480130-1******", "내과", "최영민", "61/6105", "1310.4",
                              "1630.4", "200(53)", "550(3)"}) {
        SCOPED_TRACE(value);
        EXPECT_TRUE(mt::Shows(page, value));
    }
    using Texts = std::vector<std::string>;
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrlb_Data1"),
              (Texts{"2021-10-11", "2021-10-12", "2021-10-13"}));
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrlb_Data52"), (Texts{"Total", "Total", "Total"}));
    // The day totals: oral, intake and output, urine.
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrlb_Data53"), (Texts{"200(53)", "1310.4", "260"}));
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrlb_Data56"), (Texts{"950", "1630.4", "1260"}));
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrlb_Data57"), (Texts{"750", "895", "830"}));
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrlb_Data58"), (Texts{"550(3)", "750(3)", "650(3)"}));
    // Drainage keeps its zeros: every shift line of every day prints one, totals too.
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrlb_Data19"), (Texts{"0", "45", "0"}));
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrlb_Data29"), (Texts{"0", "30"}));
    // Shift 2 of the 11th has no entry: no label of its line prints.
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrlb_Data23"), (Texts{"110.4", "260"}));

    EXPECT_EQ(result.summary.patgubun, "I");
    EXPECT_EQ(result.summary.chadr, "최영민");
    EXPECT_EQ(result.summary.meddept, "내과");
}

TEST_F(IntakeOutput, DaysRunOntoASecondPageUnderTheRepeatedHeaders)
{
    auto context = flowsheet("MDIOCHKT_IO", "00001234", "20180514");
    const mt::KindPrint result = printAndRecord("MDIOCHKT_IO", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    const auto pages = pdfPages(result.pdf);
    ASSERT_EQ(pages.size(), 2u);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_TRUE(mt::Shows(pages[i], "섭취 및 배설량기록"));
        EXPECT_TRUE(mt::Shows(pages[i], "00001234"));
        EXPECT_TRUE(mt::Shows(pages[i], "배농및흡인"));
        EXPECT_TRUE(mt::PrintsText(*result.document, static_cast<int>(i + 1), "I  N  T  A  K  E"));
    }
    // Six days and the 16th once more, for the entry charted late.
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrlb_Data1"),
              (std::vector<std::string>{"2018-05-14", "2018-05-15", "2018-05-16", "2018-05-17", "2018-05-18",
                                        "2018-05-19", "2018-05-16"}));
    EXPECT_TRUE(mt::Shows(pages[0], "275.5"));
}

TEST_F(IntakeOutput, StaleLinesOfAnEarlierPrintNeverShow)
{
    auto context = flowsheet("MDIOCHKT_IO", "00004001", "20211011");
    mt::FillWithStale(context.scratch.allList, 60, 20);
    const mt::KindPrint result = print("MDIOCHKT_IO", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_FALSE(mt::Shows(pdfPages(result.pdf).at(0), "STALE"));
    EXPECT_EQ(context.scratch.allList.rowCount(), 13);
}

TEST_F(IntakeOutput, NoEntriesEmptyTheStatusLine)
{
    reports::PrintContext context;
    context.record =
        reports::RowCells({"00004001", "20200101", "20200102", "내과", "최영민", "61/6105", "I", "최영민"});
    mt::ExpectNothingFound(print("MDIOCHKT_IO", context), "");
}

} // namespace
