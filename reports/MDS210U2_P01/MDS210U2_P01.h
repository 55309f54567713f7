#pragma once

// The operating-room nursing record: one row of "MD_OPRPT_L1" on a one-page sheet of "√"
// marks, name lists, the four-stage count table and the recording nurse's foot.

#include "RecordKinds.h"

#include <cstdint>
#include <string>
#include <vector>

namespace medrec::reports {

// When a further name of a list counts as there: the surgeons' when not empty, the nurses'
// and anaesthetists' when not blank.
enum class NamePresent { NotEmpty, NotBlank };

// The first name as it stands, then "," and each further name that counts as there, as it
// stands (its blanks kept).
std::string NameList(const std::vector<std::string> &names, NamePresent present);

// The operation's number, record cell 2, sent as an integer. Throws CodeConversionError
// naming the cell when it holds no whole number (blank included): the print stops before
// the service is asked.
std::int32_t OperationNumber(const std::string &cell);

BlockResult PrintOperatingRoomNursingRecord(RecordPrint &print);
const std::vector<FormBindings> &OperatingRoomNursingRecordForms();

} // namespace medrec::reports
