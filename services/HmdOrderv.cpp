#include "HmdOrderv.h"

#include <initializer_list>
#include <utility>

namespace medrec::services {

namespace {

std::vector<std::string> outputNames(std::initializer_list<std::pair<int, int>> stringRanges)
{
    std::vector<std::string> names{"L_SEQNO1"};
    const auto codes = NumberedFields("S_CODE", 1, 30);
    names.insert(names.end(), codes.begin(), codes.end());
    for (const auto &[first, last] : stringRanges) {
        const auto strings = NumberedFields("S_STRING", first, last);
        names.insert(names.end(), strings.begin(), strings.end());
    }
    return names;
}

} // namespace

HmdOrderv::HmdOrderv() : m_results(std::vector<std::string>{}) {}

int HmdOrderv::ListOrders(const std::string &patNo, const std::string &orderDate, const std::string &dept)
{
    m_results = FieldResults(outputNames({{1, 11}}));
    return RunQuery({.service = "MD_ORDER_L8",
                     .fieldList = "S_TYPE1;S_TYPE2;S_TYPE3;S_TYPE4;S_TYPE5",
                     .inputs = {std::string("3"), patNo, orderDate, dept, std::string("EB1")},
                     .outputs = m_results.outputs(),
                     .countField = "S_CODE1"});
}

int HmdOrderv::ListAdministrations(const std::string &patNo, const std::string &orderDate,
                                   const std::string &seqNo)
{
    m_results = FieldResults(outputNames({{1, 42}, {49, 65}, {68, 68}}));
    return RunQuery({.service = "MD_ORDER_LD",
                     .fieldList = "S_TYPE1;S_TYPE2;S_TYPE3;S_TYPE4",
                     .inputs = {std::string("6"), patNo, orderDate, seqNo},
                     .outputs = m_results.outputs(),
                     .countField = "S_CODE1",
                     .sequential = true});
}

} // namespace medrec::services
