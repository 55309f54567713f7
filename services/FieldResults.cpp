#include "FieldResults.h"

#include <stdexcept>

namespace medrec::services {

FieldResults::FieldResults(std::vector<std::string> names) : m_names(std::move(names))
{
    for (const std::string &name : m_names)
        m_results.emplace(name, ServiceResult{""});
}

const ServiceResult &FieldResults::result(std::string_view field) const
{
    const auto it = m_results.find(field);
    if (it == m_results.end())
        throw std::out_of_range("no output field " + std::string(field));
    return it->second;
}

const std::string &FieldResults::value(std::string_view field, std::size_t row) const
{
    static const std::string empty;
    const ServiceResult &values = result(field);
    return row < values.size() ? values[row] : empty;
}

std::vector<OutputField> FieldResults::outputs()
{
    std::vector<OutputField> targets;
    targets.reserve(m_names.size());
    for (const std::string &name : m_names)
        targets.push_back({name, &m_results.find(name)->second});
    return targets;
}

} // namespace medrec::services
