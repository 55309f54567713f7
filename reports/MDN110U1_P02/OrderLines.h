#pragma once

// The print lines of the physician order and medication record: the kept orders of one
// order date staged one row each, then two print lines per order (the order line and, under
// it, what was done about it), the administrations of the "B" orders listed on theirs.

#include "PrintJob.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace medrec::common {
class GridData;
}
namespace medrec::services {
class HmdOrderv;
}

namespace medrec::reports {

// One order row of "MD_ORDER_L8", the fields the record uses.
struct OrderRow
{
    std::string seqNo;     // "L_SEQNO1": the key of its administrations
    std::string type;      // "S_CODE5"
    std::string heading;   // "S_CODE6"
    std::string groupKey;  // "S_CODE8"
    std::string physician; // "S_CODE15"
    std::string special;   // "S_CODE16": "SPECIAL" shows the heading within a run
    std::string details;   // "S_CODE18"
    std::string execution; // "S_CODE25": what was done, for an order not of a "B" type
    std::string altName;   // "S_CODE26"
    std::string entryTime; // "S_CODE27"
    std::string name;      // "S_CODE29"
    std::string code30;    // "S_CODE30"
    std::string dcTime;    // "S_STRING3"
};

// One administration row of "MD_ORDER_LD".
struct Administration
{
    std::string at;     // "S_CODE1": characters 7 and 8 print
    std::string time;   // "S_CODE24"
    std::string code;   // "S_CODE8": the legend's letter; blank or ":" is no entry
    std::string remark; // "S_CODE14"
    std::string nurse;  // "S_CODE15"
};

std::vector<OrderRow> OrderRows(const services::HmdOrderv &orders, int rows);
std::vector<Administration> Administrations(const services::HmdOrderv &data, int rows);

// An order of type "D1" or "D2" whose "S_CODE30" is not empty text is left out.
bool IsSkipped(const OrderRow &order);

// The name ("S_CODE29", else "S_CODE26", trimmed) padded with blanks to 44 CP949 bytes, a
// blank, the details trimmed and padded to 100, all trimmed: the details start in one column
// on the fixed-pitch face. A longer name or details stay whole.
std::string OrderText(const OrderRow &order);

// The discontinuation time "09/12:14" as "09 / 12:14": characters 1-2, a blank, 3, a blank,
// 4-8; empty text gives two blanks.
std::string DcTimeText(const std::string &dcTime);

// Each administration with an entry: "(" day ")" time "/" code ["(비고:" remark ")"] "/" nurse,
// after "▶ " and separated by ", "; empty text when none has an entry.
std::string AdministrationText(const std::vector<Administration> &administrations);

// The kept orders into `temp` (a scratch table with one title row), one body row each, in
// order: 0 the heading (only where it changes, or "SPECIAL"), 1 the order text, 2 the
// execution text, 4 the sequence number, 6 the type, 9 the physician, 10 the entry time,
// 15 the discontinuation time. One empty row when every order was left out.
void StageOrders(const std::vector<OrderRow> &orders, common::GridData &temp);

// The print lines of the staged orders into `lines`, from its first body row: each order's
// order line (0 heading, 1 order text, 2 type, 4 sequence number, 5 execution text, 7 "Y",
// 8 physician and 9 entry time unless the heading starts with "≪", 10 the discontinuation
// time) and its execution line (3 "▶ " and the execution text of an order not of a "B"
// type), then one empty row.
void StageOrderLines(const common::GridData &temp, common::GridData &lines);

// The administrations of the order whose sequence number is given, or why the print stops.
using AdministrationsOf = std::function<Fetch<std::vector<Administration>>(const std::string &seqNo)>;

// Completes the execution lines: a "B" order's gets its administrations (asked for order
// after order), any other order with an order text its execution text as delivered. A
// failed look-up stops the whole print: a record printed without the administrations of
// some orders would read as complete. So does a "B" order whose sequence number is not a
// whole number (a box naming "L_SEQNO1"): its administrations cannot be asked for.
std::optional<NotPrinted> CompleteExecutionLines(common::GridData &lines,
                                                 const AdministrationsOf &administrationsOf);

} // namespace medrec::reports
