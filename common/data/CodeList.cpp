#include "CodeList.h"

#include <algorithm>

namespace medrec::common {

CodeList::CodeList()
{
    clear();
}

void CodeList::clear()
{
    m_codes.assign(1, std::string());
    m_names.assign(1, std::string());
}

void CodeList::add(std::string code, std::string name)
{
    m_codes.push_back(std::move(code));
    m_names.push_back(std::move(name));
}

const std::string &CodeList::nameOf(std::string_view code) const
{
    static const std::string none;
    const auto at = std::find(m_codes.begin(), m_codes.end(), code);
    return at == m_codes.end() ? none : m_names[static_cast<std::size_t>(at - m_codes.begin())];
}

bool CodeList::lists(std::string_view code) const
{
    return std::find(m_codes.begin(), m_codes.end(), code) != m_codes.end();
}

} // namespace medrec::common
