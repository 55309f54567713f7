// The psychiatric nursing information sheet ("MDPYINFT") printed from the real medrec-server
// and the demo data: both pages as one document with every caption and value, the summary and
// the history row; the earlier admission whose codes take the tables' edges (code 0, the
// occupation's code, the retired "적절" square); no row for the admission.
#include "MNW923P2/MNW923P2.h"

#include "NursingSheetTesting.h"

#include <gtest/gtest.h>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

constexpr const char *kKind = "MDPYINFT";

using PsychiatricNursingSheet = mt::NursingSheetTest;

TEST_F(PsychiatricNursingSheet, PrintsBothPagesOfTheDemoRecordWithEveryCaptionAndValue)
{
    const auto printed = printAdmission(kKind, "00004002", "20200217");
    ASSERT_TRUE(printed.printed()) << printed.failure;
    const auto pages = pdfPages(printed.pdf);
    ASSERT_EQ(pages.size(), 2u);
    expectFormCaptionsPrinted(kKind, pages);
    expectCaptions(pages[0],
                   {"※ 전자인증된 서식입니다.", "간호정보조사지", "(정신과)", "SEON MEDICAL CENTER", "환자번호", "이    름",
                    "주민번호", "SEX/AGE", "진 료 과", "주 치 의", "병동/병실", "최초기록일시", "1. 일반적 배경", "입원일:",
                    "담당(작성)간호사 :", "정보제공자 :", "진단명:", "현주소:", "입원시동반자:", "가족", "친척", "기타(",
                    " 결혼여부:", " 연락처:", "1. 자택", "2. H.P", " 직업:", "보호자연락처:", " 경제상태:",
                    "문화적종교적특수성:", "국        적 :", "학력(병역):", "자녀수 :", "종    교:", "수혈거부:", "예",
                    "아니오", "기    타:", "활력증상", "체온:", "℃", "맥박:", "/분", "혈액형:", "체중:", "kg", "신장:",
                    "cm", "호흡:", "혈압:", "mmHg", "사회및 경제상태:", "진료비지불능력:", "사회복지상담:",
                    "2.입원과 관련된 정보", "입원경로:", "외래", "응급실", "전실", "입원방법:", "자의", "보호의무자",
                    "시장,군수,구청장", "응급", "기타", "동의", "주 증 상:", "알레르기:", "무", "유 (", "약물", "항생제",
                    "음식", "  기타                       )", "과거병력:", "고혈압", "당뇨", "결핵", "간염", "암", "기타:",
                    "투약상태:", "가족병력:", "감염", "심정잘환", "종양", "기타 :", "관계 :", "입원및수술경험:",
                    "지참약:", "유", "3.건강과 관련된 정보", "외모 :", "정신운동상태:", "행동과다", "행동저하",
                    "상동행위", "태도:", "협조적", "비협조적", "방어적", "회피적", "적대적", "유혹적", "정서상태:", "적절",
                    "우울", "의기양양", "과민", "불안", "둔감", "불안정", "언어:", "말이많다", "말이없다", "감정적이다",
                    "단조롭다", "불명료하다", "지각장애:", "환청", "환시", "환후", "환촉", "환미", "사고내용:", "망상",
                    "강박사고", "공포", "자살사고", "관계사고", "의식수준:", "명료", "혼돈", "섬망", "혼수", "수면장애:",
                    "수면제복용:", "수면시간 :", "시간/일", "세온병원", "간호정조보사지", "작성자 : "});
    expectCaptions(pages[1],
                   {"지남력 장애:", "시간", "장소", "사람", "기억력 장애:", "먼기억", "최근기억", "판단 및 병식:",
                    "현실에 대한 판단력", "병에 대한 인식", "보호자의 병에 대한 인식", "보호자의 환자에 대한 태도",
                    "순 환 기:", "심계항진", "흉통", "청색증", "호흡곤란", "식음땀", "부정맥", "심잡음", "호 흡 기:",
                    "가래", "기침", "폐잡음", "객혈", "이상호흡음", "소화기계:", "소화장애", "복부팽만", "복부동통",
                    "오심", "구토", "토혈", "점액변", "장음부", "인공장루", "연하곤란", "식  욕:", "체중변화:",
                    "연하곤란:", "대사적스트레스정도:", " 배변:", "음주:", "회/월", "흡연:", "갑/일",
                    "4.입원시 간호 및 교육내용", "입원시 준비물품", "병실내 시설안내", "간호사호출기", "주차장",
                    "가스,전열기구 사용금지 및 화재방지:", "귀중품 관리 및 도난방지", "낙상방지",
                    "보호자 면회 및 식사시간", "지정지료, 진단서발급, 의사회진시간", "환자안전교육", "기타교육사항",
                    "5.초기퇴원계획", "퇴원 후 보호자와 함께 거주합니다.", "퇴원 후 환자가 머무르는 곳",
                    "퇴원시 교육 받기 원하는 대상", "세온병원", "간호정보조사지", "작성자 : "});
    expectPrintedWhole(
        printed, pages,
        {{"qrl_PatNo", "00004002"}, {"qrl_patname", "강하은"}, {"qrl_ci", "970722-2******"}, {"qrl_sex", "F/29세"},
         {"qrl_meddept", "정신건강의학과"}, {"qrl_chadr", "박상철"}, {"qrl_ward", "71-7106"},
         {"qrlb_Frecdate", "2020-02-17 15:05"}, {"QRLabel190", "이수진"}, {"QRLabel125", "이수진"},
         {"qrl_admdate", "2020-02-17"}, {"qrl_nurse", "이수진"}, {"qrl_inf", "모"},
         {"qrl_icd", "양극성 정동장애, 현재 정신병적 양상을 동반한 조증 삽화 (F31.2)"},
         {"qrl_addr", "울산광역시 남구 삼산로 282, 807호"}, {"qrl_withetc", "직장 동료와 이모가 함께 옴"},
         {"qrl_merry", "미혼"}, {"qrl_telno1", "052-275-2290"}, {"qrl_telno2", "010-4482-1937"},
         // the occupation written out after code 8 ends at byte 31, inside "무"
         {"qrl_job", "프리랜서 웹디자이너 (재택 근무"}, {"qrl_Telno3", "052-275-2290"}, {"qrl_Telno4", "010-7719-3382"},
         {"qrl_rich", "중 (부모와 동거, 부친 회사원)"}, {"qrl_Nation", "대한민국"}, {"qrl_edu", "대졸"},
         {"qrl_family", "0"}, {"qrl_religion", "기독교"}, {"qrl_Culturetc", "없음"}, {"qrl_bodytemp", "36.8"},
         {"qrl_pulse", "104"}, {"qrl_bldtype", "O"}, {"qrl_weight", "52.3"}, {"qrl_height", "163.2"},
         {"ed_respcnt", "20"}, {"qrl_bldprehi", "132/84"}, {"qrl_Pay", "있음"}, {"qrl_Bokji", "필요"},
         {"qrl_admpathetc", "타 병원 정신건강의학과 외래에"},
         {"qrme_InSmpt", "2주 전부터 잠을 거의 자지 못하고 말이 많아지며 과도한 쇼핑(카드 사용 약 800만원)과 밤샘 작업이 "
                     "이어짐. 가족이 제지하자 화를 내며 물건을 던지는 행동이 있었고, 최근 3일간 '세상을 구할 사명이 "
                     "있다'는 말을 반복하여 보호자가 외래 경유 입원을 의뢰함."},
         {"qrl_argdg", "할로페리돌 (급성 근긴장 이상 반응)"}, {"qrl_arganti", "없음"}, {"qrl_argfd", "없음"},
         {"qrl_argetc", "라텍스"}, {"qrl_pthist_1", "우울증으로 2017년 본원 외래 치료, 6개월간 항우울제 복용"},
         {"qrl_dgstat", "리튬 300mg 1일 2회, 쿠에티아핀 100mg 취침 전 (입원"},
         {"qrl_famcase", "외조모 양극성 장애로 입원 치료력, 외삼촌 알코올 사용장"}, {"qrl_famrela", "외조모, 외삼촌"},
         {"qrl_opnm", ""},
         {"qrme_View", "머리를 밝은 색으로 염색하고 화려한 복장과 진한 화장을 함. 위생 상태는 양호하나 옷매무새가 "
                   "흐트러져 있고 시선 접촉을 지나치게 오래 유지함."},
         {"qrl_pthist", "병동 복도를 쉬지 않고 걸어 다니며 다른 환자에게 말을 걸고 간섭함, 제지하면 잠시 멈추었다가 다시 "
                    "반복함"},
         {"qrl_think", "과대망상: 자신이 특별한 능력을 가진 예술가로 선택받았다고 믿으며, 텔레비전이 자신에게 신호를 보낸다고 "
                   "함"},
         {"qrl_sleep", "3"}, {"qrl_Appetite", "보통"}, {"qrl_Wetchg", "감소"}, {"qrl_Dysphagia", "없음"},
         {"qrl_Stress", "해당 사항 없음"}, {"qrl_stool", "2일에 1회, 변비 경향"}, {"qrl_drink", "4"},
         {"qrl_tabaco", "0.5"},
         {"qrme_Eduoth", "병동 규칙(면회 시간, 반입 제한 물품, 전화 사용 시간)을 설명하고 보호자에게 서면 안내문을 제공함."
                     "자해 및 타해 위험 물품(끈, 유리, 날카로운 물건) 반입 금지를 교육함."
                     "약물 복용 확인 절차와 임의 중단 시 재발 위험을 환자와 보호자에게 설명함."
                     "수면 위생 교육: 취침 전 카페인 제한, 일정한 기상 시간 유지."},
         {"qrl_Outedu3oth", ""}});
    // Filled on disabled labels: never printed.
    for (const char *hidden : {"qrl_meal", "qrl_hobby", "qrl_fav", "qrl_etc", "qrl_Race"})
        EXPECT_TRUE(mt::PrintedLines(*printed.document, hidden).empty()) << hidden;
    for (const char *hidden : {"불규칙,하루한끼", "커피하루5잔", "그림그리기", "인종:", "황인종", "홍길동"})
        EXPECT_EQ((pages[0] + pages[1]).find(hidden), std::string::npos) << hidden;

    expectSummaryAndHistory(printed, kKind, {"00004002", "20200217", "20200310", "I", "정신건강의학과", "박상철"});
    mt::ExpectNoLayoutWarnings(*printed.document);
}

