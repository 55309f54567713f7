#pragma once

// The content of the selected record ("MD_RECOD_L3"), asked for by the kind's code, the
// record's patient number (cell 0) and the key cells the kind's record is known by, in order.

#include "FieldValues.h"
#include "PrintJob.h"

#include "report_engine/Report.h"

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

namespace medrec::services {
class Hmdrecodt;
}

namespace medrec::reports {

class RecordPrint;

class RecordContent
{
public:
    RecordContent(std::unique_ptr<services::Hmdrecodt> data, int rows);
    RecordContent(RecordContent &&) noexcept;
    RecordContent &operator=(RecordContent &&) noexcept;
    ~RecordContent();

    int rows() const { return m_rows; }
    // Row `row` as the values "S_STRING1" .. "S_STRING60".
    FieldValues row(int row) const;
    // "S_STRING<field>" of row `row`; empty text past the field's last occurrence.
    const std::string &value(int field, int row) const;

private:
    std::unique_ptr<services::Hmdrecodt> m_data;
    int m_rows = 0;
};

// Up to four key cells go out after the patient number; `whenEmpty` is what no row tells the
// operator.
Fetch<RecordContent> FetchRecordContent(const RecordPrint &print, std::initializer_list<int> keyCells,
                                        Notice whenEmpty = kNothingToPrint);

// The content's first row added to the block's values, or the early exit.
std::optional<NotPrinted> FetchRecordRow(RecordPrint &print, std::initializer_list<int> keyCells,
                                         Notice whenEmpty = kNothingToPrint);

// The one-row kinds whole: the content's first row by the key cells, every form of the kind
// filled from it (after `onCreate`), and the summary labels `summaryOf` reads off the values.
using SummaryOf = PrintedSummary (*)(const RecordPrint &);
BlockResult PrintOneRowRecord(RecordPrint &print, std::initializer_list<int> keyCells, SummaryOf summaryOf,
                              const engine::Report::Hook &onCreate = {});

} // namespace medrec::reports
