#pragma once

// The code lookups of the screen and the print run, read into plain code/name lists: the
// departments and wards ("MD_DEPTC_L1"), the entries of a common-code group ("MD_MCOMC_L1")
// and the rooms of a ward ("MD_WDRMC_L1").
//
// Each empties the list before it calls, then adds one entry per row. So a failed call (-1,
// its text kept by the call layer) or no rows leave only the empty entry: never the codes of
// an earlier lookup, which would name another patient's department or room.

#include "CodeList.h"

#include <string>

namespace medrec::services {

// Departments: kind "1", qualifier "EB1"; codes "S_CODE1", names "S_CODE2".
int ListDepartments(common::CodeList &list);
// Wards: kind "2", no qualifier.
int ListWards(common::CodeList &list);
// A common-code group ("204"): "S", the group, "000", empty; codes "S_STRING3", names
// "S_STRING6".
int ListCommonCodes(const std::string &group, common::CodeList &list);
// The rooms of a ward: each room number ("S_STRING1") is its own code and name.
int ListWardRooms(const std::string &wardCode, common::CodeList &list);

} // namespace medrec::services
