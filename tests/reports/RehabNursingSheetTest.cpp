// The rehabilitation nursing information sheet ("MDREINFT") printed from the real medrec-server
// and the demo data: both pages as one document, every caption and value in the PDF, the
// history row, the print run through medrec-batch, the faults (no row; codes that are no
// number) and the sheet's rules case by case on its forms.
#include "MNW925P2/MNW925P2.h"

#include "FormConventions.h"
#include "NursingSheetTesting.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

constexpr const char *kKind = "MDREINFT";

class RehabNursingSheet : public mt::NursingSheetTest
{
protected:
    static void SetUpTestSuite() { StartServerWithDemoAnd("newborn-rehab-faults.json"); }
};

TEST_F(RehabNursingSheet, PrintsBothPagesOfTheDemoRecordWithEveryCaptionAndValue)
{
    reports::PrintContext context = contextFor(kKind, "00004006", "20180702");
    const auto printed = print(kKind, context);
    ASSERT_TRUE(printed.printed()) << printed.failure;
    const auto pages = pdfPages(printed.pdf);
    ASSERT_EQ(pages.size(), 2u);
    expectFormCaptionsPrinted(kKind, pages);
    expectCaptions(
        pages[0],
        {"※ 전자인증된 서식입니다.", "간호정보조사지", "(재활)", "SEON MEDICAL CENTER", "환자번호", "이    름", "주민번호",
         "SEX/AGE", "진 료 과", "주 치 의", "병동/병실", "최초기록일시", "1. 일반정보", "입원일 :", "직  업 :",
         "담당(작성)간호사 :", "정보제공자 :", "현주소:", "연락처 :", "(전화)", "(H.P)", "보호자 연락처 :", "교육정도 :",
         "결혼여부/자녀수 :", "문화적종교적특수성", "국    적:", "종    교:", "수혈거부:", "예", "아니오", "기    타:",
         "흡 연:", "갑/일", "음 주:", "회/월", "사회및 경제상태", "진료비지불능력:", "사회복지상담:", "2. 입원과 관련된 정보",
         "활력증상", "체온", "℃", "맥박", "/분", "호흡", "혈압", "mmHg", "체중", "kg", "신장", "cm", "혈액형", "입원경로",
         "입원방법", "주 증 상", "진 단 명", "알레르기", "무", "유(", "약물:", "항생제:", "음식:", "기타:", ")", "과거병력",
         "고혈압", "당뇨", "결핵", "간염", "기타", "투약상태", "가족병력", "심장질환", "기타 :", "관계 :", "입원및수술경험",
         "유 (수술명 :", "지 참 약", "유", "3. 신체검진", "전반적 상태", "의식상태", "지 남 력  (", "사람:", "장소:",
         "시간:", "의    식", "의사소통", "정서상태", "안정", "불안", "분노", "우울", "흥분", "안절부절", "슬픔", "통    증",
         "부위 :", "두통", "흉통", "복통", "요통", "사지통", "정도 :", "둔함", "쑤심", "퍼짐", "예리함", "찌르는듯함",
         "쥐어짜는 듯함", "수면장애", "수면제복용", "식   욕:", "체중변화:", "연하곤란:", "대사적스트레스정도:", "배    변",
         "회/일", "소    변", "빈뇨", "핍뇨", "혈뇨", "긴급뇨", "실금", "작열감", "배뇨곤란", "도뇨", "신경계", "시력장애",
         "좌", "우", "청력장애", "청력저하", "보청기", "이명", "청각상실", "세온병원", "작성자 :"});
    expectCaptions(
        pages[1],
        {"3. 신체검진 (계속)", "신경근육", "무감각", "저림", "발작", "마    비", "안면", "오른팔", "오른발", "왼팔", "왼발",
         "호흡기계", "호흡기계장애", "호흡곤란", "가래", "기침", "폐잡음", "청색증", "객혈", "이상호흡음", "순환기계",
         "순환기계장애", "심계항진", "식음땀", "부정맥", "심잡음", "부    종", "전신", "사지", "상지", "하지", "얼굴", "안검",
         "소화기계", "소화기계장애", "소화장애", "복부팽만", "복부동통", "오심", "구토", "토혈", "점액변", "장음부", "인공장루",
         "연하곤란", "피부계", "피부손상", "창백", "홍조", "황달", "가려움증", "자반", "욕    창", "1°", "2°", "3°", "4°",
         "보조기구", "목발", "의족", "의수", "Brace", "Wheel Chair", "의치", "안경", "콘택트렌즈", "의안",
         "4. 재활간호와 관련된 정보", "몸동작", "돌아눕기:", "앉아서 균형잡기:", "일어나 앉기:", "서서균형잡기:", "이 동:",
         "걷  기:", "일상생활동작", "식이:", "P.O", "L-tube", "G-tube", "몸단장:", "옷입기-", "상의 :", "하의 :", "샴푸:",
         "목욕:", "배설관리:", "가옥구조", "주택", "APT", "엘리베이터", "경사로", "계단", "좌변기", "침대",
         "5. 입원시 간호 및 교육내용", "입원시 준비물품", "병실내 시설안내", "침상식탁", "침상등", "전화", "TV", "냉장고",
         "주방", "정수기", "욕실", "화장실", "간호사호출기", "주차장", "은행", "매점", "식당", "공중전화", "인터넷",
         "가스,전열기구 사용금지 및 화재방지", "귀중품 관리 및 도난방지", "낙상방지", "보호자 면회 및 식사시간",
         "지정지료, 진단서발급, 의사회진시간", "환자안전교육", "낙상예방", "욕창예방", "고충처리접수방법", "의료폐기물분리수거",
         "환자권리장전", "기타교육사항", "6.초기퇴원계획", "퇴원과 관련된 정보", "퇴원 후 보호자와 함께 거주합니다.",
         "퇴원 후 지속적으로 간호를 제공할 보호자 또는 간병인이 있습니다.", "퇴원 후 환자가 머무르는 곳", "자택", "타기관",
         "요양병원", "건강관리에 대한", "정보 제공", "퇴원시 보호자 연락이 필요합니다.", "퇴원시 교육 받기 원하는 대상", "환자",
         "보호자", "환자와 보호자", "세온병원", "간호정보조사지", "작성자 :"});
    expectPrintedWhole(
        printed, pages,
        {{"qrl_PatNo", "00004006"}, {"qrl_patname", "임채원"}, {"qrl_ci", "900302-2******"}, {"qrl_sex", "F/36세"},
         {"qrl_meddept", "재활의학과"}, {"qrl_chadr", "박상철"}, {"qrl_ward", "71-7108"},
         {"qrlb_Frecdate", "2018-07-02 10:15"}, {"QRLabel243", "김은영"}, {"QRLabel240", "김은영"},
         {"qrl_admdate", "2018-07-02"}, {"qrl_work", "프리랜서 그래픽 디자이너"}, {"qrl_nurse", "김은영"},
         {"qrl_inf", "보호자"}, {"qrl_addr", "강원특별자치도 춘천시 중앙로 1, 303호"}, {"qrl_telno1", "033-251-8651"},
         {"qrl_telno2", "010-2644-6442"}, {"qrl_Telno3", "033-251-1120"}, {"qrl_Telno4", "010-7788-2150"},
         {"qrl_Nation", "대한민국"}, {"qrl_ChType", "천주교"}, {"qrl_Culturetc", "수혈 관련 종교적 제한 없음"},
         {"qrl_adu", "대졸"}, {"qrl_merr", "미혼/0"}, {"qrl_tabaco", "0"}, {"qrl_drink", "2"}, {"qrl_Pay", "있음"},
         {"qrl_Bokji", "필요"}, {"qrl_bodytemp", "36.6"}, {"qrl_pulse", "78"}, {"ed_respcnt", "18"},
         {"qrl_bldprehi", "142/88"}, {"qrl_weight", "58.2"}, {"qrl_height", "163"}, {"qrl_bldtype", "AB"},
         {"qrl_admcou", "응급(강원대학교병원 신경과에서 급성기 치료(혈전용해술) 후 재활 치료 위해 전원 의뢰서 지참하여 응급실 "
                        "경유 입원)"},
         {"qrl_admmeth", "눕는차(구급차 이송, 보호자(모) 동반)"},
         {"qrl_icd", "우측 중대뇌동맥 경색에 의한 좌측 편마비 (I63.5), 연하곤란 (R13)"},
         {"qrl_argdg", "아스피린 (위장 출혈)"}, {"qrl_arganti", "세팔로스포린계 (전신 발진)"}, {"qrl_argfd", "복숭아"},
         {"qrl_argetc", "라텍스 장갑"},
         // byte 60 is the first half of a syllable: it is left out whole
         {"qrl_pthist", "이상지질혈증 (2016년 진단, 약물 복용 중), 편두통, 경구"},
         {"qrl_dgstat", "클로피도그렐 75mg 1일 1회, 아토르바스타틴 20mg 1일"},
         {"qrl_famcase", "뇌졸중 (외조부)"}, {"qrl_famrela", "부(고혈압), 모(당뇨), 외조부(뇌졸중)"},
         {"qrl_opnm", "제왕절개술 (2015년), 충수절제술 (2008년), 우측 손목 골절 도수정복 (2012년)"},
         {"qrl_pshist1", "유"}, {"qrl_pshist2", "유"}, {"qrl_pshist3", "유"}, {"qrl_condst", "명료"},
         {"qrl_concom", "곤란"}, {"qrl_Appetite", "보통"}, {"qrl_Wetchg", "감소"}, {"qrl_Dysphagia", "있음"},
         {"qrl_Stress", "입원치료를 요하는 급성 뇌경색 환자"}, {"qrl_stool", "1"}, {"qrs_urinst", "7"},
         {"qrl_neost", "좌측 손등 및 전완부 경미한 부종 (편마비측, 거상 유지)"},
         {"qrl_support", "4점 지팡이 (병동 내 보행 연습 시 치료사 동행)"}, {"qrl_Motion1", "독립적"},
         {"qrl_Motion2", "독립적"}, {"qrl_Motion3", "의존적"}, {"qrl_Motion6", "의존적"}, {"qrl_Daymot1", "의존적"},
         {"qrl_Daymot5", "의존적"}, {"qrl_Daymot10", "의존적"}, {"qrl_Outedu3oth", "재활전문병원 전원 예정 (강원도 춘천시)"}});
    EXPECT_GE(mt::PrintedLines(*printed.document, "qrme_AdmovDet").size(), 3u);
    EXPECT_NE(printedText(*printed.document, "qrme_AdmovDet").find("보행시최대도움필요함."), std::string::npos);
    EXPECT_GE(mt::PrintedLines(*printed.document, "qrme_Eduoth").size(), 4u);
    EXPECT_NE(printedText(*printed.document, "qrme_Eduoth").find("언어치료주3회)안내함."), std::string::npos);
    mt::ExpectNoLayoutWarnings(*printed.document);
    // Disabled on the form: never printed.
    EXPECT_EQ(pages[0].find("인종"), std::string::npos);

    expectSummaryAndHistory(printed, kKind, {"00004006", "20180702", "20180815", "I", "재활의학과", "박상철"});
}

