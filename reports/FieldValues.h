#pragma once

// The texts a binding table reads, by name: one row of a service's outputs ("S_STRING15"),
// the same under a service prefix where a form mixes services ("MD_PATBA_L2.S_STRING1"),
// the selected record's cells and the patient header. Plain values, filled once per print.

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace medrec::services {
class FieldResults;
}

namespace medrec::reports {

class FieldValues
{
public:
    void set(std::string name, std::string value);
    // Occurrence `row` of every output of the results, under prefix + field name.
    void addRow(const services::FieldResults &results, std::size_t row = 0, std::string_view prefix = {});
    // Numbered fields family1 .. familyN from arrays whose element k-1 holds field k.
    void addNumbered(std::string_view family, const std::vector<std::vector<std::string>> &results, std::size_t row = 0,
                     std::string_view prefix = {});

    bool has(std::string_view name) const;
    // Throws std::out_of_range for a name never set: a misspelt field in a binding table
    // fails the first time the kind prints, never prints empty unnoticed.
    const std::string &operator[](std::string_view name) const;

private:
    std::map<std::string, std::string, std::less<>> m_values;
};

} // namespace medrec::reports
