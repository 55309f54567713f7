#include "MaternitySheetRules.h"

#include <utility>
#include <vector>

namespace medrec::reports::maternity_sheet {

namespace {

void append(std::vector<std::string> &to, const std::vector<std::string> &names)
{
    to.insert(to.end(), names.begin(), names.end());
}

} // namespace

Binding admissionTeaching(const std::string &field)
{
    using namespace bind;
    // Character i + 1 drives squares[i]; the section squares and 24 have rules of their own.
    std::vector<std::string> squares{"qrs_edu1", ""};
    append(squares, numbered("qrs_edu", 21, 30));
    squares.emplace_back();
    append(squares, numbered("qrs_edu", 31, 36));
    squares.emplace_back();
    append(squares, {"qrs_edu41", "qrs_edu42", "qrs_edu5", "", "qrs_edu7", "qrs_edu8", "qrs_edu9"});
    append(squares, numbered("qrs_Safeedu", 1, 5));
    squares.emplace_back("qrs_edu311");

    std::vector<Binding> rows{flagSquares(std::move(squares), field)};
    const std::pair<std::size_t, const char *> sections[] = {
        {2, "qrs_edu2"}, {13, "qrs_edu3"}, {20, "qrs_edu4"}};
    for (const auto &[position, section] : sections)
        rows.push_back(choiceSquares({field, chars(position, position)}, {{"1", section}}, Others::White));
    return group(std::move(rows));
}

Binding absentPresentWith(const std::string &prefix, const std::string &label, const std::string &field)
{
    using namespace bind;
    return group({flagSquares(numbered(prefix, 1, 2), field), text(label, {field, chars(3)})});
}

} // namespace medrec::reports::maternity_sheet