TEST_F(PsychiatricNursingSheet, CodesAtTheTablesEdgesPrintAsTheSheetReadsThem)
{
    const auto printed = printAdmission(kKind, "00004002", "20161107");
    ASSERT_TRUE(printed.printed()) << printed.failure;
    const auto pages = pdfPages(printed.pdf);
    ASSERT_EQ(pages.size(), 2u);
    expectPrintedWhole(printed, pages,
                       {{"qrl_inf", "본인"}, {"qrl_edu", "한글해독불가"}, {"qrl_job", "주부"}, {"qrl_merry", ""},
                        {"qrl_religion", "기타"}, {"qrl_Nation", "대한민국"}, {"qrl_withetc", ""},
                        {"qrl_admpathetc", ""}, {"qrl_pthist", ""}, {"qrl_think", ""}, {"qrl_dgstat", ""},
                        {"qrl_bldtype", "모름"}, {"qrl_Pay", "없음"}, {"qrl_Bokji", "불필요"},
                        {"qrl_Outedu3oth", "그룹홈 (사회복귀시설)"}, {"QRLabel190", "박미경"}});
    EXPECT_EQ((pages[0] + pages[1]).find("필리핀"), std::string::npos);
    mt::ExpectNoLayoutWarnings(*printed.document);
}

