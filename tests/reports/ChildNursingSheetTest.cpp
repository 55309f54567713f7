// The child nursing information sheet ("MDPDINFT") printed from the real medrec-server and the
// demo data: both pages as one document with every caption and value, the summary and the
// history row; the early admission whose codes take the tables' edges; no row for the
// admission.
#include "MNW922P2/MNW922P2.h"

#include "NursingSheetTesting.h"

#include <gtest/gtest.h>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

constexpr const char *kKind = "MDPDINFT";

using ChildNursingSheet = mt::NursingSheetTest;

TEST_F(ChildNursingSheet, PrintsBothPagesOfTheDemoRecordWithEveryCaptionAndValue)
{
    const auto printed = printAdmission(kKind, "00004003", "20210809");
    ASSERT_TRUE(printed.printed()) << printed.failure;
    const auto pages = pdfPages(printed.pdf);
    ASSERT_EQ(pages.size(), 2u);
    expectFormCaptionsPrinted(kKind, pages);
    expectCaptions(pages[0],
                   {"※ 전자인증된 서식입니다.", "간호정보조사지", "(소아)", "SEON MEDICAL CENTER", "환자번호", "이    름",
                    "주민번호", "SEX/AGE", "진 료 과", "주 치 의", "병동/병실", "최초기록일시", "1. 일반정보", "입원일 :",
                    "담당(작성)간호사 :", "정보제공자 :", "진단명 :", "분만형태 :", "의사", "C/S", "Vaccum Extraction",
                    "기타 :", "분만개조자 :", "NSVD", "조산사", "연락처 :", "1. 자택", "2. H.P", "사회및 경제상태",
                    "진료비지불능력:", "보호자연락처:", "사회복지상담:", "출생시체중 :", "Kg", "현재 체중 :",
                    "문화적종교적특수성", "국        적:", "종        교:", "수혈거부:", "예", "아니오", "기        타:",
                    "  부모직업 :", "부", "모", "  부모종교 :", "  분만병원 :", "2.입원과 관련된정보", "입원경로 :",
                    "입원방법 :", "활력징후", "혈압", "mm/hg", "맥박", "회/분", "호흡", "체온", "℃", "신장", "Cm",
                    "혈액형", "  입원력 :", "유(", "무", "주 증 상 :", "발 병 일 :", "과거병력 :", "투약상태 :",
                    "알레르기 :", "약물:", "항생제:", "음식:", "기타:", "가족병력 :", "결핵", "당뇨", "고혈압", "감염",
                    "심정잘환", "종양", "관계 :", "수술경험 :", "지참약 :", "3.건강과 관련돤 정보", "지 남 력 :",
                    "사람:", "장소:", "시간:", "의식상태 :", "의사소통 :", "활동상태 :", "특별한습관 :", "정서상태 :",
                    "안정", "불안", "분노", "우울", "흥분", "보챔", "식사습관 :", "일반식", "모유수유", "인공수유",
                    "이유식", "기    형 :", "부위 :", "보조기구:", "순 환 기 :", "심계항진", "흉통", "청색증",
                    "호흡곤란", "식음땀", "부정맥", "심잡음", "호 흡 기 :", "가래", "기침", "폐잡음", "객혈",
                    "이상호흡음", "소 화 기 :", "소화장애", "복부팽만", "복통", "오심", "구토", "토혈", "장음소실",
                    "배    설 :", "대변 :", "회/일", "정상", "설사", "변비", "혈변", "점액변", "소변 :", "빈뇨", "핍뇨",
                    "혈뇨", "야뇨", "실금", "배뇨곤란", "통    증 :", "머리", "가슴", "배", "등", "팔", "다리", "양상 :",
                    "세온병원", "작성자:"});
    expectCaptions(pages[1],
                   {"피부상태 :", "비정상", "부위 :", "피부손상 :", "창백", "황달", "가려움증", "두드러기", "반점",
                    "시력장애 :", "안경", "콘택트렌즈", "의안", "청각장애 :", "청력저하", "보청기", "이명", "청각상실",
                    "부    종 :", "전신", "사지", "상지", "하지", "얼굴", "안검", "치    아 :", "양호", "충치", "유치",
                    "영구치", "식  욕:", "체중변화:", "연하곤란:", "대사적스트레스정도:", "예방접종과 관련된 정보",
                    "DPT 혹은 DT :", "추가", "소아마비 :", "간    염 :", "홍  역 :", "안함", "시행함", "볼거리 :",
                    "BCG :", "기    타 :", "4.입원시 간호 및 교육내용", "입원시 준비물품", "병실내 시설안내", "침대",
                    "침상식탁", "침상등", "전화", "TV", "냉장고", "주방", "정수기", "욕실", "화장실", "간호사호출기",
                    "주차장", "은행", "매점", "식당", "공중전화", "인터넷", "가스,전열기구 사용금지 및 화재방지:",
                    "귀중품 관리 및 도난방지", "낙상방지", "보호자 면회 및 식사시간",
                    "지정지료, 진단서발급, 의사회진시간", "환자안전교육", "낙상예방", "욕창예방", "고충처리접수방법",
                    "의료폐기물분리수거", "환자권리장전", "기타교육사항", "5.초기퇴원계획", "퇴원과 관련된 정보",
                    "퇴원 후 보호자와 함께 거주합니다.", "퇴원 후 지속적으로 간호를 제공할 보호자 또는 간병인이 있습니다.",
                    "퇴원 후 환자가 머무르는 곳", "자택", "타기관", "요양병원", "건강관리에 대한 정보 제공",
                    "퇴원시 보호자 연락이 필요합니다.", "퇴원시 교육 받기 원하는 대상", "환자와 보호자", "세온병원",
                    "간호정보조사지", "작성자:"});
    expectPrintedWhole(
        printed, pages,
        {{"qrl_PatNo", "00004003"}, {"qrl_patname", "조도윤"}, {"qrl_ci", "150408-3******"}, {"qrl_sex", "M/11Y8M"},
         {"qrl_meddept", "소아청소년과"}, {"qrl_chadr", "정수연"}, {"qrl_ward", "51-5107"},
         {"qrlb_Frecdate", "2021-08-09 16:20"}, {"QRLabel190", "김은영"}, {"qlb_edtnurnm1", "김은영"},
         {"qrl_admdate", "2021-08-09"}, {"qrl_nurse", "김은영"}, {"qrl_inf", "보호자"},
         {"qrl_icd", "급성 세기관지염 및 경도 탈수 (J21.9, E86.0)"},
         {"qrl_bunform", "흡인분만, 출생 직후 신생아 중환자실에서 하루 관찰"}, {"qrl_bungaejo", ""},
         {"qrl_telno1", "044-862-4580"}, {"qrl_telno2", "010-3321-7788"}, {"qrl_Telno3", "044-862-4580"},
         {"qrl_Telno4", "010-5567-1209"}, {"qrl_Pay", "있음"}, {"qrl_Bokji", "불필요"}, {"qrl_bweight", "3.24"},
         {"qrl_aweight", "21.5"}, {"qrl_Nation", "대한민국"}, {"QRLabel284", "무교"},
         {"qrl_Culturetc", "어머니가 베트남 출신으로 한국어 의사소통 가능, 통역 불필요"}, {"qrl_Job1", "전문직"},
         {"qrl_Job2", "교사"}, {"qrl_reg1", "기독교"}, {"qrl_reg2", "카톨릭"}, {"qrl_Hosptal", "세온병원 산부인과"},
         {"qrl_admcou", "응급실"}, {"qrl_admmeth", "엄마 품에 안겨서 병동으로 이동"}, {"qrl_bldpres", "98/62"},
         {"qrl_hrtbt", "128"}, {"qrl_insp", "34"}, {"qrl_therm", "38.4"}, {"qrl_height", "116.5"},
         {"qrl_bldtype", "A"}, {"qrl_IpHis", "생후 6개월 모세기관지염으로 본원 소아병동 5일 입원"},
         {"qrl_juicdnm", "3일 전부터 기침과 가래가 심해지고 38도 이상의 발열이 지속되며, 하루 전부터 식사량과 수분 섭취가 "
                     "절반 이하로 줄고 소변량 감소와 처짐이 있어 응급실 경유하여 입원함"},
         {"qrl_startdd", "2021-08-06"},
         // bytes 3 to 55 end inside "열" and 2 to 51 inside "이": the cut syllables are left out
         {"qrl_pthist", "생후 6개월에 모세기관지염으로 입원 치료, 18개월에 열"},
         {"qrl_dgstat", "해열제(이부프로펜 시럽) 필요시 복용, 벤토린 네뷸라"},
         {"qrl_argdg", "세파클러 시럽 (전신 두드러기)"}, {"qrl_arganti", "아목시실린 계열 항생제 복용 후 전신 발진 (2019년)"},
         {"qrl_argfd", "달걀 흰자, 복숭아"}, {"qrl_argetc", "집먼지진드기"}, {"qrl_famcase", "아토피 피부염, 천식 (형)"},
         {"qrl_famrela", "부(당뇨), 형(천식)"},
         {"qrl_opnm", "서혜부 탈장 교정술 (2017년, 본원 소아외과), 양측 고막 환기관 삽입술 (2019년, 이비인후과)"},
         {"qrl_pshist1", "유"}, {"qrl_pshist2", "유"}, {"qrl_pshist3", "유"}, {"qrl_condst", "명료"},
         {"qrl_concom", "원만"}, {"qrl_Activest", "자유로움"},
         {"qrl_Habit", "잠들 때 애착 인형을 꼭 안고 자며 불안할 때 엄지손가락을 빠는 습관 있음"}, {"qrl_stool", "1"},
         {"qrl_urine", "3"}, {"qrl_bpain", "기침할 때 가슴이 아프다고 표현하며, 밤에 기침이 심해지면 울"},
         {"qrl_skinst", "양측 팔꿈치 안쪽, 무릎 뒤 오금"},
         {"qrl_bskin", "양측 팔꿈치 안쪽 아토피성 피부염으로 가려움 호소, 긁은 자국과"}, {"qrl_neost", ""},
         {"qrl_dental", "어금니 충치 2개 (치과 진료 예정), 앞니 유치 흔들림"}, {"qrl_Appetite", "불량"},
         {"qrl_Wetchg", "감소"}, {"qrl_Dysphagia", "없음"}, {"qrl_Stress", "해당 사항 없음"},
         {"qrl_etc", "일본뇌염 2차까지 접종, 인플루엔자 매년 접종 (2020년 10월 마지막 접종)"},
         {"qrme_Eduoth", "해열제 투여 간격(4시간 이상)과 체온 측정 방법을 교육함."
                     "네뷸라이저 사용 후 입안 헹구기를 교육하고 보호자가 직접 시행하여 확인함."
                     "낙상 예방을 위해 침대 난간을 항상 올리도록 하고, 보호자가 자리를 비울 때 간호사 호출 방법을 안내함."
                     "탈수 징후(소변량 감소, 입술 건조, 처짐)를 관찰하여 알리도록 교육함."},
         {"qrl_Outedu3oth", ""}});
    // Filled but disabled on the form, or never filled: nothing prints for them.
    for (const char *hidden : {"qrl_Race", "qrs_bpain8", "qrl_weight"})
        EXPECT_TRUE(mt::PrintedLines(*printed.document, hidden).empty()) << hidden;
    for (const char *hidden : {"인종:", "황인종", "가계도", "홍길동"})
        EXPECT_EQ((pages[0] + pages[1]).find(withoutBlanks(hidden)), std::string::npos) << hidden;

    expectSummaryAndHistory(printed, kKind, {"00004003", "20210809", "20210812", "I", "소아청소년과", "정수연"});
    mt::ExpectNoLayoutWarnings(*printed.document);
}

