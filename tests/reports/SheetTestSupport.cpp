#include "SheetTestSupport.h"

#include "KindPrinting.h"

#include "ContextValues.h"
#include "NursingSheet.h"
#include "PatientHeader.h"
#include "RecordKinds.h"
#include "ReportForms.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace medrec::testing {

KindPrint DemoSheetTest::printSheet(const std::string &kind, const std::string &patNo,
                                    const std::string &admDate)
{
    reports::PrintContext context = contextFor(kind, patNo, admDate);
    return print(kind, context);
}

reports::FieldValues EmptySheetValues(int ownFields)
{
    reports::FieldValues values;
    for (int i = 1; i <= ownFields; ++i)
        values.set("S_STRING" + std::to_string(i), "");
    for (int i = 1; i <= 17; ++i)
        values.set(std::string(reports::sheet::kPatient) + "S_STRING" + std::to_string(i), "");
    values.set(std::string(reports::sheet::kPatient) + "S_PATNO", "");
    for (int i = 1; i <= 7; ++i)
        values.set(std::string(reports::sheet::kWriter) + "S_STRING" + std::to_string(i), "");
    for (int cell = 0; cell < reports::value::kCells; ++cell)
        values.set(reports::value::record(cell), "");
    for (const char *panel :
         {reports::value::kPanelPatNo, reports::value::kPanelName, reports::value::kPanelSexAge,
          reports::value::kPanelResNo, reports::value::kPanelBirthDate, reports::value::kPanelAddress})
        values.set(panel, "");
    reports::PatientHeader{}.addTo(values);
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

std::string FilledSheet::caption(const std::string &label) const
{
    return holding(label).label(label).caption;
}

bool FilledSheet::black(const std::string &square) const
{
    return holding(square).shape(square).brush == engine::Color::black();
}

bool FilledSheet::enabled(const std::string &component) const
{
    return std::visit([](const auto &c) { return c.enabled; }, holding(component).get(component));
}

void ExpectSheetRules(const std::string &kind, const reports::FieldValues &base,
                      const std::vector<SheetRuleCase> &cases)
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

std::vector<std::string> PrintedLines(const engine::Document &doc, const std::string &component)
{
    std::vector<std::string> lines;
    for (const auto &page : doc.pages)
        for (const auto &e : page.elements)
            if (e.kind == engine::ElementKind::Text && e.component == component)
                lines.push_back(e.text);
    return lines;
}

bool PrintedBlack(const engine::Document &doc, const std::string &square)
{
    for (const auto &page : doc.pages)
        for (const auto &e : page.elements)
            if (e.component == square && e.kind == engine::ElementKind::Shape)
                return e.fill == engine::Color::black();
    ADD_FAILURE() << square << " did not print";
    return false;
}

std::string JoinedWithoutBlanks(const std::vector<std::string> &lines)
{
    std::string all;
    for (const auto &line : lines)
        all += WithoutBlanks(line);
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
        const auto lines = PrintedLines(doc, component);
        EXPECT_EQ(JoinedWithoutBlanks(lines), WithoutBlanks(value));
        for (const auto &line : lines)
            EXPECT_NE(pdf.find(WithoutBlanks(line)), std::string::npos) << line;
    }
}

std::vector<std::string> SummaryCells(const reports::PrintedSummary &summary)
{
    return {summary.patno,    summary.meddate, summary.dschdate,
            summary.patgubun, summary.meddept, summary.chadr};
}

void ExpectCaptions(const std::string &pdfPage, const std::vector<std::string> &captions)
{
    for (const std::string &caption : captions) {
        SCOPED_TRACE(caption);
        EXPECT_NE(pdfPage.find(WithoutBlanks(caption)), std::string::npos);
    }
}

} // namespace medrec::testing
