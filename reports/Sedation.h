#pragma once

// What the two sedation records share, the pre-assessment sheet ("SRSUVEYT") and the
// treatment record ("SRSEDMST"): answers read at their place in a code string, square pairs
// of which both squares are set on every print, the antithrombotic drug rows, the patient
// lines and the staff names. Their three forms share one page setup (A4 portrait, 10 mm
// margins, Arial 10 pt), which their form files hold.
//
// Every rule here sets every component it names, black or white, text or empty: a form is
// fresh for each print, and even so nothing a rule leaves alone can show an earlier answer.

#include "Bindings.h"
#include "PatientHeader.h"
#include "PrintJob.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace medrec::reports {

class RecordPrint;

namespace sedation {

// The one-letter answer at `position` (1-based, CP949 bytes) of a code string; past the end
// of the string there is no letter (empty text).
Source AnswerAt(std::string field, std::size_t position);

// A yes/no pair: the yes square black when the value is exactly "Y", otherwise the no square.
Binding yesNoSquares(Source source, std::string yes, std::string no);
// Squares chosen by letter: the square of the value's letter black, the others white; no
// letter, or another one, leaves them all white.
Binding letterSquares(Source source, std::vector<std::pair<std::string, std::string>> letterToSquare);
// A square with its note: when the value starts with "Y" the square turns black and the label
// shows the value from character 2 on between `open` and `close`; otherwise the square is
// white and the label empty.
Binding flagAndText(std::string square, std::string label, Source source, std::string open = {},
                    std::string close = {});

// One antithrombotic drug row of a form: the square of the drug taken, the "예" and "아니오"
// squares of "stopped", and the label of the days since it was stopped.
struct DrugRow
{
    std::string taken, stoppedYes, stoppedNo, days;
};

// What a record says of one drug. `stopped` unset leaves both stop squares white.
struct DrugAnswer
{
    bool taken = false;
    std::optional<bool> stopped;
    std::string days;
};

using DrugReading = DrugAnswer (*)(const std::string &value);
// The row from the value of `source`, read by the record's own reading.
Binding drugRow(DrugRow row, Source source, DrugReading read);

// The patient lines: number, name and sex/age from the screen's panels, the registration
// number masked from its panel, the ward from record cell 5; the department is the record's.
void AddPatientLines(RecordPrint &print, const std::string &dept);

// The labels of the patient lines (a form without a registration number names none) and the
// examination name's source.
BindingTable PatientLineBindings(std::string sexAgeLabel, std::string resNoLabel, Source exam);

// The staff name a form prints: "MD_INSAM_L1" "S_STRING2" of the last lookup.
inline constexpr const char *kStaffName = "MD_INSAM_L1.S_STRING2";

// Staff numbers looked up in turn; each lookup puts its name under kStaffName.
class StaffNames
{
public:
    // An empty number is not looked up and its name is empty; a number the staff table does
    // not know gives an empty name and is kept for the status line. A failed call is the
    // block's early exit.
    std::optional<NotPrinted> lookUp(RecordPrint &print, const std::string &number);
    // The status line's text about the numbers not found; empty when every one was.
    std::string status() const;

private:
    std::vector<std::string> m_unknown;
};

} // namespace sedation

} // namespace medrec::reports
