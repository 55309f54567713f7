#include "DataClassCall.h"

namespace medrec::services {

using namespace middleware;

int RunQuery(const Query &query)
{
    FmlAlloc(FlavourForService(query.service));
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
    FmlAlloc(FlavourForService(service));
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
