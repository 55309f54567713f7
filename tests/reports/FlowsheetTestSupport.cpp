#include "FlowsheetTestSupport.h"

#include "PrintHistory.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace medrec::testing {

KindPrint FlowsheetTest::printAndRecord(const std::string &kind, reports::PrintContext &context)
{
    const std::size_t before = historyLines().size();
    KindPrint result = print(kind, context);
    if (!result.printed())
        return result;
    if (!result.history) {
        ADD_FAILURE() << kind << " writes a history row";
        return result;
    }
    EXPECT_EQ(reports::SavePrintHistory(*result.history, kind), 1);
    const auto lines = historyLines();
    EXPECT_EQ(lines.size(), before + 1);
    if (!lines.empty()) {
        const std::string &newest = lines.front();
        const std::string expected =
            "\t" + context.record[0] + "\t" + context.record[1] + "\tempty\tempty\tempty\t" + kind + "\t";
        EXPECT_NE(newest.find(expected), std::string::npos) << newest;
    }
    return result;
}

reports::PrintContext FlowsheetTest::flowsheet(const std::string &kind, const std::string &patNo,
                                               const std::string &visitDate, int index)
{
    reports::PrintContext context = contextFor(kind, patNo, visitDate, index);
    context.patient.sexAge = "M/47세";
    return context;
}

void FillWithStale(common::GridData &table, int rows, int cols)
{
    table.setRowCount(rows);
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col)
            table.setCell(col, row, "STALE");
}

std::vector<std::vector<std::string>> BandLines(const engine::Document &document, const std::string &band)
{
    std::vector<std::vector<std::string>> pages;
    for (const engine::Page &page : document.pages) {
        // top (0.1 mm) -> left (0.1 mm) -> text
        std::map<long, std::map<long, std::string>> lines;
        for (const engine::Element &e : page.elements) {
            if (e.kind != engine::ElementKind::Text || e.band != band || e.component.empty())
                continue;
            std::string text = e.text;
            text.erase(0, text.find_first_not_of(' '));
            text.erase(text.find_last_not_of(' ') + 1);
            lines[std::lround(e.rect.top * 10)][std::lround(e.rect.left * 10)] = e.component + "=" + text;
        }
        std::vector<std::string> out;
        for (const auto &[top, cells] : lines) {
            std::string line;
            for (const auto &[left, text] : cells)
                line += (line.empty() ? "" : "|") + text;
            out.push_back(line);
        }
        pages.push_back(out);
    }
    return pages;
}

std::vector<std::string> ComponentTexts(const engine::Document &document, const std::string &component)
{
    std::vector<std::string> texts;
    for (const engine::Page &page : document.pages)
        for (const engine::Element &e : page.elements)
            if (e.kind == engine::ElementKind::Text && e.component == component)
                texts.push_back(e.text);
    return texts;
}

bool PrintsText(const engine::Document &document, int page, const std::string &text)
{
    const auto &elements = document.pages.at(static_cast<std::size_t>(page - 1)).elements;
    return std::any_of(elements.begin(), elements.end(), [&](const engine::Element &e) {
        return e.kind == engine::ElementKind::Text && e.text == text;
    });
}

bool Shows(const std::string &page, const std::string &text)
{
    return page.find(WithoutBlanks(text)) != std::string::npos;
}

int TimesShown(const std::string &page, const std::string &text)
{
    const std::string needle = WithoutBlanks(text);
    int n = 0;
    for (auto at = page.find(needle); !needle.empty() && at != std::string::npos;
         at = page.find(needle, at + 1))
        ++n;
    return n;
}

} // namespace medrec::testing