TEST_F(RehabNursingSheet, CodesThatAreNoNumberMatchNothingAndThePrintGoesOn)
{
    reports::PrintContext context = contextFor(kKind, "00004006", "20180702");
    context.record = reports::RowCells({"00004006", "20180703", "김은영", "박상철", "71-7108", "박상철", "20180815"});
    const auto printed = print(kKind, context);
    ASSERT_TRUE(printed.printed()) << printed.failure;
    expectPrintedWhole(printed, pdfPages(printed.pdf),
                      {{"qrl_work", ""}, {"qrl_inf", ""}, {"qrl_merr", "/1"}, {"qrl_adu", ""}, {"qrl_ChType", ""},
                       {"qrl_Pay", ""}, {"qrl_Bokji", ""}, {"qrl_bldtype", "모름"}, {"qrl_admcou", ""},
                       {"qrl_admmeth", ""}, {"qrl_pshist1", ""}, {"qrl_pshist2", "유"}, {"qrl_pshist3", ""},
                       {"qrl_Appetite", ""}, {"qrl_Wetchg", ""}, {"qrl_Dysphagia", ""}, {"qrl_Stress", ""},
                       {"qrl_Motion1", "독립적"}, {"qrl_Motion2", ""}, {"qrl_Motion3", "의존적"}, {"qrl_Motion5", "독립적"},
                       {"qrl_Daymot1", ""}, {"qrl_Daymot6", "독립적"}, {"qrl_Daymot7", ""}, {"qrl_Daymot10", "독립적"},
                       {"qrl_icd", "뇌경색"}});
}

