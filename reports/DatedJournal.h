#pragma once

// A dated journal: entries in the order delivered, printed one detail band per wrapped line,
// with a day header band before the first entry and before every entry whose date (as
// delivered) differs from the entry before it. An entry's date and time print on its first
// line, its signature and the rule under it on its last; an entry without text still prints
// one line. Night entries print bold and are wrapped in that weight, so the breaks are the
// printed ones. The nursing records and the progress note are such journals.

#include "Bindings.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace medrec::common {
class GridData;
}
namespace medrec::engine {
class Report;
}

namespace medrec::reports {

// Columns of a staged journal line in the print-line list (ugd_AllList). A kind may stage
// columns of its own beside these.
namespace journal_col {
inline constexpr int kText = 1;   // the entry's text, or the day header's
inline constexpr int kSigner = 2; // who signed the entry
inline constexpr int kDate = 8;   // the entry's date, as delivered
inline constexpr int kTime = 9;   // its time HH:MM, as delivered
inline constexpr int kMark = 11;  // kDayMark on a day header; on an entry the kind's own field
inline constexpr int kColumns = 13;
} // namespace journal_col
inline constexpr const char *kDayMark = "DATE";

// One entry's staged line, journal_col::kColumns cells.
using JournalLine = std::vector<std::string>;
JournalLine JournalEntry(std::string date, std::string time, std::string text, std::string signer,
                         std::string mark);

// Stages the entries in the body of the table (its rows set to fit, one at least), with a
// day header line, its text `dayHeader(date)`, before each change of date.
void StageJournal(common::GridData &table, std::vector<JournalLine> entries,
                  const std::function<std::string(const std::string &date)> &dayHeader);

// An entry prints bold outside the day: its time HH:MM (blanks around allowed) read as the
// number HHMM is not between 0700 and 2200, both excluded; a time that is no such number
// (empty included) prints bold.
bool PrintsBold(std::string_view time);

// The parts of a journal's detail band, by default as the journal forms name them.
struct JournalParts
{
    // Labels: the date and time on an entry's first line, the signer on its last; the text
    // label wraps the entry.
    std::string date = "qrlb_Data1", time = "qrlb_Data2", text = "qrlb_Data4", signer = "qrlb_Data3";
    std::vector<std::string> columnRules{"HLine1", "HLine2", "HLine3"}; // not on a day header
    std::string rowRule = "LineBottom"; // the rule under an entry, on its last line
    std::string dayText;                // the day header's label; none: a bare silver band
};

// The detail table that sets the band for one printed line from its values (the staged
// row's "colN" and the journal's "line.*").
BindingTable JournalBindings(const JournalParts &parts);

// One band record per printed line of the staged table, each set by `lineTable` (the kind's
// JournalBindings); entries wrap at the label `textLabel`.
void FeedJournal(engine::Report &report, common::GridData table, const BindingTable &lineTable,
                 const std::string &textLabel);

} // namespace medrec::reports
