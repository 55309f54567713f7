#include "FieldList.h"

namespace medrec::middleware {

std::string FieldListItem(std::string_view list, int index)
{
    if (index < 0)
        return {};
    int passed = 0;
    std::string current;
    auto visit = [&](char c) -> bool {
        if (c != ';') {
            current.push_back(c);
            return false;
        }
        if (passed == index)
            return true;
        current.clear();
        ++passed;
        return false;
    };
    for (char c : list)
        if (visit(c))
            return current;
    if (list.empty() || list.back() != ';')
        if (visit(';'))
            return current;
    return {};
}

} // namespace medrec::middleware
