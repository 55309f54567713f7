#pragma once

// What the tests of the nutrition support reply and the hemodialysis record share: the real
// medrec-server with the demo data and the records of their faults (nutrition-dialysis.json),
// a record of a kind printed, medrec-batch run on that server, and reading the PDF text back.

#include "NursingSheetTesting.h"

#include <string>
#include <vector>

namespace medrec::testing {

class NutritionDialysisTest : public NursingSheetTest
{
protected:
    static void SetUpTestSuite();

    // Record `index` of the kind in the patient's visit day, printed; `used` gets its context.
    KindPrint printRecord(const std::string &kind, const std::string &patNo, const std::string &visitDate,
                          int index, reports::PrintContext *used = nullptr);
    // medrec-batch with the arguments as the user COURT, on a record it must not print: no PDF
    // and no history row. What it wrote to its standard output and error, which tells the
    // operator why.
    std::string batchPrintingNothing(const std::string &args);
    // Each line ("SERVICE\tstored replies\tKEYS") stands in what `medrec-server services` lists.
    static void expectServicesListed(const std::vector<std::string> &lines);

    // Pages from .. to (past the last: to the end) as one text.
    static std::string joined(const std::vector<std::string> &pages, std::size_t from = 0,
                              std::size_t to = std::string::npos);
    static std::size_t occurrences(const std::string &text, const std::string &what);
};

} // namespace medrec::testing
