#include "MDP270U1_P01.h"

#include "PrintContext.h"
#include "RecordFields.h"
#include "ReportForms.h"
#include "StagedRows.h"

#include "DateText.h"
#include "Hmdrecodt.h"
#include "TextHelpers.h"

#include "report_engine/Report.h"

#include <algorithm>

namespace medrec::reports {

namespace {

constexpr const char *kCode = "MDPGNOTT";
constexpr const char *kUnit = "MDP270U1_P01";
constexpr const char *kForm = "TMDP270F1_P01";

// Columns of the staged rows.
enum Col {
    kMonthDayTime = 0,
    kText = 1,
    kSigner = 2,
    kField8 = 3,
    kTextCopy = 6,
    kField13 = 7,
    kDate = 8,
    kTime = 9,
    kDateCopy = 10,
    kMarker = 11,
    kSignerCopy = 12,
};
constexpr const char *kDateMarker = "DATE";

std::string trimmed(const std::string &text) { return std::string(common::TrimBlanks(text)); }

const BindingTable &headerBindings()
{
    using namespace bind;
    static const BindingTable table = {
        text("qrlb_PatNo", "S_STRING1"),  text("qrlb_patname", "S_STRING2"), text("qrlb_Resno", "S_STRING3"),
        text("qrlb_sexage", "S_STRING4"), text("qrl_chadr", "S_STRING5"),    text("qrlb_Roomno", "S_STRING6"),
        text("qrlb_Deptnm", "S_STRING15"),
    };
    return table;
}

// A date row writes only its date and the marker; a note row always has its date column.
bool isDateRow(const StagedRows &rows) { return rows.cell(kMarker) == kDateMarker && rows.cell(kDate).empty(); }

void showNoteCells(engine::Report &r, bool on)
{
    for (const char *name : {"qrlb_Data1", "qrlb_Data2", "qrlb_Data3", "qrlb_Data4", "HLine1", "HLine2", "HLine3"})
        r.component(name).setEnabled(on);
}

std::vector<std::string> wrapNote(engine::Report &r, const StagedRows &rows)
{
    if (isDateRow(rows))
        return {};
    // Wrapped in the weight the lines print in, so a bold line never runs past the column.
    r.label("qrlb_Data4").setBold(IsNightNote(trimmed(rows.cell(kTime))));
    return r.wrapLines("qrlb_Data4", trimmed(rows.cell(kText)));
}

void fillLine(engine::Report &r, const LineStep &step)
{
    engine::Band &band = r.band("band_Detail");
    if (isDateRow(step.rows)) {
        band.setColor(engine::Color::silver());
        showNoteCells(r, false);
        r.line("LineBottom").setEnabled(true);
        return;
    }
    band.setColor(engine::Color::white());
    showNoteCells(r, true);
    r.label("qrlb_Data1").setCaption(step.first() ? common::FmtDate(trimmed(step.rows.cell(kDate))) : "");
    r.label("qrlb_Data2").setCaption(step.first() ? trimmed(step.rows.cell(kTime)) : "");
    r.label("qrlb_Data4").setCaption(step.text);
    // The signature and the row's bottom rule on its last line only.
    r.label("qrlb_Data3").setCaption(step.last() ? trimmed(step.rows.cell(kSigner)) : "");
    r.line("LineBottom").setEnabled(step.last());
}

} // namespace

bool IsNightNote(const std::string &time)
{
    // HHMM from HH:MM; anything but digits counts as 0.
    const std::string key = time.substr(0, std::min<std::size_t>(2, time.size())) +
                            (time.size() > 3 ? time.substr(3, 2) : std::string());
    int value = 0;
    if (!key.empty() && std::all_of(key.begin(), key.end(), [](unsigned char c) { return c >= '0' && c <= '9'; }))
        value = std::stoi(key);
    return !(value > 700 && value < 2200);
}

void StageProgressNotes(const std::vector<FieldValues> &notes, common::GridData &table)
{
    int last = table.fixedRows() - 1; // the last row written; the title row at first
    for (const FieldValues &note : notes) {
        const std::string &date = note["S_STRING7"];
        if (table.cell(kDate, last) != date || last < table.fixedRows()) {
            table.setRowCount(last + 2);
            ++last;
            table.setCell(kText, last, common::FmtDate(date));
            table.setCell(kMarker, last, kDateMarker);
        }
        table.setRowCount(last + 2);
        ++last;
        const std::string formatted = common::FmtDate(date);
        table.setCell(kMonthDayTime, last,
                      (formatted.size() >= 10 ? formatted.substr(5, 5) : std::string()) + " " + note["S_STRING9"]);
        table.setCell(kText, last, trimmed(note["S_STRING10"]));
        table.setCell(kSigner, last, trimmed(note["S_STRING11"]));
        table.setCell(kField8, last, trimmed(note["S_STRING8"]));
        table.setCell(kTextCopy, last, trimmed(note["S_STRING10"]));
        table.setCell(kField13, last, trimmed(note["S_STRING13"]));
        table.setCell(kDate, last, date);
        table.setCell(kTime, last, note["S_STRING9"]);
        table.setCell(kDateCopy, last, date);
        table.setCell(kMarker, last, trimmed(note["S_STRING12"]));
        table.setCell(kSignerCopy, last, trimmed(note["S_STRING11"]));
    }
}

std::vector<FormBindings> ProgressNoteBindings() { return {{kForm, headerBindings()}}; }

BlockResult PrintProgressNote(PrintContext &context)
{
    const std::string &patNo = context.record[0];
    services::Hmdrecodt data;
    const int rows = data.GetRecodData(kCode, patNo, context.record[1], "", "", "");
    if (auto stop = Fetched(rows, kNothingToPrint))
        return *stop;

    std::vector<FieldValues> notes;
    for (int i = 0; i < rows; ++i)
        notes.push_back(RecordFields(data, static_cast<std::size_t>(i)));
    common::GridData &staged = context.scratch.allList;
    StageProgressNotes(notes, staged);

    const FieldValues &header = notes.front();
    PrintJob job;
    engine::Report &report = job.add(MakeReport(kUnit, kForm));
    ApplyBindings(report, headerBindings(), header);
    FeedLines(report, staged, &wrapNote, &fillLine);
    job.summary = {patNo, context.record[1], header["S_STRING17"], "I", header["S_STRING15"], header["S_STRING16"]};
    job.history = {{patNo, context.record[1]}};
    return job;
}

} // namespace medrec::reports
