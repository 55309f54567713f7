#include "GeneralSheetRules.h"

#include "FormConventions.h"
#include "NursingSheet.h"

#include "TextHelpers.h"

#include "report_engine/Report.h"

namespace medrec::reports::general_sheet {

namespace {

using sheet::CodeTexts;

const CodeTexts kOccupations = {{1, "회사원"}, {2, "전문직"}, {3, "주부"}, {4, "학생"}, {5, "군인"}, {6, "무직"},
                                {7, "자유업"}, {9, "교사"},   {10, "목회자"}, {11, "상업"}, {12, "기타"}};
const CodeTexts kInformants = {{1, "환자"}, {2, "보호자"}};
const CodeTexts kEducation = {{1, "무학"}, {2, "초등졸"}, {3, "중졸"}, {4, "고졸"}, {5, "대졸"}, {6, "대학원졸"}, {7, "기타"}};
const CodeTexts kMaritalStatus = {{1, "기혼"}, {2, "미혼"}, {3, "사별"}, {4, "기타"}};
const CodeTexts kReligions = {{1, "기독교"}, {2, "천주교"}, {3, "불교"}, {4, "원불교"}, {5, "무교"}, {6, "천도교"}};
const CodeTexts kPresence = {{1, "있음"}, {2, "없음"}};
const CodeTexts kNeed = {{1, "필요"}, {2, "불필요"}};
const CodeTexts kRaces = {{1, "황인종"}, {2, "백인종"}, {3, "흑인종"}};
const CodeTexts kBloodTypes = {{1, "A"}, {2, "B"}, {3, "AB"}, {4, "O"}};
const CodeTexts kRoutes = {{1, "외래"}, {2, "응급"}};
const CodeTexts kMethods = {{1, "도보"}, {2, "휠체어"}, {3, "눕는차"}};
const CodeTexts kStress = {
    {1, "해당 사항 없음"},
    {2, "골반골절로 치료중인 자"},
    {3, "만성폐쇄성폐질환의 급성학화기 상태인자"},
    {4, "조절되지 않는 대량복수나 간성뇌증을 동반한 간경변증 환자"},
    {5, "항암화학요법을 위해 입원한 자"},
    {6, "경부나 흉부, 복부의 방사선 치료를 위해 입원한 자"},
    {7, "신 기능 부전으로 혈액투석이나 복막투석 치료중인 자"},
    {8, "개복 또는 개흉 수술 후 3일 이상 금식중인 자"},
    {9, "입원치료를 요하는 급성 뇌경색 환자"},
    {10, "중증 폐렴으로 인해 산소공급을 요하여 침상안정이 필요한 자"},
    {11, "중환자실에서 인공호흡기 치료를 요하는 자"},
};
const CodeTexts kActivities = {{1, "스스로 능동적 운동 가능"},
                               {2, "부분적인 도움이나 보조기구 이용"},
                               {3, "침상 내에서 부분적인 도움으로 수동적 운동"},
                               {4, "부동상태에서 전적의존의 수동적 운동 혹은 체위변경"}};

const CodeTexts kPresent = {{1, "무"}, {2, "유"}};

} // namespace

Binding occupation(Source value) { return sheet::codeOrText("qrl_work", std::move(value), 2, kOccupations, 8); }

Binding informant(Source value) { return bind::codeText("qrl_inf", std::move(value), kInformants); }

Binding education(Source value) { return bind::codeText("qrl_adu", std::move(value), kEducation); }

Binding maritalStatus(Source status, Source children)
{
    return sheet::codeAndCount("qrl_merr", std::move(status), std::move(children), kMaritalStatus);
}

Binding religion(Source value) { return bind::codeText("qrl_ChType", std::move(value), kReligions); }

Binding nationality(Source value) { return sheet::trimmedWhen("qrl_Nation", std::move(value), "대한민국"); }

Binding paymentAbility(Source value) { return bind::codeText("qrl_Pay", std::move(value), kPresence); }

Binding welfareCounselling(Source value) { return bind::codeText("qrl_Bokji", std::move(value), kNeed); }

Binding illnessAwareness(Source value) { return bind::codeText("qrl_Know", std::move(value), kPresence); }

Binding race(Source value) { return bind::codeText("qrl_Race", std::move(value), kRaces); }

Binding bloodType(Source value) { return bind::codeText("qrl_bldtype", std::move(value), kBloodTypes, "모름"); }

Binding admissionRoute(Source value) { return sheet::codeAndNote("qrl_admcou", std::move(value), kRoutes, 3); }

Binding admissionMethod(Source value) { return sheet::codeAndNote("qrl_admmeth", std::move(value), kMethods, 4); }

Binding stress(Source value) { return bind::codeText("qrl_Stress", std::move(value), kStress); }

Binding activity(Source value) { return bind::codeText("qrl_Activest", std::move(value), kActivities); }

Binding orientation(Source value)
{
    return sheet::charCodes({"qrl_pshist1", "qrl_pshist2", "qrl_pshist3"}, std::move(value), kPresent);
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

Binding medication(Source value)
{
    return bind::numberSquares(sheet::FirstChar(value), {{2, "qrs_dgstat2"}, {1, "qrs_dgstat1"}}, Others::White);
}

Binding operation(Source value)
{
    return bind::numberSquares(sheet::FirstChar(value), {{2, "qrs_opyn2"}, {1, "qrs_opyn1"}}, Others::White);
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

Binding dischargeLivesWith(Source value)
{
    return bind::numberSquares(std::move(value), {{1, "qrs_Outedu11"}, {2, "qrs_Outedu12"}});
}

Binding dischargeCarer(Source value)
{
    return bind::numberSquares(std::move(value), {{1, "qrs_Outedu21"}, {2, "qrs_Outedu22"}});
}

Binding dischargeContact(Source value)
{
    return bind::choiceSquares(std::move(value), {{"1", "qrs_Outedu31"}, {"2", "qrs_Outedu32"}});
}

Binding dischargeTeaching(Source value)
{
    return bind::choiceSquares(std::move(value), {{"0", "qrs_Daesang1"}, {"1", "qrs_Daesang2"}, {"2", "qrs_Daesang3"}});
}

} // namespace medrec::reports::general_sheet
