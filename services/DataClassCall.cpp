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

} // namespace

int RunQuery(const Query &query)
{
    if (!allocate(query.service))
        return -1;
    SetFieldList(query.fieldList);
    SetInputs(0, query.inputs);
    if (!TuxCall(query.service))
        return -1;
    for (const auto &output : query.outputs)
        *output.target = query.sequential ? GetOutputSeq(output.name) : GetOutput(output.name);
    const std::string &countField =
        !query.countField.empty() ? query.countField : (query.outputs.empty() ? std::string() : query.outputs.front().name);
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