TEST_F(RehabNursingSheet, NoRowEndsWithItsOwnStatusTextAndPrintsNothing)
{
    expectNothingPrintedFor(kKind, reports::RowCells({"00004006", "20180704", "김은영"}), "조회할 자료가 없습니다.");
}

TEST_F(RehabNursingSheet, ThePrintRunLeavesOneTwoPageDocumentAndOneHistoryRow)
{
    const auto before = historyLines().size();
    std::map<std::string, std::size_t> pagesOf;
    EXPECT_EQ(printWithBatch("4006 --visit 201807020900 --kind MDREINFT", pagesOf), 0);
    const auto lines = historyLines();
    ASSERT_EQ(lines.size(), before + 1);
    EXPECT_NE(lines[0].find("\t00004006\t20180702\tempty\tempty\tempty\tMDREINFT\tCOURT\t"), std::string::npos)
        << lines[0];
    EXPECT_EQ(pagesOf, (std::map<std::string, std::size_t>{{"00004006", 2}}));
}

TEST(RehabNursingRules, EachRuleOfTheSheetOnItsForms)
{
    mt::ExpectSheetRules(
        kKind,
        {
            {"occupation 8 writes it out", {{"S_PATNO", "8재활치료사"}}, {{"qrl_work", "재활치료사"}}, {}, {}},
            {"occupation 9 is another", {{"S_PATNO", "9"}}, {{"qrl_work", "기타"}}, {}, {}},
            {"occupation by its first character", {{"S_PATNO", "27"}}, {{"qrl_work", "전문직"}}, {}, {}},
            {"occupation starting with -", {{"S_PATNO", "-3"}}, {{"qrl_work", ""}}, {}, {}},
            {"occupation blank", {{"S_PATNO", " "}}, {{"qrl_work", ""}}, {}, {}},
            {"education 6 is not on this sheet", {{"S_STRING3", "6"}}, {{"qrl_adu", ""}}, {}, {}},
            {"nationality code 1", {{"S_STRING76", " 1 "}}, {{"qrl_Nation", "대한민국"}}, {}, {}},
            {"nationality written out", {{"S_STRING76", "베트남"}}, {{"qrl_Nation", "베트남"}}, {}, {}},
            {"marriage outside the four", {{"S_STRING2", "7"}, {"S_STRING59", "2"}}, {{"qrl_merr", "/2"}}, {}, {}},
            {"blood type 0", {{"S_STRING58", "0"}}, {{"qrl_bldtype", "모름"}}, {}, {}},
            {"blood type 5", {{"S_STRING58", "5"}}, {{"qrl_bldtype", "모름"}}, {}, {}},
            {"blood type blank", {{"S_STRING58", " "}}, {{"qrl_bldtype", "모름"}}, {}, {}},
            {"route 2 and a hospital", {{"S_STRING7", "2강원대병원"}}, {{"qrl_admcou", "응급(강원대병원)"}}, {}, {}},
            {"method 4 is the note alone", {{"S_STRING8", "4업혀서"}}, {{"qrl_admmeth", "업혀서"}}, {}, {}},
            {"consciousness compared as text", {{"S_STRING19", "3"}, {"S_STRING20", " 1"}},
             {{"qrl_condst", "반의식"}, {"qrl_concom", ""}}, {}, {}},
            {"stress 0", {{"S_STRING87", "0"}}, {{"qrl_Stress", ""}}, {}, {}},
            {"weight change 3 is none", {{"S_STRING85", "3"}}, {{"qrl_Wetchg", "무"}}, {}, {}},
            {"urine count from the tenth character", {{"S_STRING25", "YNNNNNNNY 12"}}, {{"qrs_urinst", " 12"}},
             {"qrs_urinst1", "qrs_urinst9"}, {"qrs_urinst2"}},
            {"urine count past the end", {{"S_STRING25", "NY"}}, {{"qrs_urinst", ""}}, {"qrs_urinst2"}, {}},
            {"past history cut inside a syllable", {{"S_STRING13", "NYNNN" + std::string(28, 'x') + "가나다라마바사아자차카타파하"}},
             {{"qrl_pthist", std::string(28, 'x') + "가나다라마바사아자차카타파"}}, {"qrs_pthist2"}, {}},
            {"operation tail past the end", {{"S_STRING17", "1"}}, {{"qrl_opnm", ""}}, {"qrs_opyn1"}, {"qrs_opyn2"}},
            {"aids NYNNNNNY and a note", {{"S_STRING27", "NYNNNNNY 4점 지팡이"}}, {{"qrl_support", " 4점 지팡이"}},
             {"qrs_support2", "qrs_support8"}, {"qrs_support1"}},
            {"aids with an eighth character neither N nor Y", {{"S_STRING27", "NYNNNNN휠체어"}}, {{"qrl_support", "휠체어"}},
             {"qrs_support2"}, {"qrs_support8"}},
            {"oedema text trimmed", {{"S_STRING31", "NNNNNNNY 발목 "}}, {{"qrl_neost", "발목"}}, {"qrs_neost8"}, {}},
            {"eyes on both pages", {{"S_STRING29", "NYNYYNY"}}, {}, {"qrs_eyest2", "qrs_eyest4", "qrs_eyest5", "qrs_eyest7"},
             {"qrs_eyest1", "qrs_eyest3", "qrs_eyest6"}},
            {"nerves and palsy from one string", {{"S_STRING65", "NYNNNYNNNNYY"}}, {},
             {"qrs_nerves2", "qrs_nerves6", "qrs_nerves11", "qrs_nerves12"}, {"qrs_nerves1", "qrs_nerves10"}},
            {"movement", {{"S_STRING61", "12 21"}},
             {{"qrl_Motion1", "독립적"}, {"qrl_Motion2", "의존적"}, {"qrl_Motion3", ""}, {"qrl_Motion5", "독립적"},
              {"qrl_Motion6", ""}}, {}, {}},
            {"daily activities and the feeding route", {{"S_STRING62", "1YNY2122 1"}},
             {{"qrl_Daymot1", "독립적"}, {"qrl_Daymot5", "의존적"}, {"qrl_Daymot6", "독립적"}, {"qrl_Daymot9", ""},
              {"qrl_Daymot10", "독립적"}}, {"Qrs_Daymot2", "Qrs_Daymot4"}, {"Qrs_Daymot3"}},
            {"ward facilities when it starts Y", {{"S_STRING39", "YYNNNNNNNNNY"}}, {}, {"qrs_edu2", "qrs_edu21", "qrs_edu311"},
             {"qrs_edu22", "qrs_edu30"}},
            {"ward facilities otherwise all white", {{"S_STRING39", "NYYYYYYYYYYY"}}, {}, {},
             {"qrs_edu2", "qrs_edu21", "qrs_edu25", "qrs_edu30", "qrs_edu311"}},
            {"ward facilities starting 1 are not given", {{"S_STRING39", "1YYYYYYYYYYY"}}, {}, {}, {"qrs_edu2", "qrs_edu21"}},
            {"hospital facilities", {{"S_STRING40", "YNNYNNY"}}, {}, {"qrs_edu3", "qrs_edu33", "qrs_edu36"}, {"qrs_edu31"}},
            {"teaching squares on the whole value", {{"S_STRING38", "Y"}, {"S_STRING43", "YY"}, {"S_STRING45", "Y"}}, {},
             {"qrs_edu1", "qrs_edu8"}, {"qrs_edu6", "qrs_edu4"}},
            {"lives with and carer", {{"S_STRING70", "2"}, {"S_STRING71", "1"}}, {}, {"qrs_Outedu12", "qrs_Outedu21"},
             {"qrs_Outedu11", "qrs_Outedu22"}},
            {"place 4 and its note", {{"S_STRING72", "4"}, {"S_STRING73", "요양원"}}, {{"qrl_Outedu3oth", "요양원"}},
             {"qrs_Outedu34"}, {"qrs_Outedu31"}},
            {"place 5 is none", {{"S_STRING72", "5"}}, {}, {}, {"qrs_Outedu31", "qrs_Outedu34"}},
            {"contact 2", {{"S_STRING74", "2"}}, {}, {"qrs_Outedu42"}, {"qrs_Outedu41"}},
            {"teaching target empty is the patient", {}, {}, {"qrs_Outedu51"}, {"qrs_Outedu52", "qrs_Outedu53"}},
            {"teaching target 2", {{"S_STRING75", "2"}}, {}, {"qrs_Outedu53"}, {"qrs_Outedu51"}},
            {"teaching target 3 is none", {{"S_STRING75", "3"}}, {}, {}, {"qrs_Outedu51", "qrs_Outedu52", "qrs_Outedu53"}},
            {"the writer from the record", {{"record.2", "김은영"}}, {{"QRLabel243", "김은영"}, {"QRLabel240", "김은영"},
             {"qrl_nurse", "김은영"}}, {}, {}},
        });
}

