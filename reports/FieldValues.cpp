#include "FieldValues.h"

#include "FieldResults.h"

namespace medrec::reports {

UnknownValue::UnknownValue(std::string_view name)
    : std::out_of_range("no value named " + std::string(name) + " for the form")
{
}

void FieldValues::set(std::string name, std::string value) { m_values[std::move(name)] = std::move(value); }

void FieldValues::add(const FieldValues &other)
{
    for (const auto &[name, value] : other.m_values)
        m_values[name] = value;
}

void FieldValues::addRow(const services::FieldResults &results, std::size_t row, std::string_view prefix)
{
    for (const std::string &name : results.names())
        set(std::string(prefix) + name, results.value(name, row));
}

void FieldValues::addNumbered(std::string_view family, const std::vector<std::vector<std::string>> &results,
                              std::size_t row, std::string_view prefix)
{
    for (std::size_t i = 0; i < results.size(); ++i) {
        const auto &values = results[i];
        set(std::string(prefix) + std::string(family) + std::to_string(i + 1),
            row < values.size() ? values[row] : std::string());
    }
}

bool FieldValues::has(std::string_view name) const { return m_values.find(name) != m_values.end(); }

const std::string &FieldValues::operator[](std::string_view name) const
{
    const auto it = m_values.find(name);
    if (it == m_values.end())
        throw UnknownValue(name);
    return it->second;
}

} // namespace medrec::reports
