#pragma once

// What the tests of the two sedation records share: the real medrec-server with the demo
// data and the sedation test records (patient 00007001: a record of every square black, one
// of none, and the faulty ones), and reading a printed document's squares and values.

#include "FlowsheetTestSupport.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace medrec::testing {

class SedationTest : public RecordKindTest
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite() { StopServer(); }

    static constexpr const char *kTestPatient = "00007001";
    static constexpr const char *kTestVisit = "20240520";

    // Record `index` of the kind on the test patient's visit, with the screen's panels.
    reports::PrintContext testRecord(const std::string &kind, int index)
    {
        return contextFor(kind, kTestPatient, kTestVisit, index);
    }
    // Prints it and expects it printed.
    KindPrint printed(const std::string &kind, reports::PrintContext context);
    // Writes the print's history row as the print run does and expects the server's newest
    // row to be `row` (A1 to A5, tab-separated) of the kind.
    void expectHistoryRow(const KindPrint &result, const std::string &kind, const std::string &row);
    // Prints it and expects the print stopped by what() naming `value`, with no PDF and no
    // history row.
    void expectStoppedNaming(const std::string &kind, reports::PrintContext context, const std::string &value);
};

// The squares printed black, and all the squares printed, over the whole document.
std::set<std::string> BlackSquares(const engine::Document &document);
std::set<std::string> Squares(const engine::Document &document);

// Each component's text as printed (its lines joined, blanks removed) equals the value
// (blanks removed), and each line stands in the pages' text.
void ExpectValues(const engine::Document &document, const std::vector<std::string> &pages,
                  const std::map<std::string, std::string> &values);
// Every caption stands on the page (blanks removed).
void ExpectCaptions(const std::string &page, const std::vector<std::string> &captions);

} // namespace medrec::testing
