#pragma once

// Department and ward codes ("MD_DEPTC_L1").

#include "DataClassCall.h"

namespace medrec::services {

class HmdExCode
{
public:
    ServiceResult code{""}; // "S_CODE1"
    ServiceResult name{""}; // "S_CODE2"

    // List kind "1" departments (qualifier "EB1"), "2" wards (qualifier empty).
    // -1 failure, else the number of codes.
    int ListDeptCode(const std::string &kind, const std::string &qualifier);
};

} // namespace medrec::services
