#include "GeneralSheetRules.h"

#include "FormConventions.h"
#include "NursingSheet.h"
#include "NursingSheetCodes.h"

#include "TextHelpers.h"

#include "report_engine/Report.h"

namespace medrec::reports::general_sheet {

using namespace sheet::codes;

Binding occupation(Source value) { return sheet::codeOrText("qrl_work", std::move(value), 2, kOccupation, 8); }

Binding informant(Source value) { return bind::codeText("qrl_inf", std::move(value), kInformant); }

Binding education(Source value) { return bind::codeText("qrl_adu", std::move(value), kEducation); }

Binding maritalStatus(Source status, Source children)
{
    return sheet::codeAndCount("qrl_merr", std::move(status), std::move(children), kMaritalStatus);
}

Binding religion(Source value) { return bind::codeText("qrl_ChType", std::move(value), kReligion); }

Binding nationality(Source value) { return sheet::trimmedWhen("qrl_Nation", std::move(value), "대한민국"); }

Binding paymentAbility(Source value) { return bind::codeText("qrl_Pay", std::move(value), kPresence); }

Binding welfareCounselling(Source value) { return bind::codeText("qrl_Bokji", std::move(value), kNeed); }

Binding illnessAwareness(Source value) { return bind::codeText("qrl_Know", std::move(value), kPresence); }

Binding race(Source value) { return bind::codeText("qrl_Race", std::move(value), kRace); }

Binding bloodType(Source value, std::string label)
{
    return bind::codeText(std::move(label), std::move(value), kBloodType, "모름");
}

Binding admissionRoute(Source value) { return sheet::codeAndNote("qrl_admcou", std::move(value), kAdmissionRoute, 3); }

Binding admissionMethod(Source value) { return sheet::codeAndNote("qrl_admmeth", std::move(value), kAdmissionMethod, 4); }

Binding stress(Source value) { return bind::codeText("qrl_Stress", std::move(value), kMetabolicStress); }

Binding activity(Source value) { return bind::codeText("qrl_Activest", std::move(value), kActivity); }

Binding orientation(Source value)
{
    return sheet::charCodes({"qrl_pshist1", "qrl_pshist2", "qrl_pshist3"}, std::move(value), kAbsentPresent);
}

Binding admissionHistory(Source value)
{
    return bind::custom({"qrs_admlast1", "qrs_admlast2", "qrl_admlast"}, {value.field},
                        [value](engine::Report &r, const FieldValues &v) {
                            const std::string text = value.read(v);
                            const std::string first = sheet::CharAt(text, 1);
                            const bool had = first == "2";
                            shcbx_pro(r, had ? "qrs_admlast2" : "qrs_admlast1", "Y");
                            r.label("qrl_admlast")
                                .setCaption(had ? common::Trimmed(sheet::CharsFrom(text, 2)) : first == "1" ? "무" : "");
                        });
}

Binding smoking(Source value)
{
    return bind::choiceSquares(std::move(value), {{"1", "qrs_Tabaco"}, {"2", "qrs_noTabaco"}}, Others::White,
                               "qrs_pastTabaco");
}

Binding allergy(Source value)
{
    return bind::choiceSquares(std::move(value), {{"2", "qrs_argyn2"}, {"1", "qrs_argyn1"}}, Others::White);
}

Binding sleepDisturbance(Source value)
{
    return bind::choiceSquares(std::move(value), {{"Y", "qrs_sleep2"}}, Others::White, "qrs_sleep1");
}

Binding sleepingPills(Source value)
{
    return bind::choiceSquares(std::move(value), {{"Y", "qrs_sleepdg2"}}, Others::White, "qrs_sleepdg1");
}

Binding broughtMedication(Source value)
{
    return bind::choiceSquares(std::move(value), {{"Y", "qrs_bringY"}}, Others::White, "qrs_bringN");
}

Binding transfusionRefusal(Source value)
{
    return bind::choiceSquares(std::move(value), {{"1", "qrs_bloody"}, {"2", "qrs_bloodn"}});
}

Binding appetite(Source value)
{
    return bind::numberSquares(std::move(value), {{1, "qrs_eat1"}, {2, "qrs_eat2"}, {3, "qrs_eat3"}}, Others::White);
}

Binding weightChange(Source value)
{
    return bind::numberSquares(std::move(value), {{1, "qrs_wetchg2"}, {2, "qrs_wetchg3"}, {3, "qrs_wetchg1"}},
                               Others::White);
}

Binding dysphagia(Source value)
{
    return bind::numberSquares(std::move(value), {{1, "qrs_Dysphagia1"}, {2, "qrs_Dysphagia2"}});
}

Binding skinCondition(Source value) { return bind::flagSquares(bind::numbered("qrs_skinst", 1, 13), std::move(value)); }

Binding pastHistory(const std::string &field)
{
    return bind::group({bind::flagSquares(bind::numbered("qrs_pthist", 1, 5), field),
                        bind::text("qrl_pthist", {field, bind::chars(6, 60)})});
}

Binding medication(const std::string &field) { return medication(field, Source(field)); }

Binding medication(const std::string &field, Source code)
{
    return bind::group({bind::numberSquares(sheet::FirstChar(code), {{2, "qrs_dgstat2"}, {1, "qrs_dgstat1"}}, Others::White),
                        bind::text("qrl_dgstat", {field, bind::chars(2, 51)})});
}

Binding familyHistory(const std::string &field)
{
    return bind::group({bind::flagSquares(bind::numbered("qrs_famcase", 1, 6), field),
                        bind::text("qrl_famcase", {field, bind::then(bind::chars(7, 61), bind::trimmed())})});
}

Binding operation(const std::string &field) { return operation(field, Source(field)); }

Binding operation(const std::string &field, Source code)
{
    return bind::group({bind::numberSquares(sheet::FirstChar(code), {{2, "qrs_opyn2"}, {1, "qrs_opyn1"}}, Others::White),
                        bind::text("qrl_opnm", {field, bind::chars(2, 250)})});
}

Binding oedema(const std::string &field)
{
    return bind::group({bind::flagSquares(bind::numbered("qrs_neost", 1, 7), field),
                        sheet::optionalFlagsText({"qrs_neost8"}, "qrl_neost", field, 8, true)});
}

Binding respiratory(Source value) { return bind::flagSquares(bind::numbered("qrs_respst", 1, 9), std::move(value)); }

Binding circulation(Source value) { return bind::flagSquares(bind::numbered("qrs_circst", 1, 9), std::move(value)); }

Binding digestion(Source value) { return bind::flagSquares(bind::numbered("qrs_dietst", 1, 12), std::move(value)); }

} // namespace medrec::reports::general_sheet
