#pragma once

// The nursing admission assessment of one admission: the general sheet's ("MD_ADINF_S2") and
// the newborn sheet's ("MD_NBINF_S1"). A data object is filled by one of the two at a time.

#include "FieldResults.h"

namespace medrec::services {

class HmdAdinfd
{
public:
    // GetAdinf: "S_STRING1" .. "S_STRING110". "S_STRING1" is the writing nurse's identifier,
    // the others the sheet's answers.
    FieldResults results{NumberedFields("S_STRING", 1, 110)};
    // GetNbinf: "S_CODE1" .. "S_CODE30", "S_STRING1" .. "S_STRING71", "S_NAME1" .. "S_NAME13";
    // "S_NAME9" is the writer's name.
    FieldResults newborn{newbornFields()};

    // The assessment written for the patient's admission of admDate (YYYYMMDD); type is sent
    // as "S_TYPE1" (the general sheet sends it empty). -1 failure, else the number of rows.
    int GetAdinf(const std::string &patientNo, const std::string &admDate, const std::string &type);
    // The same for a newborn's admission, into `newborn`; rows counted by "S_CODE1".
    int GetNbinf(const std::string &patientNo, const std::string &admDate, const std::string &type);

private:
    static std::vector<std::string> newbornFields();
};

} // namespace medrec::services
