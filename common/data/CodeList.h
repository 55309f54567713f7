#pragma once

// A code list and its name list in parallel, as the screen's code/name combo pairs hold
// them: entry 0 of both is empty text, then one entry per code. A code is turned into its
// name by its position among the codes.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace medrec::common {

class CodeList
{
public:
    CodeList();

    // Back to the one empty entry.
    void clear();
    void add(std::string code, std::string name);

    // The name at the position of the first code equal to `code`; empty text for a code that
    // is not listed (and for empty text, entry 0).
    const std::string &nameOf(std::string_view code) const;
    bool lists(std::string_view code) const;

    // Entries, the empty one included.
    std::size_t size() const { return m_codes.size(); }
    const std::vector<std::string> &codes() const { return m_codes; }
    const std::vector<std::string> &names() const { return m_names; }

private:
    std::vector<std::string> m_codes;
    std::vector<std::string> m_names;
};

} // namespace medrec::common