TEST(RehabNursingRules, NoCodeThatIsNoNumberStopsThePrint)
{
    // Every field the sheet reads as a number, each holding what is no number.
    const std::vector<std::pair<std::string, std::string>> fields = {
        {"S_PATNO", "x"},     {"S_STRING1", "환자"},  {"S_STRING2", "1a"},   {"S_STRING3", "+"},   {"S_STRING60", "?"},
        {"S_STRING79", "-"},  {"S_STRING80", "1 "},  {"S_STRING58", "O"},   {"S_STRING7", "E"},   {"S_STRING8", "."},
        {"S_STRING14", "Y"},  {"S_STRING17", "N"},   {"S_STRING18", "YNa"}, {"S_STRING84", "a"},  {"S_STRING85", "b"},
        {"S_STRING86", "c"},  {"S_STRING87", "9a"},  {"S_STRING61", "abcdef"}, {"S_STRING62", "aYYYbcdefg"},
        {"S_STRING70", "Y"},  {"S_STRING71", "N"}};
    reports::FieldValues values = mt::EmptySheetValues(kKind);
    for (const auto &[field, value] : fields)
        values.set(field, value);
    std::optional<mt::FilledSheet> sheet;
    ASSERT_NO_THROW(sheet.emplace(kKind, values));
    for (const char *label : {"qrl_work", "qrl_inf", "qrl_adu", "qrl_ChType", "qrl_Pay", "qrl_Bokji", "qrl_admcou",
                              "qrl_admmeth", "qrl_pshist3", "qrl_Appetite", "qrl_Wetchg", "qrl_Dysphagia", "qrl_Stress",
                              "qrl_Motion1", "qrl_Daymot1", "qrl_Daymot10"}) {
        SCOPED_TRACE(label);
        EXPECT_EQ(sheet->caption(label), "");
    }
    EXPECT_EQ(sheet->caption("qrl_merr"), "/");
    EXPECT_EQ(sheet->caption("qrl_bldtype"), "모름");
    EXPECT_EQ(sheet->caption("qrl_pshist1"), "");
    for (const char *square : {"qrs_dgstat1", "qrs_dgstat2", "qrs_opyn1", "qrs_opyn2", "qrs_Outedu11", "qrs_Outedu12",
                               "qrs_Outedu21", "qrs_Outedu22"}) {
        SCOPED_TRACE(square);
        EXPECT_FALSE(sheet->black(square));
    }
    // The flags of the same strings still read as flags.
    EXPECT_TRUE(sheet->black("Qrs_Daymot2"));
}

} // namespace
