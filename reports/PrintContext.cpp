#include "PrintContext.h"

namespace medrec::reports {

const std::string &RowCells::operator[](int col) const
{
    static const std::string empty;
    return col >= 0 && col < static_cast<int>(m_cells.size()) ? m_cells[static_cast<std::size_t>(col)] : empty;
}

const common::CodeList &CodeNameLists::group(std::string_view code) const
{
    static const common::CodeList empty;
    const auto it = groups.find(code);
    return it == groups.end() ? empty : it->second;
}

} // namespace medrec::reports
