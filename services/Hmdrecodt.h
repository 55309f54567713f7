#pragma once

// The record catalogue of one visit, the content of one record, and the print history.

#include "DataClassCall.h"

#include <array>

namespace medrec::services {

class Hmdrecodt
{
public:
    static constexpr int kKindFields = 3;
    static constexpr int kListFields = 11;
    static constexpr int kDataFields = 60;
    static constexpr int kHistoryFields = 6;

    // ListRecodKnd: "S_STRING1" name, "S_STRING2" record kind code, "S_STRING3" form code.
    std::array<ServiceResult, kKindFields> kindList;
    // ListRecodDt: "S_STRING1" .. "S_STRING11"; index k-1 holds "S_STRINGk".
    std::array<ServiceResult, kListFields> recordList;
    // GetRecodData: "S_STRING1" .. "S_STRING60"; index k-1 holds "S_STRINGk".
    std::array<ServiceResult, kDataFields> recordData;
    // AddPrintHist inputs, equal lengths, one element per row: "S_STRING1" .. "S_STRING5", "S_STRING8".
    std::array<ServiceResult, kHistoryFields> historyInput;

    Hmdrecodt();

    const ServiceResult &kind(int field) const { return kindList.at(static_cast<std::size_t>(field - 1)); }
    const ServiceResult &list(int field) const { return recordList.at(static_cast<std::size_t>(field - 1)); }
    const ServiceResult &data(int field) const { return recordData.at(static_cast<std::size_t>(field - 1)); }

    int ListRecodKnd(const std::string &type, const std::string &patientNo, const std::string &visitDate);
    int ListRecodDt(const std::string &kindCode, const std::string &patientNo, const std::string &visitDate);
    int GetRecodData(const std::string &kindCode, const std::string &patientNo, const std::string &key2,
                     const std::string &key3, const std::string &key4, const std::string &key5);
    // Writes `rows` rows of historyInput in one transaction: 1 on success, -1 on failure.
    int AddPrintHist(int rows);
};

} // namespace medrec::services