TEST_F(ChildNursingSheet, CodesAtTheTablesEdgesPrintAsTheSheetReadsThem)
{
    const auto printed = printAdmission(kKind, "00004003", "20190304");
    ASSERT_TRUE(printed.printed()) << printed.failure;
    const auto pages = pdfPages(printed.pdf);
    ASSERT_EQ(pages.size(), 2u);
    expectPrintedWhole(printed, pages,
                       {{"qrl_inf", ""}, {"qrl_admcou", "타 병원 소아과에서 전원 의뢰"}, {"qrl_admmeth", "눕는차"},
                        {"qrl_Job1", "기타"}, {"qrl_Job2", ""}, {"qrl_reg1", "기타"}, {"qrl_reg2", ""},
                        {"QRLabel284", ""}, {"qrl_bldtype", "모름"}, {"qrl_Nation", "대한민국"},
                        {"qrl_condst", ""}, {"qrl_concom", ""}, {"qrl_Activest", ""},
                        {"qrl_bungaejo", "조부모 댁에서 분만"}, {"qrl_bpain", ""}, {"qrl_Appetite", ""},
                        {"qrl_Outedu3oth", "외조부모 댁 (경기도 안산시)"}, {"QRLabel190", "최지현"}});
    EXPECT_EQ((pages[0] + pages[1]).find("중국"), std::string::npos);
    mt::ExpectNoLayoutWarnings(*printed.document);
}

