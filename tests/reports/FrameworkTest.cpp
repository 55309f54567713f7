// The record-kind framework: binding rules, the binding tables of every built kind against
// their form files, and the paging of staged rows.
#include "Bindings.h"
#include "FormConventions.h"
#include "PatientHeader.h"
#include "RecordKinds.h"
#include "ReportForms.h"
#include "StagedRows.h"

#include "Clock.h"

#include "report_engine/FormLoader.h"
#include "report_engine/QtTextMeasurer.h"
#include "report_engine/Report.h"

#include <gtest/gtest.h>

using namespace medrec;
using namespace medrec::reports;

namespace {

// A one-band form with labels l1..l3, a memo m1 and squares s1..s4.
engine::Report smallForm()
{
    return engine::Report(engine::parseForm(R"({
      "name": "qr_test",
      "bands": [{"name": "band_Detail", "kind": "detail", "height": 40, "components": [
        {"type": "label", "name": "l1", "box": [0, 0, 50, 5]},
        {"type": "label", "name": "l2", "box": [0, 6, 50, 5], "caption": "유"},
        {"type": "label", "name": "l3", "box": [0, 12, 50, 5], "caption": "무"},
        {"type": "memo", "name": "m1", "box": [60, 0, 50, 20]},
        {"type": "shape", "name": "s1", "box": [0, 20, 3, 3]},
        {"type": "shape", "name": "s2", "box": [5, 20, 3, 3]},
        {"type": "shape", "name": "s3", "box": [10, 20, 3, 3]},
        {"type": "shape", "name": "s4", "box": [15, 20, 3, 3]}
      ]}]})"));
}

bool black(engine::Report &r, const char *shape)
{
    const auto &brush = r.shape(shape).brush;
    return brush && *brush == engine::Color::black();
}

std::string squares(engine::Report &r)
{
    std::string out;
    for (const char *s : {"s1", "s2", "s3", "s4"})
        out += black(r, s) ? '#' : '.';
    return out;
}

FieldValues values(std::initializer_list<std::pair<const char *, const char *>> pairs)
{
    FieldValues v;
    for (const auto &[name, value] : pairs)
        v.set(name, value);
    return v;
}

} // namespace

TEST(Bindings, TextGoesToALabelsCaptionOrAMemosLines)
{
    auto r = smallForm();
    ApplyBindings(r, {bind::text("l1", "F"), bind::text("m1", "F"), bind::joined("l2", {"A", "B"}, "/")},
                  values({{"F", "첫줄\r\n둘째줄"}, {"A", "120"}, {"B", "80"}}));
    EXPECT_EQ(r.label("l1").caption, "첫줄\r\n둘째줄");
    EXPECT_EQ(r.memo("m1").lines, (std::vector<std::string>{"첫줄", "둘째줄"}));
    EXPECT_EQ(r.label("l2").caption, "120/80");
}

TEST(Bindings, AMisspeltFieldOrComponentFailsLoudly)
{
    auto r = smallForm();
    EXPECT_THROW(ApplyBindings(r, {bind::text("l1", "NOPE")}, values({{"F", "x"}})), std::out_of_range);
    EXPECT_THROW(ApplyBindings(r, {bind::text("nope", "F")}, values({{"F", "x"}})), std::exception);
    EXPECT_THROW(ApplyBindings(r, {bind::text("s1", "F")}, values({{"F", "x"}})), std::exception);
}

