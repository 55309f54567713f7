#include "ErSheetCodes.h"

#include "FormConventions.h"

namespace medrec::reports::er_sheet::codes {

const CodeTexts kZone = {
    {1, "1구역"},
    {2, "2구역"},
    {3, "3구역"},
    {4, "4구역"},
    {5, "소아구역"},
    {6, "관찰실"},
    {7, "처치실"},
    {8, "일반격리실1"},
    {9, "일반격리실2"},
    {10, "음압격리실"},
    {11, "고압산소실"},
    {12, "5구역"},
    {13, "6구역"},
    {14, "7구역"},
    {15, "소아음압격리실"},
    {16, "소아일반격리실"},
    {17, "소아처치실"},
    {18, "소아중증응급환자구역"},
    {19, "소아응급환자진료구역"},
};

const CodeTexts kVisitType = {{1, "자원"}, {2, "전원"}, {3, "외래"}, {4, "기타"}};

const CodeTexts kDiseaseType = {{1, "질병"}, {2, "외상"}, {3, "중독"}, {4, "기타"}, {5, "진료외"}};

const CodeTexts kAccidentType = {
    {0, "미상"}, {1, "교통사고"}, {2, "폭행"},   {3, "낙상"}, {4, "화상"},
    {5, "자상"}, {6, "중독"},     {7, "이물질"}, {8, "미상"}, {9, "기타"},
};

const CodeTexts kTransferReason = {{1, "입원실부족"}, {2, "보호자의 요청"}, {3, "기타"}};

const CodeTexts kTransferMeans = {{1, "일반차량"}, {2, "본원구급차"}, {3, "129"}, {4, "기타"}};

const CodeTexts kAbsentPresent = {{0, "무"}, {1, "유"}};

const CodeTexts kEmergencySymptom = {
    {1, " 급성 의식장애"},
    {2, " 급성 신경학적 이상"},
    {3, " 구토, 의식장애 등의 증상이 있는 두부손상"},
    {4, " 심폐소생술이 필요한 증상"},
    {5, " 급성 호흡곤란"},
    {6, " 심장질환으로 인한 급성 흉통"},
    {7, " 심계항진(Palpitation)"},
    {8, " 박동이상 및 쇼크"},
    {9, " 심한 탈수"},
    {10, " 약물, 알코올 또는 기타 물질의 과다복용이나 중독"},
    {11, " 급성 대사장애(간부전, 신부전, 당뇨병 등)"},
    {12, " 화학물질에 의한 눈의 손상"},
    {13, " 급성 시력손실"},
    {14, " 개복술을 요하는 급성복증(복막염, 장폐색증 등)"},
    {15, " 광범위한 화상(18%이상 범위)"},
    {16, " 관통상, 개방성 골절"},
    {17, " 다발성 골절 또는 대퇴부, 척추 골절"},
    {18, " 사지를 절단할 우려가 있는 혈관손상"},
    {19, " 전신마취하에 응급수술을 요하는 증상"},
    {20, " 다발성 외상"},
    {21, " 계속되는 각혈"},
    {22, " 지혈이 안되는 출혈"},
    {23, " 급성 위장관 출혈"},
    {24, " 얼굴 부종을 동반한 알러지 반응"},
    {25, " 소아 경련선 장애"},
    {26, " 자신 또는 다른 사람을 해할 우려가 있는 정신장애"},
    {27, " 산부인과적 응급증상(분만 또는 성폭력으로 인하여 산부인과적 검사 또는 처치가 필요한 증상)"},
    {28, " 이물에 의한 응급증상(귀,눈,코,항문 등에 이물이 들어가 제거술이 필요한 환자)"},
    {51, " 응급증상으로 진행될 가능성이 있다고 판단되는 증상"},
    {52, " 의식장애, 난청,현훈"},
    {53, " 급성복증을 포함한 배의 전반적인 이상 증상(내과적인 진료만으로 진료과 종결될 수 있는 증상포함)"},
    {54, " 화상(부위에 관계없이 모든 화상을 포함)"},
    {55, " 38℃ 이상인 소아 고열(만8세미만, 야간/공휴일에 한함)"},
    {56, " 골절, 외상, 탈골, 기타 응급수술을 요하는 증상"},
    {57, " 호흡곤란, 과호흡"},
    {58, " 외상(절단, 손상, 상처, 염좌, 긴장, 동상, 교상, 자상, 좌상, 뇌진탕, 적출, 부식, 이물영향 등)"},
    {59, " 혈관손상"},
    {60, " 배뇨장애"},
};

namespace {

using TextCodes = std::initializer_list<std::pair<const char *, const char *>>;

std::string textOf(TextCodes table, const std::string &code, const char *otherwise = "")
{
    for (const auto &[c, text] : table)
        if (code == c)
            return text;
    return otherwise;
}

} // namespace

std::string Consciousness(const std::string &trimmedCode)
{
    return textOf({{"A", "Alert"}, {"V", "Verbal"}, {"P", "Pain"}, {"U", "Unresponse"}}, trimmedCode);
}

std::string PlaceOfDeath(const std::string &code)
{
    return textOf({{"1", "응급실사망"}, {"2", "DOA"}}, code);
}

std::string AfterDeath(const std::string &code)
{
    return textOf({{"1", "영안실이동"}, {"2", "사체귀가"}, {"3", "타원이송"}}, code, "영안실이동");
}

std::string CapacityConfirmed(const std::string &code)
{
    return textOf({{"1", "직접확인"}, {"2", "정보센터"}}, code, "무");
}

std::string AbsentWhenOne(const std::string &code)
{
    return code == "1" ? "무" : "유";
}

std::string TriageLevel(const std::string &level)
{
    const int code = CodeToInt(level);
    if (code >= 1 && code <= 5)
        return "Level" + level;
    return sheet::TextOf({{8, "기타"}, {9, "미상"}}, code);
}

} // namespace medrec::reports::er_sheet::codes
