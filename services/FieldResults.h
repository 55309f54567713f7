#pragma once

// The result arrays of one service call kept by output field name, for data classes with
// many numbered outputs ("S_STRING1" .. "S_STRING110"). Every array holds at least one
// element, as a ServiceResult always does.

#include "DataClassCall.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace medrec::services {

class FieldResults
{
public:
    // The outputs the data class reads, in the order it reads them; the first one counts
    // the rows.
    explicit FieldResults(std::vector<std::string> names);

    const std::vector<std::string> &names() const { return m_names; }
    // Throws std::out_of_range for a field the data class does not read.
    const ServiceResult &result(std::string_view field) const;
    // Occurrence `row` of the field; empty text past the last occurrence.
    const std::string &value(std::string_view field, std::size_t row = 0) const;

    // Output targets for RunQuery, one per name.
    std::vector<OutputField> outputs();

private:
    std::vector<std::string> m_names;
    std::map<std::string, ServiceResult, std::less<>> m_results;
};

} // namespace medrec::services
