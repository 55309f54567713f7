#include "AssessmentRules.h"

#include "FormConventions.h"

namespace medrec::reports {

namespace {

int number(std::string_view value) { return CodeToInt(std::string(value)); }

// "외래(" + the rest + ")" for the code of the first character.
std::string codeAndNote(std::string_view value, std::initializer_list<CodeText> bracketed, int alone)
{
    const int code = NumberAt(value, 1);
    const std::string rest = CharsFrom(value, 2);
    if (code == alone)
        return rest;
    const std::string name = TextOf(bracketed, code);
    return name.empty() ? std::string() : name + "(" + rest + ")";
}

} // namespace

std::string OccupationText(std::string_view value)
{
    const int code = CodeToInt(Chars(value, 1, 2));
    if (code == 8)
        return CharsFrom(value, 3);
    return TextOf({{1, "회사원"}, {2, "전문직"}, {3, "주부"}, {4, "학생"}, {5, "군인"}, {6, "무직"}, {7, "자유업"},
                   {9, "교사"}, {10, "목회자"}, {11, "상업"}, {12, "기타"}},
                  code);
}

std::string InformantText(std::string_view value) { return TextOf({{1, "환자"}, {2, "보호자"}}, number(value)); }

std::string EducationText(std::string_view value)
{
    return TextOf({{1, "무학"}, {2, "초등졸"}, {3, "중졸"}, {4, "고졸"}, {5, "대졸"}, {6, "대학원졸"}, {7, "기타"}},
                  number(value));
}

std::string MaritalText(std::string_view status, std::string_view children)
{
    return TextOf({{1, "기혼"}, {2, "미혼"}, {3, "사별"}, {4, "기타"}}, number(status)) + "/" + std::string(children);
}

std::string ReligionText(std::string_view value)
{
    return TextOf({{1, "기독교"}, {2, "천주교"}, {3, "불교"}, {4, "원불교"}, {5, "무교"}, {6, "천도교"}}, number(value));
}

std::string NationalityText(std::string_view value)
{
    return Trimmed(value) == "대한민국" ? std::string("대한민국") : std::string(value);
}

std::string PresenceText(std::string_view value) { return TextOf({{1, "있음"}, {2, "없음"}}, number(value)); }

std::string WelfareText(std::string_view value) { return TextOf({{1, "필요"}, {2, "불필요"}}, number(value)); }

std::string RaceText(std::string_view value)
{
    return TextOf({{1, "황인종"}, {2, "백인종"}, {3, "흑인종"}}, number(value));
}

std::string BloodTypeText(std::string_view value)
{
    return TextOf({{1, "A"}, {2, "B"}, {3, "AB"}, {4, "O"}}, number(value), "모름");
}

std::string AdmissionRouteText(std::string_view value) { return codeAndNote(value, {{1, "외래"}, {2, "응급"}}, 3); }

std::string AdmissionMethodText(std::string_view value)
{
    return codeAndNote(value, {{1, "도보"}, {2, "휠체어"}, {3, "눕는차"}}, 4);
}

std::string StressText(std::string_view value)
{
    return TextOf({{1, "해당 사항 없음"},
                   {2, "골반골절로 치료중인 자"},
                   {3, "만성폐쇄성폐질환의 급성학화기 상태인자"},
                   {4, "조절되지 않는 대량복수나 간성뇌증을 동반한 간경변증 환자"},
                   {5, "항암화학요법을 위해 입원한 자"},
                   {6, "경부나 흉부, 복부의 방사선 치료를 위해 입원한 자"},
                   {7, "신 기능 부전으로 혈액투석이나 복막투석 치료중인 자"},
                   {8, "개복 또는 개흉 수술 후 3일 이상 금식중인 자"},
                   {9, "입원치료를 요하는 급성 뇌경색 환자"},
                   {10, "중증 폐렴으로 인해 산소공급을 요하여 침상안정이 필요한 자"},
                   {11, "중환자실에서 인공호흡기 치료를 요하는 자"}},
                  number(value));
}

std::string ActivityText(std::string_view value)
{
    return TextOf({{1, "스스로 능동적 운동 가능"},
                   {2, "부분적인 도움이나 보조기구 이용"},
                   {3, "침상 내에서 부분적인 도움으로 수동적 운동"},
                   {4, "부동상태에서 전적의존의 수동적 운동 혹은 체위변경"}},
                  number(value));
}

std::string OrientationText(std::string_view value, int position)
{
    return TextOf({{1, "무"}, {2, "유"}}, NumberAt(value, position));
}

SquareFills SmokingSquares(std::string_view value)
{
    return TextChoiceSquares(value, {{"1", "qrs_Tabaco"}, {"2", "qrs_noTabaco"}}, "qrs_pastTabaco");
}

SquareFills AllergySquares(std::string_view value)
{
    return TextChoiceSquares(value, {{"1", "qrs_argyn1"}, {"2", "qrs_argyn2"}});
}

SquareFills MedicationSquares(std::string_view value)
{
    return ChoiceSquares(NumberAt(value, 1), {{1, "qrs_dgstat1"}, {2, "qrs_dgstat2"}});
}

SquareFills OperationSquares(std::string_view value)
{
    return ChoiceSquares(NumberAt(value, 1), {{1, "qrs_opyn1"}, {2, "qrs_opyn2"}});
}

SquareFills SleepSquares(std::string_view value)
{
    return TextChoiceSquares(value, {{"Y", "qrs_sleep2"}}, "qrs_sleep1");
}

SquareFills SleepingPillSquares(std::string_view value)
{
    return TextChoiceSquares(value, {{"Y", "qrs_sleepdg2"}}, "qrs_sleepdg1");
}

SquareFills BroughtMedicationSquares(std::string_view value)
{
    return TextChoiceSquares(value, {{"Y", "qrs_bringY"}}, "qrs_bringN");
}

SquareFills TransfusionRefusalSquares(std::string_view value)
{
    return TextChoiceSquares(value, {{"1", "qrs_bloody"}, {"2", "qrs_bloodn"}});
}

SquareFills AppetiteSquares(std::string_view value)
{
    return ChoiceSquares(number(value), {{1, "qrs_eat1"}, {2, "qrs_eat2"}, {3, "qrs_eat3"}});
}

SquareFills WeightChangeSquares(std::string_view value)
{
    return ChoiceSquares(number(value), {{1, "qrs_wetchg2"}, {2, "qrs_wetchg3"}, {3, "qrs_wetchg1"}});
}

SquareFills DysphagiaSquares(std::string_view value)
{
    return ChoiceSquares(number(value), {{1, "qrs_Dysphagia1"}, {2, "qrs_Dysphagia2"}});
}

SquareFills SkinConditionSquares(std::string_view flags)
{
    return FlagSquares(flags, {"qrs_skinst1", "qrs_skinst2", "qrs_skinst3", "qrs_skinst4", "qrs_skinst5",
                               "qrs_skinst6", "qrs_skinst7", "qrs_skinst8", "qrs_skinst9", "qrs_skinst10",
                               "qrs_skinst11", "qrs_skinst12", "qrs_skinst13"});
}

AdmissionHistory AdmissionHistoryOf(std::string_view value)
{
    const std::string first = CharAt(value, 1);
    if (first == "2")
        return {{{"qrs_admlast2", true}}, Trimmed(CharsFrom(value, 2))};
    return {{{"qrs_admlast1", true}}, first == "1" ? "무" : ""};
}

} // namespace medrec::reports
