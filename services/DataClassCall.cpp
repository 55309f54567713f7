#include "DataClassCall.h"

namespace medrec::services {

using namespace middleware;

namespace {

// Allocates the request buffer; on failure frees what was had, keeping the text.
bool allocate(const std::string &service)
{
    if (FmlAlloc(FlavourForService(service)))
        return true;
    FmlFree();
    return false;
}

const std::string &countFieldOf(const Query &query)
{
    static const std::string none;
    if (!query.countField.empty())
        return query.countField;
    return query.outputs.empty() ? none : query.outputs.front().name;
}

// Builds the request and calls; `row` > 0 asks for the rows from there on. False when the
// call failed (the buffers are freed, TuxMessage says why).
bool call(const Query &query, int row, bool *continues)
{
    if (!allocate(query.service))
        return false;
    SetFieldList(query.fieldList);
    SetInputs(0, query.inputs);
    const bool asks = !countFieldOf(query).empty() && SetRowFrom(row);
    if (continues)
        *continues = asks;
    return TuxCall(query.service);
}

ServiceResult read(const Query &query, const std::string &field)
{
    return query.sequential ? GetOutputSeq(field) : GetOutput(field);
}

bool failPiece(std::string why)
{
    SetTuxMessage(std::move(why));
    FmlFree();
    return false;
}

// The occurrences of one reply of an answer in several, appended after the rows of the
// earlier ones: as if they had all come in one reply.
bool appendPiece(const Query &query, int rowsBefore, int rows, std::vector<ServiceResult> &results)
{
    for (std::size_t i = 0; i < query.outputs.size(); ++i) {
        const std::string &field = query.outputs[i].name;
        const int present = FieldOccur(field);
        if (present > rows)
            return failPiece("the reply of " + query.service + " from row " + std::to_string(rowsBefore) + " holds " +
                             std::to_string(present) + " values of " + field + " for " + std::to_string(rows) +
                             " rows; nothing was printed");
        if (present == 0)
            continue;
        ServiceResult piece = read(query, field);
        ServiceResult &all = results[i];
        all.resize(static_cast<std::size_t>(rowsBefore));
        all.insert(all.end(), std::make_move_iterator(piece.begin()),
                   std::make_move_iterator(piece.begin() + present));
    }
    return true;
}

// The rest of an answer whose first reply said more rows follow: asks again from the next
// row until a reply says nothing more, appending each reply's rows in order.
int readContinued(const Query &query, int next)
{
    const std::string &countField = countFieldOf(query);
    std::vector<ServiceResult> results(query.outputs.size());
    int rows = 0;
    for (;;) {
        const int pieceRows = FieldOccur(countField);
        if (pieceRows <= 0 || (next >= 0 && next != rows + pieceRows)) {
            failPiece("the reply of " + query.service + " from row " + std::to_string(rows) + " holds " +
                      std::to_string(pieceRows) + " rows but names row " + std::to_string(next) +
                      " as the next; the rows cannot be put together and nothing was printed");
            return -1;
        }
        if (!appendPiece(query, rows, pieceRows, results))
            return -1;
        rows += pieceRows;
        FmlFree();
        if (next < 0)
            break;
        if (!call(query, rows, nullptr))
            return -1;
        next = ReplyNextRow();
    }
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (results[i].empty())
            results[i].emplace_back();
        *query.outputs[i].target = std::move(results[i]);
    }
    return rows;
}

} // namespace

int RunQuery(const Query &query)
{
    bool continues = false;
    if (!call(query, 0, &continues))
        return -1;
    const int next = continues ? ReplyNextRow() : -1;
    if (next >= 0)
        return readContinued(query, next);
    for (const auto &output : query.outputs)
        *output.target = read(query, output.name);
    const std::string &countField = countFieldOf(query);
    const int rows = countField.empty() ? 0 : FieldOccur(countField);
    FmlFree();
    return rows;
}

int RunUpdate(const std::string &service, const std::string &fieldList,
              const std::vector<std::vector<InputValue>> &rows)
{
    if (!allocate(service))
        return -1;
    SetFieldList(fieldList);
    for (std::size_t i = 0; i < rows.size(); ++i)
        SetInputs(static_cast<int>(i), rows[i]);
    if (!TuxTranCall(service))
        return -1;
    FmlFree();
    return 1;
}

std::vector<std::string> NumberedFields(const std::string &family, int first, int last)
{
    std::vector<std::string> names;
    for (int i = first; i <= last; ++i)
        names.push_back(family + std::to_string(i));
    return names;
}

} // namespace medrec::services
