#pragma once

// The three physician notes that share one layout: the re-evaluation note ("MDREADMT",
// TMDO540F1_P01), the emergency room note ("MDEMNOTT", TMDO550F1_P01) and the admission note
// ("MDADMNOT", TMDO530F1_P01). One "MD_RECOD_L3" row each: the title and the patient box in
// the page header, the note composed of headed sections in one stretching memo.

#include "RecordKinds.h"

namespace medrec::reports {

BlockResult PrintReEvaluationNote(PrintContext &context);
BlockResult PrintEmergencyNote(PrintContext &context);
BlockResult PrintAdmissionNote(PrintContext &context);

std::vector<FormBindings> ReEvaluationNoteBindings();
std::vector<FormBindings> EmergencyNoteBindings();
std::vector<FormBindings> AdmissionNoteBindings();

// The memo text of each note from its values (the record's "S_STRINGn" and the cells as
// "cellN").
std::string ReEvaluationNoteText(const FieldValues &values);
std::string EmergencyNoteText(const FieldValues &values);
std::string AdmissionNoteText(const FieldValues &values);

} // namespace medrec::reports
