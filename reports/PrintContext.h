#pragma once

// What a record kind's print block gets from the main screen: the selected rows, the patient
// panels, the scratch grids, the run's data object, and where to show the summary and the
// status. The screen implements it; the batch program drives the same screen.

#include <array>
#include <string>

class QWidget;

namespace medrec::common {
class TUltraGrid;
}
namespace medrec::middleware {
class TStatusBar;
}
namespace medrec::services {
class Hmdrecodt;
}

namespace medrec::reports {

enum class ScratchGrid { AllList, List, PrintList, Temp };

struct PatientPanels
{
    std::string patNo;     // ed_PatNo
    std::string name;      // pn_PatName
    std::string sexAge;    // pn_SexAge
    std::string resNo;     // pn_ResNo, shown whole on screen
    std::string birthDate; // pn_birthdate, YYYYMMDD
};

// The main screen's printed-record summary labels.
struct PrintedSummary
{
    std::string patno, meddate, dschdate, patgubun, meddept, chadr;
};

class PrintContext
{
public:
    virtual ~PrintContext() = default;

    // Cells of the current rows of ugd_RecodDt, ugd_History and ugd_RecodKnd (empty text
    // past the last column).
    virtual std::string recordCell(int col) const = 0;
    virtual std::string visitCell(int col) const = 0;
    virtual std::string kindCell(int col) const = 0;
    virtual PatientPanels patient() const = 0;

    virtual common::TUltraGrid &scratch(ScratchGrid grid) = 0;
    // The run's record data object.
    virtual services::Hmdrecodt &recodt() = 0;

    virtual void setSummary(const PrintedSummary &summary) = 0;
    virtual middleware::TStatusBar *statusBar() = 0;
    // The parent of the progress window, or nullptr.
    virtual QWidget *window() = 0;
};

} // namespace medrec::reports
