#pragma once

// What the nursing sheets' tests share: a sheet's forms filled by its binding tables from
// chosen values (every other value the tables read empty) and the rule cases run on them; a
// sheet printed from the demo data on the real server and read back from its document and
// its PDF.

#include "FieldValues.h"
#include "KindPrinting.h"
#include "PrintJob.h"
#include "RecordKindFixture.h"

#include "Clock.h"

#include "report_engine/Layout.h"
#include "report_engine/Report.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace medrec::testing {

// n Korean syllables ("가가가..."): 2n bytes in CP949, for slices that end inside one.
std::string Syllables(int n);

// Every value the kind's fill tables read, empty: a record with nothing written.
reports::FieldValues EmptySheetValues(const std::string &kind);

// Every form of the kind, fresh from its form file and filled by its fill table.
class FilledSheet
{
public:
    FilledSheet(const std::string &kind, const reports::FieldValues &values);

    // A label's caption, or a memo's lines joined by line breaks.
    std::string caption(const std::string &component) const;
    bool black(const std::string &square) const;
    // Whether the component is an enabled label or memo: it prints what it holds.
    bool printsText(const std::string &component) const;
    // The forms laid out as one document, as a print lays them out.
    engine::Document layOut() const;

private:
    engine::Report &holding(const std::string &name) const;

    std::string m_kind;
    reports::PrintJob m_pages;
};

// What filling the kind's forms from the values throws (a code that is not a number ...);
// empty when they fill.
std::string FillFailure(const std::string &kind, const reports::FieldValues &values);

// One rule of a sheet: the fields set (the others empty), and what the forms show then.
struct SheetRuleCase
{
    std::string what;
    std::map<std::string, std::string> fields;
    std::map<std::string, std::string> captions; // label -> caption
    std::vector<std::string> black;              // squares filled
    std::vector<std::string> white;              // squares left white
};

// Fills the kind's forms for each case and checks what it says.
void ExpectSheetRules(const std::string &kind, const std::vector<SheetRuleCase> &cases);

// The lines a component printed over the whole document, in order.
std::vector<std::string> PrintedLines(const engine::Document &doc, const std::string &component);

// The print stopped before anything was laid out, telling the operator by the status text
// (the sheets' "조회된 데이타가 없습니다." unless the sheet has its own).
void ExpectNoRowsFound(const KindPrint &printed, const std::string &status = "조회된 데이타가 없습니다.");

// Nothing the layout had to cut or leave out.
void ExpectNoLayoutWarnings(const engine::Document &doc);

// Whether the square printed black; a failure when it did not print at all.
bool PrintedBlack(const engine::Document &doc, const std::string &square);

// A sheet printed from the demo data on the real server, ages counted to 2026-12-09.
class NursingSheetTest : public RecordKindTest
{
protected:
    static void SetUpTestSuite() { StartServer(demoData()); }
    static void TearDownTestSuite() { StopServer(); }
    // The demo data, then a data set of the tests' own (a file beside them).
    static void StartServerWithDemoAnd(const std::string &testData);

    // medrec-batch with the arguments, as a clerk reprints for a court (user "COURT"), the
    // documents going to PDF files: its exit status. Returns the pages of each file it wrote,
    // by the patient number the file is named for.
    int printWithBatch(const std::string &args, std::map<std::string, std::size_t> &pagesByPatient);

    // The kind's record of the patient's admission of that day, printed.
    KindPrint printAdmission(const std::string &kind, const std::string &patNo, const std::string &admDate);
    // A record whose admission the sheet's services have no row for: nothing printed and no
    // history row, and the operator told so.
    void expectNothingPrintedFor(const std::string &kind, const reports::RowCells &record,
                                 const std::string &status = "조회된 데이타가 없습니다.");
    // The summary labels the print set (number, admission, discharge, patient type, department,
    // attending), and the history row it writes: number, admission date, "empty" three times.
    void expectSummaryAndHistory(const KindPrint &printed, const std::string &kind,
                                 const std::vector<std::string> &summary);

    // What a component printed, its lines joined and blanks removed.
    static std::string printedText(const engine::Document &doc, const std::string &component);
    // Each value printed whole: the component's printed lines make the value (blanks aside),
    // and each line stands in the PDF's text (`pdfPages` as pdfPages reads them).
    static void expectPrintedWhole(const KindPrint &printed, const std::vector<std::string> &pdfPages,
                                   const std::map<std::string, std::string> &values);
    // Each caption stands in the page's PDF text (blanks aside), or each of its words does.
    static void expectCaptions(const std::string &pdfPage, const std::vector<std::string> &captions);
    // The sheet filled from the values prints every text it is given whole, and the layout
    // cuts nothing: each enabled label and memo the tables fill prints its whole text.
    static void expectNothingLost(const std::string &kind, const reports::FieldValues &values);
    // Every fixed caption of the kind's forms (an enabled label no binding fills) stands in the
    // PDF text of its form's page: form i prints as page i.
    static void expectFormCaptionsPrinted(const std::string &kind, const std::vector<std::string> &pdfPages);

    common::FixedToday m_today{std::chrono::year{2026} / 12 / 9};
};

} // namespace medrec::testing
