#pragma once

// Resolving what the operator typed (a patient number or the beginning of a name) into one
// patient through "MD_PATBA_L2", with the patient chooser when several match.

#include <QPointer>

#include <string>
#include <string_view>

class QWidget;

namespace medrec::common {
class TMCC100F1;
}

namespace medrec::app {

// What a typed text asks for.
struct PatientQuery
{
    enum class Kind { Empty, ShortName, ShortNumber, ByName, ByNumber };
    Kind kind = Kind::Empty;
    std::string type;    // "1" by number, "2" by name (before the search mode applies)
    std::string number;  // the number to send: 4 to 8 digits are left-padded with zeros to 8
    std::string name;    // the name to send
    bool padded = false; // a number of 4 to 8 digits, written back padded to 8
};

// Classifies the trimmed text: only digits make a number (at least 4 of them), anything
// else is a name (at least 2 characters, a Korean syllable counting once).
PatientQuery ClassifyPatientText(std::string_view text);

// The service's search type for a query type in a search mode: mode "1" keeps "1"/"2",
// mode "2" turns them into "4"/"5" (patients in hospital now). Other modes keep the type.
std::string SearchType(std::string_view mode, std::string_view type);

// The search itself. input is an edit or a combo box holding the text (any other control
// only gets the focus); a padded number is written back into numberControl. On exactly one
// patient chosen: numberControl, nameControl and sexAgeControl get the patient's number,
// name and "sex/age" text and the result is true. Otherwise false, after the message of the
// case (plain box for short or unknown input, the failure channel for a failed call) with
// the focus back on input. Several patients open the chooser held in chooser; when one is
// still open it is only brought to the front and the result is false.
// The hourglass shows while the service runs; boxes and the chooser come with the normal
// cursor.
bool SearchPatient(QWidget *input, QWidget *numberControl, QWidget *nameControl, QWidget *sexAgeControl,
                   std::string_view mode, QPointer<common::TMCC100F1> &chooser);

} // namespace medrec::app
