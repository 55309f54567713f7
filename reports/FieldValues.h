#pragma once

// The texts a binding table reads, by name (the names are those of ContextValues.h): the
// context's values, the rows of the kind's services, a staged row's cells. Plain values,
// filled once per print.

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace medrec::services {
class FieldResults;
}

namespace medrec::reports {

// A binding read a value nobody set: a misspelt name in a table.
class UnknownValue : public std::out_of_range
{
public:
    explicit UnknownValue(std::string_view name);
};

class FieldValues
{
public:
    void set(std::string name, std::string value);
    // Every value of `other`, replacing those of the same name.
    void add(const FieldValues &other);
    // Occurrence `row` of every output of the results, under prefix + field name.
    void addRow(const services::FieldResults &results, std::size_t row = 0, std::string_view prefix = {});
    // Numbered fields family1 .. familyN from arrays whose element k-1 holds field k.
    void addNumbered(std::string_view family, const std::vector<std::vector<std::string>> &results, std::size_t row = 0,
                     std::string_view prefix = {});

    bool has(std::string_view name) const;
    // Throws UnknownValue for a name never set: a misspelt name in a binding table fails the
    // binding check, and never prints empty unnoticed.
    const std::string &operator[](std::string_view name) const;

private:
    std::map<std::string, std::string, std::less<>> m_values;
};

} // namespace medrec::reports
