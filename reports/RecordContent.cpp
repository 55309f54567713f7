#include "RecordContent.h"

#include "RecordPrint.h"

#include "Hmdrecodt.h"

#include <array>
#include <stdexcept>

namespace medrec::reports {

RecordContent::RecordContent(std::unique_ptr<services::Hmdrecodt> data, int rows)
    : m_data(std::move(data)), m_rows(rows)
{
}

RecordContent::RecordContent(RecordContent &&) noexcept = default;
RecordContent &RecordContent::operator=(RecordContent &&) noexcept = default;
RecordContent::~RecordContent() = default;

FieldValues RecordContent::row(int row) const
{
    FieldValues values;
    values.addNumbered("S_STRING", {m_data->recordData.begin(), m_data->recordData.end()},
                       static_cast<std::size_t>(row));
    return values;
}

const std::string &RecordContent::value(int field, int row) const
{
    static const std::string empty;
    const auto &values = m_data->data(field);
    const auto index = static_cast<std::size_t>(row);
    return row >= 0 && index < values.size() ? values[index] : empty;
}

Fetch<RecordContent> FetchRecordContent(const RecordPrint &print, std::initializer_list<int> keyCells,
                                        Notice whenEmpty)
{
    if (keyCells.size() > 4)
        throw std::invalid_argument("a record is asked for by at most four key cells");
    std::array<std::string, 4> keys;
    std::size_t i = 0;
    for (int cell : keyCells)
        keys[i++] = print.cell(cell);
    auto data = std::make_unique<services::Hmdrecodt>();
    const int rows =
        data->GetRecodData(std::string(print.kind.code), print.cell(0), keys[0], keys[1], keys[2], keys[3]);
    if (auto stop = Fetched(rows, std::move(whenEmpty)))
        return *stop;
    return RecordContent(std::move(data), rows);
}

std::optional<NotPrinted> FetchRecordRow(RecordPrint &print, std::initializer_list<int> keyCells, Notice whenEmpty)
{
    auto content = FetchRecordContent(print, keyCells, std::move(whenEmpty));
    if (!content)
        return content.stop();
    print.values.add(content->row(0));
    return std::nullopt;
}

BlockResult PrintOneRowRecord(RecordPrint &print, std::initializer_list<int> keyCells, SummaryOf summaryOf,
                              const engine::Report::Hook &onCreate)
{
    if (auto stop = FetchRecordRow(print, keyCells))
        return *stop;
    PrintJob job = print.sheetJob(onCreate);
    job.summary = summaryOf(print);
    return job;
}

} // namespace medrec::reports
