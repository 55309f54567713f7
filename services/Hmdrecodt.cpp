#include "Hmdrecodt.h"

namespace medrec::services {

namespace {

template <std::size_t N>
std::vector<OutputField> numbered(std::array<ServiceResult, N> &targets)
{
    std::vector<OutputField> outputs;
    for (std::size_t i = 0; i < N; ++i)
        outputs.push_back({"S_STRING" + std::to_string(i + 1), &targets[i]});
    return outputs;
}

} // namespace

Hmdrecodt::Hmdrecodt()
{
    // A result array is never empty, even before its first call.
    kindList.fill({""});
    recordList.fill({""});
    recordData.fill({""});
}

int Hmdrecodt::ListRecodKnd(const std::string &type, const std::string &patientNo, const std::string &visitDate)
{
    return RunQuery({"MD_RECOD_L1", "S_TYPE2;S_PATNO;S_STRING1", {type, patientNo, visitDate}, numbered(kindList)});
}

int Hmdrecodt::ListRecodDt(const std::string &kindCode, const std::string &patientNo, const std::string &visitDate)
{
    return RunQuery({"MD_RECOD_L2", "S_TYPE1;S_PATNO;S_STRING1", {kindCode, patientNo, visitDate}, numbered(recordList)});
}

int Hmdrecodt::GetRecodData(const std::string &kindCode, const std::string &patientNo, const std::string &key2,
                            const std::string &key3, const std::string &key4, const std::string &key5)
{
    return RunQuery({"MD_RECOD_L3", "S_TYPE1;S_PATNO;S_STRING2;S_STRING3;S_STRING4;S_STRING5",
                     {kindCode, patientNo, key2, key3, key4, key5}, numbered(recordData)});
}

int Hmdrecodt::AddPrintHist(int rows)
{
    std::vector<std::vector<InputValue>> inputs;
    for (int i = 0; i < rows; ++i) {
        std::vector<InputValue> row;
        for (const auto &field : historyInput) {
            const auto index = static_cast<std::size_t>(i);
            row.emplace_back(index < field.size() ? field[index] : std::string());
        }
        inputs.push_back(std::move(row));
    }
    return RunUpdate("MD_RECOD_U1", "S_STRING1;S_STRING2;S_STRING3;S_STRING4;S_STRING5;S_STRING8", inputs);
}

} // namespace medrec::services
