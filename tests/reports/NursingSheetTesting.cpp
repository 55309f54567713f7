#include "NursingSheetTesting.h"

#include "Bindings.h"
#include "PrintHistory.h"
#include "RecordKinds.h"
#include "ReportForms.h"

#include "TestDataText.h"
#include "TuxCom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <variant>

#include <sys/wait.h>

namespace medrec::testing {

namespace {

const reports::RecordKind &kindOf(const std::string &code)
{
    const reports::RecordKind *kind = reports::FindRecordKind(code);
    if (!kind || !kind->bindings)
        throw std::invalid_argument(code + " is not a built record kind");
    return *kind;
}

} // namespace

std::string Syllables(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += "가";
    return text;
}

reports::FieldValues EmptySheetValues(const std::string &kind)
{
    reports::FieldValues values;
    for (const reports::FormBindings &form : kindOf(kind).bindings())
        for (const std::string &name : reports::BoundValues(form.fill))
            values.set(name, "");
    return values;
}

FilledSheet::FilledSheet(const std::string &kind, const reports::FieldValues &values) : m_kind(kind)
{
    const reports::RecordKind &k = kindOf(kind);
    for (std::size_t i = 0; i < k.forms.size(); ++i) {
        engine::Report &page = m_pages.add(reports::MakeReport(std::string(k.unit), k.forms[i]));
        reports::ApplyBindings(page, k.bindings()[i].fill, values);
    }
}

engine::Report &FilledSheet::holding(const std::string &name) const
{
    for (const auto &page : m_pages.reports())
        if (page->has(name))
            return *page;
    throw std::out_of_range(name + " is on none of the sheet's forms");
}

bool FilledSheet::printsText(const std::string &component) const
{
    const engine::Component &c = holding(component).get(component);
    if (const auto *label = std::get_if<engine::Label>(&c))
        return label->enabled;
    if (const auto *memo = std::get_if<engine::Memo>(&c))
        return memo->enabled;
    return false;
}

engine::Document FilledSheet::layOut() const { return reports::LayOutJob(m_pages, m_kind); }

std::string FilledSheet::caption(const std::string &component) const
{
    const engine::Component &c = holding(component).get(component);
    if (const auto *memo = std::get_if<engine::Memo>(&c)) {
        std::string text;
        for (std::size_t i = 0; i < memo->lines.size(); ++i)
            text += (i ? "\n" : "") + memo->lines[i];
        return text;
    }
    return std::get<engine::Label>(c).caption;
}

bool FilledSheet::black(const std::string &square) const
{
    return holding(square).shape(square).brush == engine::Color::black();
}

std::string FillFailure(const std::string &kind, const reports::FieldValues &values)
{
    try {
        const FilledSheet sheet(kind, values);
    } catch (const std::exception &e) {
        return e.what();
    }
    return {};
}

void ExpectSheetRules(const std::string &kind, const std::vector<SheetRuleCase> &cases)
{
    for (const SheetRuleCase &c : cases) {
        SCOPED_TRACE(c.what);
        reports::FieldValues values = EmptySheetValues(kind);
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

void ExpectNoRowsFound(const KindPrint &printed, const std::string &status)
{
    ExpectNothingFound(printed, status);
}

void ExpectNoLayoutWarnings(const engine::Document &doc)
{
    for (const auto &warning : doc.warnings)
        ADD_FAILURE() << warning.message;
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

void NursingSheetTest::StartServerWithDemoAnd(const std::string &testData)
{
    s_server = StartServerWith({demoData(), readFile(MEDREC_TEST_DATA "/" + testData)});
}

int NursingSheetTest::printWithBatch(const std::string &args, std::map<std::string, std::size_t> &pagesByPatient)
{
    const std::string env = writeSiteEnvironment(m_out.path(), "127.0.0.1", s_server->port());
    const std::string pdfDir = m_out.file("batch");
    std::filesystem::remove_all(pdfDir);
    std::filesystem::create_directories(pdfDir);
    const std::string command = "MEDREC_ENV_FILE='" + env + "' MEDREC_PRINT_TO='pdf:" + pdfDir +
                                "' MEDREC_BATCH_USER=COURT '" MEDREC_BATCH_PROGRAM "' " + args + " 2>/dev/null";
    const int status = std::system(command.c_str());
    // 20261209-143005_MDNBINFT_00004012.pdf
    for (const auto &entry : std::filesystem::directory_iterator(pdfDir)) {
        if (entry.path().extension() != ".pdf")
            continue; // its layout record beside it
        const std::string stem = entry.path().stem().string();
        pagesByPatient[stem.substr(stem.rfind('_') + 1)] = pdfPages(entry.path()).size();
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

KindPrint NursingSheetTest::printAdmission(const std::string &kind, const std::string &patNo,
                                           const std::string &admDate)
{
    reports::PrintContext context = contextFor(kind, patNo, admDate);
    return print(kind, context);
}

void NursingSheetTest::expectNothingPrintedFor(const std::string &kind, const reports::RowCells &record,
                                               const std::string &status)
{
    const std::size_t before = historyLines().size();
    reports::PrintContext context;
    context.record = record;
    ExpectNoRowsFound(print(kind, context), status);
    EXPECT_EQ(historyLines().size(), before);
}

void NursingSheetTest::expectSummaryAndHistory(const KindPrint &printed, const std::string &kind,
                                               const std::vector<std::string> &summary)
{
    const auto &s = printed.summary;
    ASSERT_EQ((std::vector<std::string>{s.patno, s.meddate, s.dschdate, s.patgubun, s.meddept, s.chadr}),
              summary);
    ASSERT_TRUE(printed.history);
    ASSERT_EQ(reports::SavePrintHistory(*printed.history, kind), 1) << middleware::LastTuxMessage();
    const auto lines = historyLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.front().find(summary[0] + "\t" + summary[1] + "\tempty\tempty\tempty\t" + kind),
              std::string::npos)
        << lines.front();
}

std::string NursingSheetTest::printedText(const engine::Document &doc, const std::string &component)
{
    std::string text;
    for (const auto &line : PrintedLines(doc, component))
        text += withoutBlanks(line);
    return text;
}

void NursingSheetTest::expectPrintedWhole(const KindPrint &printed, const std::vector<std::string> &pdfPages,
                                          const std::map<std::string, std::string> &values)
{
    std::string pdf;
    for (const auto &page : pdfPages)
        pdf += page;
    for (const auto &[component, value] : values) {
        SCOPED_TRACE(component + " = " + value);
        EXPECT_EQ(printedText(*printed.document, component), withoutBlanks(value));
        for (const auto &line : PrintedLines(*printed.document, component))
            EXPECT_NE(pdf.find(withoutBlanks(line)), std::string::npos) << line;
    }
}

void NursingSheetTest::expectCaptions(const std::string &pdfPage, const std::vector<std::string> &captions)
{
    for (const auto &caption : captions) {
        SCOPED_TRACE(caption);
        if (pdfPage.find(withoutBlanks(caption)) != std::string::npos)
            continue;
        // A value printed inside a caption's blanks ("  기타            )") comes between its
        // words in the PDF's text, and words spaced across a row ("머      리") may stand in
        // columns of their own, in any order: each word stands there.
        std::istringstream words(caption);
        for (std::string word; words >> word;)
            EXPECT_NE(pdfPage.find(word), std::string::npos) << word;
    }
}

void NursingSheetTest::expectNothingLost(const std::string &kind, const reports::FieldValues &values)
{
    const FilledSheet sheet(kind, values);
    const engine::Document doc = sheet.layOut();
    ExpectNoLayoutWarnings(doc);
    const reports::RecordKind &k = kindOf(kind);
    for (const reports::FormBindings &form : k.bindings())
        for (const std::string &name : reports::BoundComponents(form.fill)) {
            if (sheet.printsText(name)) {
                SCOPED_TRACE(name);
                EXPECT_EQ(printedText(doc, name), withoutBlanks(sheet.caption(name)));
            }
        }
}

void NursingSheetTest::expectFormCaptionsPrinted(const std::string &kind,
                                                 const std::vector<std::string> &pdfPages)
{
    const reports::RecordKind &k = kindOf(kind);
    ASSERT_EQ(pdfPages.size(), k.forms.size());
    for (std::size_t i = 0; i < k.forms.size(); ++i) {
        SCOPED_TRACE(k.forms[i]);
        const auto bound = reports::BoundComponents(k.bindings()[i].fill);
        auto form = reports::MakeReport(std::string(k.unit), k.forms[i]);
        std::vector<std::string> captions;
        form->forEachComponent([&](engine::Component &c) {
            const auto *label = std::get_if<engine::Label>(&c);
            if (label && label->enabled && !label->caption.empty() &&
                std::find(bound.begin(), bound.end(), label->name) == bound.end())
                captions.push_back(label->caption);
        });
        EXPECT_FALSE(captions.empty());
        expectCaptions(pdfPages[i], captions);
    }
}

} // namespace medrec::testing
