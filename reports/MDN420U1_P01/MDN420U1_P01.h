#pragma once

// The nursing record and the emergency nursing record: the notes of one visit printed on one
// form as a dated journal (DatedJournal.h), the day headers counting the hospital day.

#include "RecordKinds.h"

namespace medrec::reports {

BlockResult PrintNursingRecord(RecordPrint &print);
BlockResult PrintEmergencyNursingRecord(RecordPrint &print);
const std::vector<FormBindings> &NursingRecordForms();
const std::vector<FormBindings> &EmergencyNursingRecordForms();

} // namespace medrec::reports
