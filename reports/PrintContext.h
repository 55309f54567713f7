#pragma once

// What a record kind's print block sees of the main screen, as plain values: the cells of
// the selected record, visit and record-kind rows, the patient panels and the scratch
// tables and code/name lists. The screen copies them in before the block runs (and the
// scratch tables back into its hidden grids afterwards); tests build one directly.

#include "CodeList.h"
#include "GridData.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace medrec::reports {

// The cells of one grid row; empty text past the last column.
class RowCells
{
public:
    RowCells() = default;
    explicit RowCells(std::vector<std::string> cells) : m_cells(std::move(cells)) {}
    const std::string &operator[](int col) const;
    const std::vector<std::string> &all() const { return m_cells; }

private:
    std::vector<std::string> m_cells;
};

struct PatientPanels
{
    std::string patNo;     // ed_PatNo
    std::string name;      // pn_PatName
    std::string sexAge;    // pn_SexAge
    std::string resNo;     // pn_ResNo, shown whole on screen
    std::string birthDate; // pn_birthdate, YYYYMMDD
    std::string address;   // pn_Address
};

// The hidden scratch grids ugd_AllList, ugd_List, ugd_PrintList and ugd_Temp as tables: one
// title row, then the rows a block stages for its report's need-data callback.
struct ScratchTables
{
    common::GridData allList{60, 2, 1};
    common::GridData list{30, 2, 1};
    common::GridData printList{27, 2, 1};
    common::GridData temp{30, 2, 1};
};

// The screen's hidden code/name combo pairs as plain lists. They start empty for every run
// (only their empty entry), so a lookup never finds a code an earlier print left; the block
// that prints with them fills them.
struct CodeNameLists
{
    common::CodeList departments; // cboDeptCD/cboDept, and the screen's other department pairs
    common::CodeList wards;       // combx_RoomCd/combx_Room
    common::CodeList rooms;       // combx_roomno: the rooms of the ward chosen last
    std::map<std::string, common::CodeList, std::less<>> groups; // common-code groups by code ("204")

    // The group's list; an empty one for a group never filled.
    const common::CodeList &group(std::string_view code) const;
};

struct PrintContext
{
    RowCells record; // current row of ugd_RecodDt: 0 patient number, 1 and 2 the further keys
    RowCells visit;  // current row of ugd_History
    RowCells kind;   // current row of ugd_RecodKnd
    PatientPanels patient;
    ScratchTables scratch;
    CodeNameLists codes;
};

} // namespace medrec::reports
