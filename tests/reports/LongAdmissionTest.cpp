// The demo's long admission (patient 00005001, scripts/make-long-admission) printed from the
// real medrec-server to PDF: records far longer than one reply print whole, every note,
// vital-sign row and flowsheet day once and in order, with no layout warning and the page
// numbers running on.
#include "FlowsheetTestSupport.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

constexpr const char *kPatNo = "00005001";
constexpr const char *kVisit = "20250106";

class LongAdmission : public mt::FlowsheetTest
{
protected:
    // The admission's record of the kind, as the demo data file holds it.
    static nlohmann::json record(const std::string &kind)
    {
        const auto demo = nlohmann::json::parse(mt::DemoData());
        for (const auto &patient : demo["patients"])
            if (patient["number"] == kPatNo)
                for (const auto &r : patient["visits"][0]["records"])
                    if (r["kind"] == kind)
                        return r;
        return {};
    }
    static nlohmann::json storedRows(const std::string &flowsheet)
    {
        const auto demo = nlohmann::json::parse(mt::DemoData());
        for (const auto &reply : demo["serviceReplies"])
            if (reply["key"].value("S_TYPE2", "") == kPatNo && reply["key"]["S_TYPE1"] == flowsheet)
                return reply["rows"];
        return {};
    }

    struct Printed
    {
        std::string text;                // the PDF's pages joined, blanks removed
        std::vector<std::string> pages;  // each page's text, blanks removed
        std::vector<std::string> lines;  // the note lines laid out, in order ("qrlb_Data4")
    };

    // Prints the record as the print run does, to PDF.
    Printed printed(const std::string &kind)
    {
        auto context = contextFor(kind, kPatNo, kVisit);
        const mt::KindPrint result = print(kind, context);
        EXPECT_TRUE(result.printed()) << result.failure;
        if (!result.printed())
            return {};
        EXPECT_EQ(result.document->warnings.size(), 0u);
        Printed out;
        out.pages = pdfPages(result.pdf);
        for (const std::string &page : out.pages)
            out.text += page;
        out.lines = mt::ComponentTexts(*result.document, "qrlb_Data4");
        return out;
    }

    // Every note whole and in order: the laid-out lines hold the notes' texts one after the
    // other, and the PDF holds those lines in that order.
    static void expectEveryNote(const Printed &printed, const nlohmann::json &rows, const char *field)
    {
        std::string notes, lines;
        for (const auto &row : rows)
            notes += withoutBlanks(row[field].get<std::string>());
        for (const std::string &line : printed.lines)
            lines += withoutBlanks(line);
        EXPECT_EQ(lines.size(), notes.size());
        EXPECT_TRUE(lines == notes) << "the laid-out lines are not the notes in order";
        std::vector<std::string> nonEmpty;
        for (const std::string &line : printed.lines)
            if (!withoutBlanks(line).empty())
                nonEmpty.push_back(line);
        expectOnceInOrder(printed.text, nonEmpty);
    }

    // Each text found after the one before it, and found once in the whole text.
    static void expectOnceInOrder(const std::string &all, const std::vector<std::string> &texts)
    {
        std::size_t at = 0;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const std::string text = withoutBlanks(texts[i]);
            const std::size_t found = all.find(text, at);
            ASSERT_NE(found, std::string::npos) << "item " << i << " missing or out of order: " << texts[i];
            at = found + text.size();
        }
    }
};

TEST_F(LongAdmission, TheThirtyDayNursingRecordPrintsEveryNoteOnceInOrder)
{
    const auto notes = record("MDNRRECT")["content"];
    ASSERT_EQ(notes.size(), 240u); // eight a day for thirty days
    const Printed out = printed("MDNRRECT");
    expectEveryNote(out, notes, "S_STRING12");
    for (int day = 1; day <= 30; ++day)
        for (int seq = 1; seq <= 8; ++seq)
            EXPECT_EQ(mt::TimesShown(out.text, "입원 " + std::to_string(day) + "일째, " + std::to_string(seq) + "번째 기록"),
                      1);
    // Page n of N on every page.
    const std::string count = std::to_string(out.pages.size());
    ASSERT_GT(out.pages.size(), 30u);
    for (std::size_t p = 0; p < out.pages.size(); ++p)
        EXPECT_TRUE(mt::Shows(out.pages[p], std::to_string(p + 1) + " / " + count)) << "page " << p + 1;
}

TEST_F(LongAdmission, TheSixtyDayProgressNotePrintsEveryNoteOnceInOrder)
{
    const auto notes = record("MDPGNOTT")["content"];
    ASSERT_EQ(notes.size(), 80u);
    const Printed out = printed("MDPGNOTT");
    expectEveryNote(out, notes, "S_STRING10");
    ASSERT_GT(out.pages.size(), 5u);
    for (std::size_t p = 0; p < out.pages.size(); ++p)
        EXPECT_TRUE(mt::Shows(out.pages[p], "-" + std::to_string(p + 1) + "-")) << "page " << p + 1;
}

TEST_F(LongAdmission, VitalSignsEveryFourHoursForThirtyDaysPrintEveryRowOnceInOrder)
{
    const auto rows = record("MDVITALT")["content"];
    ASSERT_EQ(rows.size(), 180u);
    const std::string all = printed("MDVITALT").text;
    std::vector<std::string> stamps;
    for (const auto &row : rows)
        stamps.push_back(row["S_STRING1"].get<std::string>());
    expectOnceInOrder(all, stamps);
    for (const std::string &stamp : stamps)
        EXPECT_EQ(mt::TimesShown(all, stamp), 1) << stamp;
}

TEST_F(LongAdmission, BloodSugarAndIntakeAndOutputPrintEveryDayOnceInOrder)
{
    std::vector<std::string> sugarDays, intakeDays;
    for (const auto &row : storedRows("7"))
        if (sugarDays.empty() || sugarDays.back() != row["S_STRING7"])
            sugarDays.push_back(row["S_STRING7"]);
    for (const auto &row : storedRows("P")) {
        const std::string d = row["S_STRING1"];
        const std::string day = d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2);
        if (intakeDays.empty() || intakeDays.back() != day)
            intakeDays.push_back(day);
    }
    ASSERT_EQ(sugarDays.size(), 30u);
    ASSERT_EQ(intakeDays.size(), 30u);
    const std::string sugar = printed("MDIOCHKT_BS").text;
    expectOnceInOrder(sugar, sugarDays);
    const std::string intake = printed("MDIOCHKT_IO").text;
    expectOnceInOrder(intake, intakeDays);
    for (std::size_t d = 1; d < sugarDays.size(); ++d) { // the period line holds the first
        EXPECT_EQ(mt::TimesShown(sugar, sugarDays[d]), 1) << sugarDays[d];
    }
}

} // namespace
