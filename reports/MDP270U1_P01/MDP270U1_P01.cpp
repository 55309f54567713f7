#include "MDP270U1_P01.h"

#include "DatedJournal.h"
#include "RecordContent.h"
#include "RecordPrint.h"
#include "PrintContext.h"

#include "DateText.h"
#include "TextHelpers.h"

namespace medrec::reports {

namespace {

// The progress note's own columns of a staged line, beside the journal's.
enum Col {
    kMonthDayTime = 0,
    kField8 = 3,
    kTextCopy = 6,
    kField13 = 7,
    kDateCopy = 10,
    kSignerCopy = 12,
};

// The day header is a bare grey bar.
const JournalParts &journalParts()
{
    static const JournalParts parts;
    return parts;
}

BindingTable headerBindings()
{
    using namespace bind;
    return {
        text("qrlb_PatNo", "S_STRING1"),  text("qrlb_patname", "S_STRING2"), text("qrlb_Resno", "S_STRING3"),
        text("qrlb_sexage", "S_STRING4"), text("qrl_chadr", "S_STRING5"),    text("qrlb_Roomno", "S_STRING6"),
        text("qrlb_Deptnm", "S_STRING15"),
    };
}

} // namespace

void StageProgressNotes(const std::vector<FieldValues> &notes, common::GridData &table)
{
    using common::Trimmed;
    std::vector<JournalLine> lines;
    for (const FieldValues &note : notes) {
        const std::string &date = note["S_STRING7"];
        JournalLine line = JournalEntry(date, note["S_STRING9"], Trimmed(note["S_STRING10"]),
                                        Trimmed(note["S_STRING11"]), Trimmed(note["S_STRING12"]));
        const std::string formatted = common::FmtDate(date);
        line[kMonthDayTime] =
            (formatted.size() >= 10 ? formatted.substr(5, 5) : std::string()) + " " + note["S_STRING9"];
        line[kField8] = Trimmed(note["S_STRING8"]);
        line[kTextCopy] = Trimmed(note["S_STRING10"]);
        line[kField13] = Trimmed(note["S_STRING13"]);
        line[kDateCopy] = date;
        line[kSignerCopy] = Trimmed(note["S_STRING11"]);
        lines.push_back(std::move(line));
    }
    StageJournal(table, std::move(lines), [](const std::string &date) { return common::FmtDate(date); });
}

const std::vector<FormBindings> &ProgressNoteForms()
{
    static const std::vector<FormBindings> forms{
        {.fill = headerBindings(), .detail = JournalBindings(journalParts())}};
    return forms;
}

BlockResult PrintProgressNote(RecordPrint &print)
{
    auto content = FetchRecordContent(print, {1});
    if (!content)
        return content.stop();
    std::vector<FieldValues> notes;
    for (int i = 0; i < content->rows(); ++i)
        notes.push_back(content->row(i));
    common::GridData &staged = print.context.scratch.allList;
    StageProgressNotes(notes, staged);

    const FieldValues &header = notes.front();
    print.values.add(header);
    PrintJob job;
    engine::Report &report = print.addReport(job);
    FeedJournal(report, staged, print.detail(), journalParts().text);
    job.summary = {.meddate = print.cell(1),
                   .dschdate = header["S_STRING17"],
                   .patgubun = "I",
                   .meddept = header["S_STRING15"],
                   .chadr = header["S_STRING16"]};
    return job;
}

} // namespace medrec::reports
