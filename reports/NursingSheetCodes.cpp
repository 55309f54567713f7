#include "NursingSheetCodes.h"

namespace medrec::reports::sheet::codes {

const CodeTexts kOccupation = {{1, "회사원"}, {2, "전문직"}, {3, "주부"},    {4, "학생"},  {5, "군인"}, {6, "무직"},
                               {7, "자유업"}, {9, "교사"},   {10, "목회자"}, {11, "상업"}, {12, "기타"}};
const CodeTexts kInformant = {{1, "환자"}, {2, "보호자"}};
const CodeTexts kEducation = {{1, "무학"}, {2, "초등졸"}, {3, "중졸"}, {4, "고졸"}, {5, "대졸"}, {6, "대학원졸"}, {7, "기타"}};
const CodeTexts kMaritalStatus = {{1, "기혼"}, {2, "미혼"}, {3, "사별"}, {4, "기타"}};
const CodeTexts kReligion = {{1, "기독교"}, {2, "천주교"}, {3, "불교"}, {4, "원불교"}, {5, "무교"}, {6, "천도교"}};
const CodeTexts kRace = {{1, "황인종"}, {2, "백인종"}, {3, "흑인종"}};
const CodeTexts kBloodType = {{1, "A"}, {2, "B"}, {3, "AB"}, {4, "O"}};
const CodeTexts kAdmissionRoute = {{1, "외래"}, {2, "응급"}};
const CodeTexts kAdmissionMethod = {{1, "도보"}, {2, "휠체어"}, {3, "눕는차"}};
const CodeTexts kMetabolicStress = {
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
const CodeTexts kActivity = {{1, "스스로 능동적 운동 가능"},
                             {2, "부분적인 도움이나 보조기구 이용"},
                             {3, "침상 내에서 부분적인 도움으로 수동적 운동"},
                             {4, "부동상태에서 전적의존의 수동적 운동 혹은 체위변경"}};

const CodeTexts kPresence = {{1, "있음"}, {2, "없음"}};
const CodeTexts kNeed = {{1, "필요"}, {2, "불필요"}};
const CodeTexts kAbsentPresent = {{1, "무"}, {2, "유"}};

const CodeTexts kChildSheetReligion = {{1, "무교"}, {2, "기독교"}, {3, "카톨릭"}, {4, "불교"},
                                       {5, "원불교"}, {6, "천도교"}, {7, "기타"}};
const CodeTexts kChildSheetParentOccupation = {{1, "회사원"}, {2, "전문직"}, {3, "주부"},   {4, "학생"},
                                               {5, "군인"},   {6, "무직"},   {7, "자유업"}, {8, "교사"},
                                               {9, "공무원"}, {10, "목회자"}, {11, "상업"}, {12, "기타"}};
const CodeTexts kChildSheetAdmissionRoute = {{1, "외래"}, {2, "응급실"}};
const CodeTexts kChildSheetActivity = {{1, "자유로움"}, {2, "자유롭지 못함"}};

const CodeTexts kPsychSheetInformant = {{0, "본인"}, {1, "부"},   {2, "모"},   {3, "조부"},
                                        {4, "조모"}, {5, "자녀"}, {6, "기타"}};
// Code 0 prints with its leading blank, as the sheet always printed it.
const CodeTexts kPsychSheetEducation = {{0, " 한글해독불가"}, {1, "국졸이하"}, {2, "중졸"},  {3, "고졸"},
                                        {4, "대졸"},          {5, "대학원이상"}, {6, "기타"}};
const CodeTexts kPsychSheetOccupation = {{1, "회사원"}, {2, "전문직"}, {3, "주부"},   {4, "학생"},
                                         {5, "군인"},   {6, "무직"},   {7, "자유업"}, {9, "기타"}};

const CodeTexts kConsciousness = {{1, "명료"}, {2, "혼돈"}, {3, "반의식"}, {4, "무의식"}};
const CodeTexts kCommunication = {{1, "원만"}, {2, "곤란"}, {3, "불가능"}};
const CodeTexts kAppetite = {{1, "양호"}, {2, "보통"}, {3, "불량"}};
const CodeTexts kWeightChange = {{1, "증가"}, {2, "감소"}, {3, "무"}};

} // namespace medrec::reports::sheet::codes
