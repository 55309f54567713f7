// The rules of the physician order and medication record's print lines: which orders are
// kept, their headings and order texts (padded in CP949 bytes), the two lines each order
// prints, and the administrations looked up order after order.
#include "MDN110U1_P02/OrderLines.h"

#include "Cp949.h"
#include "GridData.h"

#include <gtest/gtest.h>

#include <map>

using namespace medrec;
using reports::Administration;
using reports::NotPrinted;
using reports::OrderRow;

namespace {

OrderRow named(std::string name, std::string details = {})
{
    return {.type = "C1", .details = std::move(details), .name = std::move(name)};
}

std::string repeat(const std::string &piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

// The staging grids as the screen's scratch tables are: one title row.
common::GridData tempTable()
{
    return common::GridData(30, 2, 1);
}
common::GridData printTable()
{
    return common::GridData(27, 2, 1);
}

// Body row `row` (0-based) of a staged table, cells 0 .. 10.
std::vector<std::string> bodyRow(const common::GridData &table, int row)
{
    auto cells = table.rowCells(table.fixedRows() + row);
    cells.resize(11);
    return cells;
}

TEST(OrderText, NamesArePaddedToFortyFourCp949BytesNeverCut)
{
    const std::string latin44 = repeat("A", 44), hangul44 = repeat("가", 22); // 44 CP949 bytes, 66 UTF-8
    const std::string latin50 = repeat("B", 50), hangul50 = repeat("나", 25);
    const std::string mixed = "Cefazolin 1g inj (세파졸린나트륨)"; // 19 Latin + 7 syllables = 33 bytes
    struct Case
    {
        const char *what;
        OrderRow order;
        std::string expected;
    };
    const Case cases[] = {
        {"Latin, short", named("Famotidine 20mg", "1 amp IV"),
         "Famotidine 20mg" + std::string(29, ' ') + " 1 amp IV"},
        {"Korean counts two bytes a syllable", named("세파졸린", "IV"),
         "세파졸린" + std::string(36, ' ') + " IV"},
        {"mixed", named(mixed, "q8hr"), mixed + std::string(11, ' ') + " q8hr"},
        {"Latin at 44 bytes", named(latin44, "x"), latin44 + " x"},
        {"Korean at 44 bytes: no padding although UTF-8 counts 66", named(hangul44, "x"), hangul44 + " x"},
        {"Latin beyond 44 stays whole", named(latin50, "x"), latin50 + " x"},
        {"Korean beyond 44 stays whole", named(hangul50, "x"), hangul50 + " x"},
        {"trimmed parts", named("  Tramadol  ", "  prn  "), "Tramadol" + std::string(36, ' ') + " prn"},
        {"no details: the name alone", named("세파졸린", "   "), "세파졸린"},
        {"no name: the details alone", named("", "구두 지시"), "구두 지시"},
        {"neither", named(" ", ""), ""},
        {"the other name when the name is blank",
         {.details = "IV", .altName = " Ketorolac 30mg inj ", .name = "  "},
         "Ketorolac 30mg inj" + std::string(26, ' ') + " IV"},
        {"details beyond 100 bytes stay whole", named("X", repeat("다", 60)),
         "X" + std::string(43, ' ') + " " + repeat("다", 60)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(reports::OrderText(c.order), c.expected);
    }
    // The details start in one column on the fixed-pitch face, whatever script the name is in.
    for (const std::string name : {"Cefazolin", "세파졸린나트륨", "우루사정 100mg"}) {
        SCOPED_TRACE(name);
        const std::string text = reports::OrderText(named(name, "DETAILS"));
        EXPECT_EQ(text::cp949Width(text.substr(0, text.find("DETAILS"))), 45u);
    }
}

TEST(OrderLines, DiscontinuationTimesAreRegroupedByPosition)
{
    const std::pair<const char *, const char *> cases[] = {
        {"09/12:14", "09 / 12:14"},
        {"", "  "},
        {"15/08:00", "15 / 08:00"},
        {"0912", "09 1 2"},
    };
    for (const auto &[delivered, printed] : cases) {
        SCOPED_TRACE(delivered);
        EXPECT_EQ(reports::DcTimeText(delivered), printed);
    }
}

TEST(OrderLines, AdministrationsWithAnEntryAreListedAfterAnArrow)
{
    const std::vector<Administration> rows = {
        {"20180514", "12:00", "A", "", "김간호"},    {"20180514", "13:00", ":", "", "김간호"},
        {"20180514", "14:00", "  ", "", "김간호"},   {"20180514", "16:00", "X", "KCl 20mEq mix", "김간호 "},
        {"20180515", "03:00", " N", "  ", "최간호"},
    };
    EXPECT_EQ(reports::AdministrationText(rows),
              "▶ (14)12:00/A/김간호, (14)16:00/X(비고:KCl 20mEq mix)/김간호 , (15)03:00/ N/최간호");
    EXPECT_EQ(reports::AdministrationText({rows[1], rows[2]}), "") << "no entry at all";
    EXPECT_EQ(reports::AdministrationText({}), "");
    // The day is the seventh and eighth byte, never half a character.
    EXPECT_EQ(reports::AdministrationText({{"가나다라", "09:00", "Y", "", "간호"}}), "▶ (라)09:00/Y/간호");
}

TEST(StageOrders, HeadingsShowWhereTheyChangeOrWhereAnOrderIsSpecial)
{
    const auto order = [](std::string heading, std::string key, std::string special = {}) {
        return OrderRow{.type = "C1",
                        .heading = std::move(heading),
                        .groupKey = std::move(key),
                        .special = std::move(special),
                        .name = "x"};
    };
    const std::vector<OrderRow> orders = {
        order("주사", "GS"),
        order("주사", "GS"),
        order("주사", "GS"),            // a run: heading once
        order("주사", "AN"),            // the second key alone brings it back
        order("주사", "AN", "SPECIAL"), // shown within a run
        order("주사", "AN", "special"), // exact comparison
        order("경구", "AN"),
    };
    common::GridData temp = tempTable();
    reports::StageOrders(orders, temp);
    ASSERT_EQ(temp.bodyRowCount(), 7);
    const std::vector<std::string> headings = {"주사", "", "", "주사", "주사", "", "경구"};
    for (int row = 0; row < 7; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(temp.cell(0, temp.fixedRows() + row), headings[static_cast<std::size_t>(row)]);
    }
}

TEST(StageOrders, CancelledDietAndLaboratoryOrdersAreLeftOut)
{
    const auto order = [](std::string type, std::string code30, std::string name) {
        return OrderRow{
            .type = std::move(type), .heading = "식이", .name = std::move(name), .code30 = std::move(code30)};
    };
    const std::vector<OrderRow> orders = {
        order("D1", " ", "blank code: left out"),  order("D1", "", "empty code: kept"),
        order("D2", "X", "D2 cancelled"),          order("D3", "X", "other types kept"),
        order(" D1", "X", "not exactly D1: kept"),
    };
    common::GridData temp = tempTable();
    reports::StageOrders(orders, temp);
    ASSERT_EQ(temp.bodyRowCount(), 3);
    EXPECT_EQ(temp.cell(1, 1), "empty code: kept");
    EXPECT_EQ(temp.cell(1, 2), "other types kept");
    EXPECT_EQ(temp.cell(1, 3), "not exactly D1: kept");
    // A left-out order keeps the heading run going: the next order of the run shows none.
    EXPECT_EQ(temp.cell(0, 1), "식이");
    EXPECT_EQ(temp.cell(0, 2), "");
}

TEST(StageOrders, EveryOrderLeftOutPrintsOneEmptyLine)
{
    common::GridData temp = tempTable();
    temp.setCell(1, 1, "STALE");
    reports::StageOrders({OrderRow{.type = "D1", .name = "NPO", .code30 = "C"}}, temp);
    ASSERT_EQ(temp.bodyRowCount(), 1);
    EXPECT_EQ(temp.cell(1, 1), "");

    common::GridData lines = printTable();
    reports::StageOrderLines(temp, lines);
    ASSERT_EQ(lines.bodyRowCount(), 3);
    EXPECT_EQ(bodyRow(lines, 0), (std::vector<std::string>{"", "", "", "", "", "", "", "Y", "", "", "  "}));
}

TEST(StageOrderLines, TwoLinesPerOrderThenAnEmptyRow)
{
    const std::vector<OrderRow> orders = {
        {.seqNo = "7",
         .type = "C1",
         .heading = " ≪수술전처치≫",
         .groupKey = "GS",
         .physician = "김전공",
         .execution = "시행함",
         .entryTime = "14/10:20",
         .name = "Skin preparation",
         .dcTime = "15/08:00"},
        {.seqNo = "8",
         .type = "C1",
         .heading = " ≪수술전처치≫",
         .groupKey = "GS",
         .physician = "김전공",
         .execution = "   ",
         .entryTime = "14/10:21",
         .name = "Foley"},
        {.seqNo = "9",
         .type = "B1",
         .heading = "주사",
         .physician = "이정훈",
         .execution = "not listed",
         .entryTime = "14/10:30",
         .name = "Cefazolin"},
    };
    common::GridData temp = tempTable();
    reports::StageOrders(orders, temp);
    common::GridData lines = printTable();
    reports::StageOrderLines(temp, lines);
    ASSERT_EQ(lines.bodyRowCount(), 7);
    // A bracketed heading prints no physician and no entry time; the next line of its run,
    // having no heading, prints its own.
    EXPECT_EQ(bodyRow(lines, 0), (std::vector<std::string>{" ≪수술전처치≫", "Skin preparation", "C1", "", "7",
                                                           "시행함", "", "Y", "", "", "15 / 08:00"}));
    EXPECT_EQ(bodyRow(lines, 1)[3], "▶ 시행함");
    EXPECT_EQ(bodyRow(lines, 2), (std::vector<std::string>{"", "Foley", "C1", "", "8", "   ", "", "Y",
                                                           "김전공", "14/10:21", "  "}));
    EXPECT_EQ(bodyRow(lines, 3)[3], "") << "a blank execution text adds nothing";
    EXPECT_EQ(bodyRow(lines, 4)[8], "이정훈");
    EXPECT_EQ(bodyRow(lines, 5)[3], "") << "a B order's line waits for its administrations";
    EXPECT_EQ(bodyRow(lines, 6), std::vector<std::string>(11));
}

// A print list of the given orders, staged as the block stages it.
common::GridData staged(const std::vector<OrderRow> &orders)
{
    common::GridData temp = tempTable();
    reports::StageOrders(orders, temp);
    common::GridData lines = printTable();
    reports::StageOrderLines(temp, lines);
    return lines;
}

TEST(CompleteExecutionLines, EachBOrderGetsItsAdministrationsTheOthersTheirTextAsDelivered)
{
    common::GridData lines = staged({
        {.seqNo = "11", .type = "B1", .name = "Cefazolin"},
        {.seqNo = "12", .type = "C1", .execution = " 시행함 ", .name = "Dressing"},
        {.seqNo = "13", .type = "C1", .execution = "구두 지시"}, // no order text: keeps its arrow
        {.seqNo = "14", .type = "B2", .name = "5% D/S"},         // no administrations
        {.seqNo = "15", .type = "b1", .execution = "lower case is not B", .name = "x"},
    });
    std::vector<std::string> asked;
    const auto stop = reports::CompleteExecutionLines(lines, [&](const std::string &seqNo) {
        asked.push_back(seqNo);
        return reports::Fetch<std::vector<Administration>>(
            seqNo == "11" ? std::vector<Administration>{{"20180514", "12:00", "Y", "", "김간호"}}
                          : std::vector<Administration>{});
    });
    EXPECT_FALSE(stop.has_value());
    EXPECT_EQ(asked, (std::vector<std::string>{"11", "14"}));
    const std::vector<std::string> done = {"▶ (14)12:00/Y/김간호", " 시행함 ", "▶ 구두 지시", "",
                                           "lower case is not B"};
    for (int order = 0; order < 5; ++order) {
        SCOPED_TRACE(order);
        EXPECT_EQ(bodyRow(lines, 2 * order + 1)[3], done[static_cast<std::size_t>(order)]);
    }
}

TEST(CompleteExecutionLines, AFailedLookUpStopsThePrintAndAsksNoFurther)
{
    common::GridData lines = staged({
        {.seqNo = "21", .type = "B1", .name = "first"},
        {.seqNo = "22", .type = "B1", .name = "fails"},
        {.seqNo = "23", .type = "B1", .name = "never asked"},
    });
    std::vector<std::string> asked;
    const auto stop = reports::CompleteExecutionLines(
        lines, [&](const std::string &seqNo) -> reports::Fetch<std::vector<Administration>> {
            asked.push_back(seqNo);
            if (seqNo == "22")
                return NotPrinted{NotPrinted::Reason::ServiceFailed, {}};
            return std::vector<Administration>{};
        });
    ASSERT_TRUE(stop.has_value());
    EXPECT_EQ(stop->reason, NotPrinted::Reason::ServiceFailed);
    EXPECT_EQ(asked, (std::vector<std::string>{"21", "22"}));
}

TEST(CompleteExecutionLines, ASequenceNumberThatIsNotANumberStopsThePrintNamingTheField)
{
    for (const char *seqNo : {"", "12a", " 12", "1.5"}) {
        SCOPED_TRACE(seqNo);
        common::GridData lines = staged({{.seqNo = seqNo, .type = "B1", .name = "Cefazolin"}});
        bool asked = false;
        const auto stop = reports::CompleteExecutionLines(lines, [&](const std::string &) {
            asked = true;
            return reports::Fetch<std::vector<Administration>>(std::vector<Administration>{});
        });
        ASSERT_TRUE(stop.has_value());
        EXPECT_EQ(stop->reason, NotPrinted::Reason::Refused);
        EXPECT_EQ(stop->notice.channel, reports::Notice::Channel::Box);
        EXPECT_EQ(stop->notice.text,
                  "출력하지 못했습니다. 처방 순번(L_SEQNO1)이 숫자가 아닙니다: '" + std::string(seqNo) + "'");
        EXPECT_FALSE(asked);
    }
    // Only the orders whose administrations are asked for need one.
    common::GridData lines = staged({{.seqNo = "", .type = "C1", .name = "Dressing"}});
    EXPECT_FALSE(reports::CompleteExecutionLines(lines, nullptr).has_value());
}

} // namespace
