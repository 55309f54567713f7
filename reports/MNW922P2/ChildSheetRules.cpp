#include "ChildSheetRules.h"

#include "MNW921P3/GeneralSheetRules.h"

#include "NursingSheet.h"
#include "NursingSheetCodes.h"

namespace medrec::reports::child_sheet {

using namespace sheet::codes;

Binding nationality(Source korean, Source country)
{
    return sheet::fixedWhen("qrl_Nation", std::move(korean), sheet::TrimmedIsOne, "대한민국", std::move(country));
}

Binding parentOccupation(std::string label, Source value)
{
    return bind::codeText(std::move(label), {value.field, bind::chars(1, 2)}, kChildSheetParentOccupation);
}

Binding admissionRoute(Source value)
{
    return sheet::codeOrText("qrl_admcou", std::move(value), 1, kChildSheetAdmissionRoute, 3);
}

Binding admissionMethod(Source value) { return sheet::codeOrText("qrl_admmeth", std::move(value), 1, kAdmissionMethod, 4); }

Binding consciousness(Source value) { return sheet::textCode("qrl_condst", std::move(value), kConsciousness); }

Binding communication(Source value) { return sheet::textCode("qrl_concom", std::move(value), kCommunication); }

Binding activity(Source value) { return bind::codeText("qrl_Activest", std::move(value), kChildSheetActivity); }

Binding malformation(Source value)
{
    return bind::numberSquares(sheet::FirstChar(value), {{1, "qrs_gihyung1"}, {2, "qrs_gihyung2"}}, Others::White);
}

Binding vaccination(std::string notGiven, std::string given, Source value)
{
    return bind::choiceSquares(std::move(value), {{"Y", std::move(given)}}, Others::White, std::move(notGiven));
}

Binding appetite(Source value) { return bind::codeText("qrl_Appetite", std::move(value), kAppetite); }

Binding weightChange(Source value) { return bind::codeText("qrl_Wetchg", std::move(value), kWeightChange); }

Binding dysphagia(Source value) { return bind::codeText("qrl_Dysphagia", std::move(value), kPresence); }

BindingTable teaching(const TeachingFields &fields)
{
    using bind::flagSquares;
    using bind::numbered;
    std::vector<std::string> wardTour{"qrs_edu2"};
    for (const std::string &item : numbered("qrs_edu", 21, 30))
        wardTour.push_back(item);
    wardTour.push_back("qrs_edu311");
    std::vector<std::string> hospitalTour{"qrs_edu3"};
    for (const std::string &item : numbered("qrs_edu", 31, 36))
        hospitalTour.push_back(item);
    return {
        flagSquares({"qrs_edu1"}, fields.preparation),
        flagSquares(std::move(wardTour), fields.wardFacilities),
        flagSquares(std::move(hospitalTour), fields.hospitalFacilities),
        flagSquares({"qrs_edu4"}, fields.fireSafety),
        flagSquares({"qrs_edu5"}, fields.valuables),
        flagSquares({"qrs_edu6"}, fields.falls),
        flagSquares({"qrs_edu7"}, fields.visiting),
        flagSquares({"qrs_edu8"}, fields.treatment),
        flagSquares(numbered("qrs_Safeedu", 1, 5), fields.patientSafety),
        bind::text("qrme_Eduoth", fields.other),
    };
}

BindingTable dischargePlan(const DischargeFields &fields)
{
    return {
        general_sheet::dischargeLivesWith(fields.livesWith),
        general_sheet::dischargeCarer(fields.carer),
        bind::choiceSquares(fields.place, {{"1", "qrs_Outedu31"}, {"2", "qrs_Outedu32"}, {"3", "qrs_Outedu33"},
                                           {"4", "qrs_Outedu34"}}),
        bind::text("qrl_Outedu3oth", fields.placeOther),
        bind::choiceSquares(fields.contact, {{"1", "qrs_Outedu41"}, {"2", "qrs_Outedu42"}}),
        bind::choiceSquares(fields.target, {{"0", "qrs_Outedu51"}, {"", "qrs_Outedu51"}, {"1", "qrs_Outedu52"},
                                            {"2", "qrs_Outedu53"}}),
    };
}

} // namespace medrec::reports::child_sheet