TEST_F(PsychiatricNursingSheet, LongTextsWrapOrGrowTheirBandAndNothingIsLost)
{
    const std::string text = "두 줄을 넘는 긴 기록으로 칸의 폭을 넘어서 이어지는 문장을 적습니다. " +
                             std::string("끝까지 모두 인쇄되어야 합니다. ") + "마지막 문장입니다.";
    reports::FieldValues values = mt::EmptySheetValues(kKind);
    for (int field : {11, 14, 19, 24, 26, 41, 47, 65, 66, 68, 69, 84, 90})
        values.set("S_STRING" + std::to_string(field), text);
    // the companion's, route's and occupation's notes end at byte 31 whatever their length
    for (const auto &[field, flags] : std::vector<std::pair<int, std::string>>{
             {4, "4"}, {5, "3"}, {10, "8"}, {25, "NNNY"}, {31, "NNNNNNY"}, {44, "NNNNNN"}, {45, "2"},
             {46, "NNNNNNN"}, {48, "2"}})
        values.set("S_STRING" + std::to_string(field), flags + text);
    values.set("S_STRING76", text + "\r\n" + text + "\r\n" + text + "\r\n" + text + "\r\n" + text);
    expectNothingLost(kKind, values);
}

TEST_F(PsychiatricNursingSheet, NoRowForTheAdmissionShowsTheStatusTextAndPrintsNothing)
{
    expectNothingPrintedFor(kKind, reports::RowCells({"00004002", "20100301"}));
}

} // namespace