TEST(Bindings, FlagStringsDriveOneSquarePerCharacter)
{
    const struct
    {
        const char *value;
        std::size_t first;
        const char *expected;
    } cases[] = {
        {"YNYN", 1, "#.#."}, {"YY", 1, "##.."}, {"", 1, "...."}, {"yYnN", 1, ".#.."},
        {"NYYNY기타", 2, "##.#"}, {"YYYY", 4, "#..."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        auto r = smallForm();
        ApplyBindings(r, {bind::flagSquares({"s1", "s2", "s3", "s4"}, "F", c.first)}, values({{"F", c.value}}));
        EXPECT_EQ(squares(r), c.expected);
    }
}

TEST(Bindings, ChoicesPaintTheChosenSquareAndWhatTheRowSaysOfTheOthers)
{
    const std::vector<std::pair<std::string, std::string>> codes{{"1", "s1"}, {"2", "s2"}, {"3", "s3"}};
    const struct
    {
        const char *value;
        Others others;
        std::string fallback;
        const char *expected;
    } cases[] = {
        // s1 is black before every case, s4 too: outside the group it is never touched.
        {"2", Others::Untouched, "", "##.#"}, {"2", Others::White, "", ".#.#"},
        {"9", Others::White, "", "...#"},     {"9", Others::Untouched, "", "#..#"},
        {"", Others::White, "s4", "...#"},    {"3", Others::White, "s4", "..#."},
        {"2 ", Others::White, "", "...#"}, // text choice: "2 " is not "2"
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        auto r = smallForm();
        shcbx_pro(r, "s1", "Y");
        shcbx_pro(r, "s4", "Y");
        ApplyBindings(r, {bind::choiceSquares("F", codes, c.others, c.fallback)}, values({{"F", c.value}}));
        EXPECT_EQ(squares(r), c.expected);
    }
}

TEST(Bindings, NumberedChoicesAndCodeTextsReadTheValueThroughCodeToInt)
{
    auto r = smallForm();
    const FieldValues v = values({{"F", " 2"}, {"G", "07"}, {"H", " "}, {"BAD", "2a"}});
    ApplyBindings(r,
                  {bind::numberSquares("F", {{1, "s1"}, {2, "s2"}}, Others::White),
                   bind::codeText("l1", "G", {{7, "자유업"}}), bind::codeText("l2", "H", {{1, "있음"}}, "모름"),
                   bind::checkMark("F", {{2, "l3"}})},
                  v);
    EXPECT_EQ(squares(r), ".#..");
    EXPECT_EQ(r.label("l1").caption, "자유업");
    EXPECT_EQ(r.label("l2").caption, "모름");
    EXPECT_EQ(r.label("l3").caption, "√");
    EXPECT_THROW(ApplyBindings(r, {bind::codeText("l1", "BAD", {{2, "x"}})}, v), CodeConversionError);
}

TEST(Bindings, MarksPutASquareMarkOnTheChosenLabel)
{
    auto r = smallForm();
    ApplyBindings(r, {bind::yesNoMark("F", "l2", "l3")}, values({{"F", "y"}}));
    EXPECT_EQ(r.label("l2").caption, "유");
    EXPECT_EQ(r.label("l3").caption, "■");
    ApplyBindings(r, {bind::mark("G", {{"1", "l1"}, {"2", "l2"}})}, values({{"G", "2"}}));
    EXPECT_EQ(r.label("l2").caption, "■");
}

TEST(Bindings, ByteSlicesNeverPrintHalfACharacter)
{
    // Positions count CP949 bytes: "Y" is one, a Korean syllable two.
    const struct
    {
        std::size_t from, to;
        const char *expected;
    } cases[] = {
        {1, 1, "Y"}, {2, 5, "고혈"}, {3, 5, "혈"}, // byte 3 is the second half of 고: left out
        {2, 0, "고혈압 약"}, {6, 60, "압 약"}, {20, 60, ""}, {2, 2, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + ".." + std::to_string(c.to));
        EXPECT_EQ(bind::chars(c.from, c.to)("Y고혈압 약"), c.expected);
    }
    EXPECT_EQ(bind::then(bind::chars(2), bind::trimmed())("Y  약  "), "약");
}

TEST(PatientHeaderTest, FromThePanelsOrThePatientService)
{
    const auto fromPanels = PatientHeader::fromPanels({"00001234", "김민준", "M/47Y", "790312-1234567", "", ""});
    EXPECT_EQ(fromPanels.resNo, "790312-1******");

    common::FixedToday today(std::chrono::year{2026} / 12 / 9);
    FieldValues v = values({{"P.S_PATNO", "00001234"}, {"P.S_STRING1", "김민준"}, {"P.S_STRING2", "790312"},
                            {"P.S_STRING3", "1234567"}, {"P.S_STRING4", "19790312"}, {"P.S_STRING5", "M"}});
    const auto fromService = PatientHeader::fromPatientService(v, "P.");
    EXPECT_EQ(fromService.resNo, "790312-1******");
    EXPECT_EQ(fromService.sexAge, "M/47세");

    auto r = smallForm();
    fromService.addTo(v);
    ApplyBindings(r, HeaderBindings({"l1", "l2", "", "l3"}), v);
    EXPECT_EQ(r.label("l1").caption, "00001234");
    EXPECT_EQ(r.label("l2").caption, "김민준");
    EXPECT_EQ(r.label("l3").caption, "M/47세");
}

namespace {

// A form whose detail band prints one label per record.
engine::Report lineForm()
{
    return engine::Report(engine::parseForm(R"({
      "name": "qr_lines",
      "bands": [{"name": "band_Detail", "kind": "detail", "height": 5, "components": [
        {"type": "label", "name": "line", "box": [0, 0, 100, 5]}
      ]}]})"));
}

common::GridData staged(const std::vector<std::string> &texts)
{
    common::GridData table(3, 1 + static_cast<int>(texts.size()), 1);
    for (std::size_t i = 0; i < texts.size(); ++i)
        table.setCell(1, static_cast<int>(i) + 1, texts[i]);
    return table;
}

std::vector<std::string> printedLines(const engine::Document &document)
{
    std::vector<std::string> lines;
    for (const auto &page : document.pages)
        for (const auto &e : page.elements)
            if (e.component == "line")
                lines.push_back(e.text);
    return lines;
}

} // namespace

TEST(StagedRowsTest, EveryRunStartsAtTheFirstStagedRow)
{
    auto report = lineForm();
    FeedRows(report, staged({"a", "b", "c"}),
             [](engine::Report &r, const StagedRows &rows) { r.label("line").setCaption(rows.cell(1)); });
    engine::QtTextMeasurer measurer;
    EXPECT_EQ(printedLines(report.run(measurer)), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(printedLines(report.run(measurer)), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(StagedRowsTest, OneBandPerWrappedLineWithFirstAndLastMarked)
{
    auto report = lineForm();
    const auto wrap = [](engine::Report &, const StagedRows &rows) {
        std::vector<std::string> lines;
        for (char c : rows.cell(1))
            lines.emplace_back(1, c);
        return lines; // one line per character; an empty text has none
    };
    FeedLines(report, staged({"abc", "", "d"}), wrap, [](engine::Report &r, const LineStep &step) {
        std::string text = step.text.empty() ? "-" : step.text;
        if (step.first())
            text = "<" + text;
        if (step.last())
            text += ">";
        r.label("line").setCaption(text);
    });
    engine::QtTextMeasurer measurer;
    const std::vector<std::string> expected{"<a", "b", "c>", "<->", "<d>"};
    EXPECT_EQ(printedLines(report.run(measurer)), expected);
    EXPECT_EQ(printedLines(report.run(measurer)), expected);
}
