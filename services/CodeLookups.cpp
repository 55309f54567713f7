#include "CodeLookups.h"

#include "Hadrmcdct.h"
#include "HmdExCode.h"
#include "HmdMcomct.h"

namespace medrec::services {

namespace {

const std::string &at(const ServiceResult &values, int row)
{
    static const std::string empty;
    const auto index = static_cast<std::size_t>(row);
    return index < values.size() ? values[index] : empty;
}

int fill(int rows, const ServiceResult &codes, const ServiceResult &names, common::CodeList &list)
{
    for (int row = 0; row < rows; ++row)
        list.add(at(codes, row), at(names, row));
    return rows;
}

int listDeptCodes(const std::string &kind, const std::string &qualifier, common::CodeList &list)
{
    list.clear();
    HmdExCode codes;
    return fill(codes.ListDeptCode(kind, qualifier), codes.code, codes.name, list);
}

} // namespace

int ListDepartments(common::CodeList &list)
{
    return listDeptCodes("1", "EB1", list);
}

int ListWards(common::CodeList &list)
{
    return listDeptCodes("2", "", list);
}

int ListCommonCodes(const std::string &group, common::CodeList &list)
{
    list.clear();
    HmdMcomct codes;
    return fill(codes.ListComCode("S", group, "000", ""), codes.entryCode(), codes.entryName(), list);
}

int ListWardRooms(const std::string &wardCode, common::CodeList &list)
{
    list.clear();
    Hadrmcdct rooms;
    return fill(rooms.ListRoom(wardCode), rooms.room, rooms.room, list);
}

} // namespace medrec::services
