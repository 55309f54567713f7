#include "SheetTestSupport.h"

#include "RecordKindFixture.h"
#include "RecordKinds.h"
#include "ReportForms.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace medrec::testing {

namespace {

std::string withoutBlanks(const std::string &text) { return RecordKindTest::withoutBlanks(text); }

} // namespace

reports::FieldValues EmptySheetValues(const std::string &kind)
{
    reports::FieldValues values;
    for (const reports::FormBindings &form : reports::FindRecordKind(kind)->bindings())
        for (const std::string &name : reports::BoundValues(form.fill))
            values.set(name, "");
    return values;
}

FilledSheet::FilledSheet(const std::string &kind, const reports::FieldValues &values)
{
    const reports::RecordKind &row = *reports::FindRecordKind(kind);
    for (std::size_t i = 0; i < row.forms.size(); ++i) {
        m_pages.push_back(reports::MakeReport(std::string(row.unit), row.forms[i]));
        reports::ApplyBindings(*m_pages.back(), row.bindings()[i].fill, values);
    }
}

engine::Report &FilledSheet::holding(const std::string &name) const
{
    for (const auto &page : m_pages)
        if (page->has(name))
            return *page;
    throw std::out_of_range(name);
}

std::string FilledSheet::caption(const std::string &label) const { return holding(label).label(label).caption; }

bool FilledSheet::black(const std::string &square) const
{
    return holding(square).shape(square).brush == engine::Color::black();
}

void ExpectSheetRules(const std::string &kind, const reports::FieldValues &base, const std::vector<SheetRuleCase> &cases)
{
    for (const SheetRuleCase &c : cases) {
        SCOPED_TRACE(c.what);
        reports::FieldValues values = base;
        for (const auto &[field, value] : c.fields)
            values.set(field, value);
        const FilledSheet sheet(kind, values);
        for (const auto &[label, caption] : c.captions)
            EXPECT_EQ(sheet.caption(label), caption) << label;
        for (const auto &square : c.black)
            EXPECT_TRUE(sheet.black(square)) << square;
        for (const auto &square : c.white)
            EXPECT_FALSE(sheet.black(square)) << square;
    }
}

std::string JoinedWithoutBlanks(const std::vector<std::string> &lines)
{
    std::string all;
    for (const auto &line : lines)
        all += withoutBlanks(line);
    return all;
}

void ExpectPrinted(const engine::Document &doc, const std::vector<std::string> &pdfPages,
                   const std::map<std::string, std::string> &values)
{
    std::string pdf;
    for (const auto &page : pdfPages)
        pdf += page;
    for (const auto &[component, value] : values) {
        SCOPED_TRACE(component + " = " + value);
        const auto lines = ComponentTexts(doc, component);
        EXPECT_EQ(JoinedWithoutBlanks(lines), withoutBlanks(value));
        for (const auto &line : lines)
            EXPECT_NE(pdf.find(withoutBlanks(line)), std::string::npos) << line;
    }
}

void ExpectCaptions(const std::string &pdfPage, const std::vector<std::string> &captions)
{
    for (const auto &caption : captions) {
        SCOPED_TRACE(caption);
        if (pdfPage.find(withoutBlanks(caption)) != std::string::npos)
            continue;
        // pdftotext reads the words of a caption spaced across a row ("호  흡  기") as columns of
        // their own: then each word stands on the page.
        std::istringstream words(caption);
        for (std::string word; words >> word;)
            EXPECT_NE(pdfPage.find(word), std::string::npos) << word;
    }
}

} // namespace medrec::testing