TEST_F(ChildNursingSheet, LongTextsWrapOrGrowTheirBandAndNothingIsLost)
{
    const std::string text = "두 줄을 넘는 긴 기록으로 칸의 폭을 넘어서 이어지는 문장을 적습니다. " +
                             std::string("끝까지 모두 인쇄되어야 합니다. ") + "마지막 문장입니다.";
    reports::FieldValues values = mt::EmptySheetValues(kKind);
    for (int field : {2, 18, 19, 23, 24, 25, 27, 54, 68, 79, 81, 93, 99})
        values.set("S_STRING" + std::to_string(field), text);
    for (const auto &[field, flags] : std::vector<std::pair<int, std::string>>{
             {6, "NNN"}, {7, "NN"}, {10, "3"}, {11, "4"}, {20, "NY"}, {21, "2"}, {26, "NNNNNNN"}, {28, "2"},
             {42, "NNNNNNN"}, {43, "NNNNNN"}, {46, "NNNNNNN"}, {47, "NNNN"}, {60, "NY"}, {61, "NY"}, {77, "YN"}})
        values.set("S_STRING" + std::to_string(field), flags + text);
    values.set("S_STRING80", "2");
    values.set("S_STRING101", text + "\r\n" + text + "\r\n" + text + "\r\n" + text + "\r\n" + text);
    expectNothingLost(kKind, values);
}

TEST_F(ChildNursingSheet, NoRowForTheAdmissionShowsTheStatusTextAndPrintsNothing)
{
    expectNothingPrintedFor(kKind, reports::RowCells({"00004003", "20100301"}));
}

} // namespace
