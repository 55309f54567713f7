// The headings of the notes printed as one memo: which of the memo's lines a composed note keeps
// with the text under them, counted as the memo splits the text, and what each note marks.
#include "FieldValues.h"
#include "MDO510U1_P02/MDO510U1_P02.h"
#include "MDS510U1_P01/MDS510U1_P01.h"
#include "NoteSections.h"
#include "ContextValues.h"
#include "RecordKinds.h"
#include "ReportForms.h"

#include "report_engine/Report.h"

#include <gtest/gtest.h>

using namespace medrec;
using reports::SectionText;

namespace {

// The memo's marked lines, as texts.
std::vector<std::string> markedLines(const engine::Memo &memo)
{
    std::vector<std::string> lines;
    for (std::size_t i : memo.keepWithNext)
        lines.push_back(i < memo.lines.size() ? memo.lines[i] : "(past the end)");
    return lines;
}

TEST(NoteSections, HeadingsFollowedByBreaksMarkTheirMemoLines)
{
    struct Case
    {
        const char *name;
        SectionText note;
        std::vector<std::size_t> lines;
        std::vector<std::string> texts; // of those lines
    };
    SectionText appended;
    appended.section("A】", "1").append(SectionText().section("B】", "2"));
    const std::vector<Case> cases{
        {"headed sections", SectionText().section("■C.C】", "복통").section("■P.Ix】", "3일 전"), {0, 4},
         {"■C.C】", "■P.Ix】"}},
        {"a heading on its value's line is none",
         SectionText().section("【작성일】 ", "2018-05-19", 0, 2).section("■작성의사】", "이정훈", 2, 0), {2},
         {"■작성의사】"}},
        {"blank headings are none", SectionText().section("", "x", 2, 0).section("   ", "y", 1, 1).section("H】", "z"),
         {4}, {"H】"}},
        {"values broken by LF, CR and CR LF", SectionText().section("A】", "1\n2\r3\r\n4", 2, 1).section("B】", "5"),
         {0, 6}, {"A】", "B】"}},
        {"a value ending in CR before the breaks", SectionText().section("A】", "1\r", 1, 1).section("B】", "2"),
         {0, 3}, {"A】", "B】"}},
        {"a heading continuing a line", SectionText().add("앞 ").section("H】", "v"), {0}, {"앞 H】"}},
        {"appended notes keep their headings", appended, {0, 4}, {"A】", "B】"}},
        {"one break after the heading", SectionText().section("■치료목표】", "", 1, 0).add("   (Problem1) : 통증"), {0},
         {"■치료목표】"}},
        {"nothing composed", SectionText(), {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.note.headingLines(), c.lines);
        engine::Memo memo;
        memo.setKeepWithNext({99});
        reports::SetMemoText(memo, c.note);
        engine::Memo plain;
        plain.setText(c.note.text());
        EXPECT_EQ(memo.lines, plain.lines);
        EXPECT_EQ(memo.keepWithNext, c.lines);
        EXPECT_EQ(markedLines(memo), c.texts);
    }
}

TEST(NoteSections, TheOperationMemoMarksItsTwoHeadings)
{
    struct Case
    {
        const char *findings, *procedure;
        std::vector<std::size_t> lines;
    };
    for (const Case &c : {Case{"소견", "절차", {0, 3}}, Case{"소견", "", {0}}, Case{"", "절차", {0}}, Case{"", "", {}}}) {
        SCOPED_TRACE(std::string(c.findings) + "/" + c.procedure);
        const SectionText memo = reports::OperationMemoSections(c.findings, c.procedure);
        EXPECT_EQ(memo.text(), reports::OperationMemoText(c.findings, c.procedure));
        EXPECT_EQ(memo.headingLines(), c.lines);
    }
}

// Every note's memo, filled by its binding: the marked lines are exactly its bracketed headings
// that stand on a line of their own ("【작성일】 2018-05-19" keeps its value beside it).
TEST(NoteSections, EachNoteMarksTheHeadingsOnLinesOfTheirOwn)
{
    struct Case
    {
        const char *name, *kind;
        const char *manner; // S_STRING18: the discharge's manner of discharge ("3": a transfer)
        std::size_t headings;
    };
    const Case cases[] = {
        {"discharge summary", "MDDCHSUT", "1", 7},
        {"discharge summary with a transfer", "MDDCHSUT", "3", 7},
        {"admission note", "MDADMNOT", "", 19},
        {"re-evaluation note", "MDREADMT", "", 8},
        {"emergency room note", "MDEMNOTT", "", 11},
    };
    reports::FieldValues values;
    for (int i = 0; i <= 60; ++i)
        values.set("S_STRING" + std::to_string(i), "값" + std::to_string(i));
    for (int i = 0; i <= 5; ++i)
        values.set(reports::value::record(i), "칸" + std::to_string(i));
    for (const char *name : {reports::value::kPanelName, reports::value::kPanelBirthDate})
        values.set(name, "x");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        values.set("S_STRING18", *c.manner ? c.manner : "값18");
        const reports::RecordKind &kind = *reports::FindRecordKind(c.kind);
        auto report = reports::MakeReport(std::string(kind.unit), kind.forms.front());
        for (const reports::Binding &b : kind.bindings().front().fill)
            if (b.components == std::vector<std::string>{"qrme_Data"})
                b.apply(*report, values);
        const engine::Memo &memo = report->memo("qrme_Data");
        ASSERT_FALSE(memo.lines.empty());

        std::vector<std::string> headings;
        for (const std::string &line : memo.lines)
            if (line.substr(0, line.find_last_not_of(' ') + 1).ends_with("】"))
                headings.push_back(line);
        EXPECT_EQ(headings.size(), c.headings);
        EXPECT_EQ(markedLines(memo), headings);
    }
}

} // namespace
