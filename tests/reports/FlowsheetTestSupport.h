#pragma once

// What the tests of the measurement flowsheets share: a print from the demo data on the
// real medrec-server whose history row is written as the print run writes it, and the
// checks on the PDF's text.

#include "RecordKindFixture.h"

#include <string>
#include <vector>

namespace medrec::testing {

class FlowsheetTest : public RecordKindTest
{
protected:
    static void SetUpTestSuite() { StartServer(demoData()); }
    static void TearDownTestSuite() { StopServer(); }

    // Prints the record, writes its history rows through "MD_RECOD_U1" and checks that the
    // server holds exactly one new row, for this kind and visit.
    KindPrint printAndRecord(const std::string &kind, reports::PrintContext &context);

    // A context of the demo record with the sex/age panel as the screen shows it.
    reports::PrintContext flowsheet(const std::string &kind, const std::string &patNo,
                                    const std::string &visitDate, int index = 0);
};

// Fills the first `rows` rows and `cols` columns of a scratch table with "STALE", as an
// earlier print might have left them.
void FillWithStale(common::GridData &table, int rows, int cols);

// The table lines the band printed, page by page: each line's named cells left to right as
// "component=text" (trimmed), joined by "|". Cells sharing a top edge make one line; empty
// cells print nothing and are left out.
std::vector<std::vector<std::string>> BandLines(const engine::Document &document, const std::string &band);

// Every text the component printed, in document order (a line each).
std::vector<std::string> ComponentTexts(const engine::Document &document, const std::string &component);

// Whether page `page` (1-based) of the document prints a text element exactly so; for
// captions whose blanks let pdftotext wrap another label's text into them ("이    름").
bool PrintsText(const engine::Document &document, int page, const std::string &text);

// Whether the page's text (blanks removed) holds the text (blanks removed).
bool Shows(const std::string &page, const std::string &text);
// How often it does.
int TimesShown(const std::string &page, const std::string &text);

} // namespace medrec::testing
