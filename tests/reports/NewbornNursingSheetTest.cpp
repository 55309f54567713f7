// The newborn nursing information sheet ("MDNBINFT") printed from the real medrec-server and
// the demo data: an admission after 14 July 2011 prints both pages as one document, one before
// it page 1 alone; every caption and value in the PDF, the history row, the print run through
// medrec-batch, the faults (no row, an admission date that is no number) and the sheet's rules.
#include "MNW924P2/MNW924P2.h"

#include "FormConventions.h"
#include "NursingSheetTesting.h"

#include <gtest/gtest.h>

#include <map>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

constexpr const char *kKind = "MDNBINFT";

class NewbornNursingSheet : public mt::NursingSheetTest
{
protected:
    static void SetUpTestSuite() { StartServerWithDemoAnd("newborn-rehab-faults.json"); }
};

const std::vector<std::string> kPage1Captions = {
    "※ 전자인증된 서식입니다.", "간호정보조사지", "(신생아)", "SEON MEDICAL CENTER", "환자번호", "이    름", "주민번호",
    "SEX/AGE", "진 료 과", "주 치 의", "병동/병실", "최초기록일시", "1. 신생아 관련 정보", "출생일시", "년", "월", "일",
    "입원일시", "재태기간", "출생시 체중", "g", "성  별", "남아", "여아", "분만형태", "Apgar 점수", "1분", ", 5분", "Parity",
    "분만관련", "특이사항", "태변착색(", "HBsAg(", "VDRL(", "DM", "H I V  (", "조기파수(", "시간전)", "TB", "Thyroid",
    "진단명", "주 증 상", "2. 입원시 간호", "흡    인", "무", "유", "배  액 : 양(", "다량", "보통", "소량", "없음", "색깔(",
    "무색", "미색", "붉은색", "태변착색", "산    소", "유(", "l/분", "활력증후:", "체온(", "항문", "oC", "심박동수", "회/분,",
    "호흡수", "회/분", "신체계측:", "신장", "두위", "흉위", "복위", "cm", "제대간호", "눈간호", "Vitamin K1", "HB Vaccine(",
    "지 참 약", "3. 신체사정", "활동 및 울음정도", "좋음", "약함", "나쁨", "호  흡  기", "정 상", "빈호흡", "무호흡",
    "불규칙호흡", "흉부함몰", "비익확장", "신음소리", "수포음", "천명", "기타", "순  환  기", "정상", "빈맥", "서맥", "심잡음",
    "불규칙심음", "피      부", "청색증", "창백", "홍조", "황달", "점상출혈", "반상출혈", "발진", "찰과상", "열상", "혈종",
    "부위", "머      리", "천문(", "열림", "폐쇄", "팽창", "함몰", "산류", "두혈종", "얼      굴", "비대칭", "토순",
    "구개파열", "설유착", "제      대", "제대혈관:", "동맥", "개", "정맥", "출혈", "비뇨생식기", "밀폐항문", "잠복고환",
    "첫배변", "첫배뇨", "사      지", "다지증(", "합지증(", "만곡족", "쇄골골절(", "좌,", "우", "반      사", "모로반사(",
    "비대칭(", "))", "쥐기반사(", "빨기반사(", "포유반사(", "과거력 및 가족력", "세온병원", "담당(작성)간호사"};

const std::vector<std::string> kPage2Captions = {
    "4. 초기퇴원계획", "초기퇴원계획 사정", "퇴원 후 환자가 머무르게 되는 곳", "자택", "타기관(조리원)", "기타(복지시설)",
    "퇴원 후 보호자와 함께 거주하는가", "예", "아니오", "지속적 간호제공자의 유무", "있다", "없다", "퇴원계획", "식    이",
    "모유", "분유", "설사분유", "특수분유", "목    욕", "통목욕", "침상목욕", "퇴원후 건강관리", "예방접종", "체중측정",
    "구강간호", "수유관리", "피부관리", "배변관리", "튜브관리", "제대관리", "감염예방", "추후관리(외래,타병원)", "기    타",
    "퇴원시 상태 - 이동방법", "보호자", "응급차", "보조기", "5. 입원시 간호 및 교육 내용", "입원시 준비물품", "기저귀",
    "물티슈", "손싸개", "보호자 면회안내", "면회시간", "유리창", "신생아중환자실 출입문", "의  사 상담안내", "상담시간",
    "상담실", "방문상담", "전화상담", "모유 관리 교육", "모유팩", "퇴원시 준비물", "주민등록증", "아기옷", "속싸개", "겉싸개",
    "퇴원시 서  류", "진단서", "입퇴원확인서", "초진차트", "진료의뢰서", "병원시설 안내", "매점", "세온병원", "간호정보조사지",
    "담당(작성)간호사"};

TEST_F(NewbornNursingSheet, AnAdmissionAfterJuly2011PrintsBothPagesWithEveryCaptionAndValue)
{
    const auto printed = printAdmission(kKind, "00004012", "20220115");
    ASSERT_TRUE(printed.printed()) << printed.failure;
    const auto pages = pdfPages(printed.pdf);
    ASSERT_EQ(pages.size(), 2u);
    expectFormCaptionsPrinted(kKind, pages);
    expectCaptions(pages[0], kPage1Captions);
    expectCaptions(pages[1], kPage2Captions);
    expectPrintedWhole(
        printed, pages,
        {{"qrl_PatNo", "00004012"}, {"qrl_patname", "황지아"}, {"qrl_ci", "220115-4******"}, {"qrl_sex", "F/4Y10M"},
         {"qrl_meddept", "소아청소년과"}, {"qrl_chadr", "정수연"}, {"qrl_ward", "NICU"},
         {"qrlb_Frecdate", "2022-01-15 09:12"}, {"QRLabel190", "김은영"}, {"qrlb_Nurse", "김은영"},
         {"qrlb_BornDateY", "2022"}, {"qrlb_BornDateM", "01"}, {"qrlb_BornDateD", "15"}, {"qrlb_BornDateH", "06:12"},
         {"qrlb_AdmDateY", "2022"}, {"qrlb_AdmDateM", "01"}, {"qrlb_AdmDateD", "15"}, {"qrlb_AdmDateH", "08:30"},
         {"qrlb_Dgp", "36 주 4"}, {"qrlb_Weight", "2480"}, {"qrlb_DelType", "C / S"}, {"qrlb_Apgar1", "7"},
         {"qrlb_Apgar5", "9"}, {"qrlb_Parity", "1-0-0-1"}, {"qrlb_DelMark11", "경미 (thin)"}, {"qrlb_DelMark22", "음성"},
         {"qrlb_DelMark33", "비반응"}, {"qrlb_DelMark55", "음성"}, {"qrlb_DelMark66", "18"},
         {"qrlb_icdname", "신생아 일과성 빈호흡 (P22.1), 후기 조산아 (P07.3), 신생아 저혈당 (P70.4)"},
         {"qrlb_Oxygen", "1"}, {"qrlb_BodyTemp", "36.8"}, {"qrlb_Hrtbt", "158"}, {"qrlb_Resp", "68"},
         {"qrlb_Height", "46.5"}, {"qrlb_HeadSize", "32.0"}, {"qrlb_ChstSize", "30.5"}, {"qrlb_BodySize", "29.0"},
         {"qrlb_Hbct", "01/15 10:20 우측 대퇴"},
         {"qrlb_RespETC", "산소포화도 저하 시 비익확장 간헐적으로 관찰, 흡인 후 호전"},
         {"qrlb_CircEtc", "모세혈관 재충혈 2초 이내"}, {"qrlb_SknunSt", "두정부 좌측 2x2cm 혈종, 안면 홍조"},
         {"qrlb_HeadETC", "두정부 좌측 두혈종 (분만 관련)"}, {"qrlb_FaceETC", "특이 소견 없음"}, {"qrlb_NabelVs1", "2"},
         {"qrlb_NabelVs2", "1"}, {"qrlb_UriETC", "입원 4시간 후 첫배뇨 확인"},
         {"qrlb_DfrmETC", "모: 32세 G2P1, 임신성 당뇨(식이조절), 산전 진찰 규칙적으로 받음, 분만 전 B군 연쇄상구균 검사 음성. "
                          "부: 특이 병력 없음. 형제: 4세 남아 건강함. 가족력: 외조부 고혈압, 친조모 제2형 당뇨병, 유전질환 "
                          "가족력 없음."},
         {"qrlb_Prevcont", "BCG 생후 4주 이내 접종 예정, B형간염 2차 1개월에 접종"},
         {"qrlb_Weightcont", "퇴원 1주 후 외래에서 체중 확인"}, {"qrlb_Suckcont", "2~3시간 간격 수유, 1회 40~60mL, 트림 시키기"},
         {"qrlb_Skincont", "기저귀 발진 예방, 목욕 후 보습"}, {"qrlb_Fececont", "대변 색깔 확인 (회백색 변 시 내원)"},
         {"qrlb_Umbilcont", "알코올 소독 없이 자연 건조, 기저귀는 제대 아래로"},
         {"qrlb_Flucont", "손 씻기, 방문객 제한, 발열 시 바로 내원"},
         {"qrlb_Aftcont", "2022-01-27 소아청소년과 외래 (정수연), 황달 재측정"},
         {"qrlb_Othcont", "청력 선별검사 재검 (좌측 refer)"}});
    // The chief symptoms outgrow their box: the memo grows and nothing of it is lost.
    EXPECT_GE(mt::PrintedLines(*printed.document, "qrme_Remark").size(), 4u);
    EXPECT_NE(printedText(*printed.document, "qrme_Remark").find("부(父)에게입원및면회안내함."), std::string::npos);
    mt::ExpectNoLayoutWarnings(*printed.document);
    // The writer's name replaces the form's sample name.
    EXPECT_EQ(pages[0].find("홍길동"), std::string::npos);

    // The summary from this sheet's own columns: department 2, attending 5, discharge 6.
    expectSummaryAndHistory(printed, kKind, {"00004012", "20220115", "20220125", "I", "소아청소년과", "정수연"});
}

TEST_F(NewbornNursingSheet, AnAdmissionBeforeJuly2011PrintsPageOneAlone)
{
    const auto printed = printAdmission(kKind, "00004016", "20110713");
    ASSERT_TRUE(printed.printed()) << printed.failure;
    const auto pages = pdfPages(printed.pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(printed.document->pages.size(), 1u);
    expectCaptions(pages[0], kPage1Captions);
    EXPECT_EQ(pages[0].find("초기퇴원계획"), std::string::npos);
    expectPrintedWhole(printed, pages,
                      {{"qrl_PatNo", "00004016"}, {"qrl_patname", "백하준"}, {"qrl_ci", "110713-3******"},
                       {"QRLabel190", "박미경"}, {"qrlb_BornDateH", "05:48"}, {"qrlb_AdmDateD", "13"},
                       {"qrlb_AdmDateH", "14:20"}, {"qrlb_DelType", "C / S"}, {"qrlb_DelMark22", "모 양성 (HBIG 투여)"},
                       {"qrlb_LimSt1", "좌측 제5수지"}, {"qrlb_SknunSt", "얼굴, 흉부"}});
    mt::ExpectNoLayoutWarnings(*printed.document);
    expectSummaryAndHistory(printed, kKind, {"00004016", "20110713", "20110720", "I", "소아청소년과", "정수연"});
}

TEST_F(NewbornNursingSheet, NoRowEndsWithTheStatusTextAndPrintsNothing)
{
    expectNothingPrintedFor(kKind, reports::RowCells({"00004012", "20220116", "소아청소년과", "정수연", "NICU"}));
}

TEST_F(NewbornNursingSheet, AnAdmissionDateThatIsNoNumberPrintsNoPageAtAll)
{
    // The sheet's row is there: the date is found no number before page 1 is made, so not
    // even page 1 reaches the paper without its history row.
    reports::PrintContext context = contextFor(kKind, "00004012", "20220115");
    context.record = reports::RowCells({"00004012", "2022.01.15", "소아청소년과", "정수연", "NICU"});
    const std::size_t before = historyLines().size();
    const auto printed = print(kKind, context);
    EXPECT_FALSE(printed.refused.has_value());
    EXPECT_FALSE(printed.document.has_value());
    EXPECT_TRUE(printed.pdf.empty());
    EXPECT_EQ(printed.failure, "'2022.01.15' is not a valid integer value");
    EXPECT_EQ(historyLines().size(), before);
}

TEST_F(NewbornNursingSheet, ThePrintRunLeavesOneDocumentAndOneHistoryRowPerSheet)
{
    const auto before = historyLines().size();
    std::map<std::string, std::size_t> pagesOf;
    EXPECT_EQ(printWithBatch("4012 --visit 202201150830 --kind MDNBINFT", pagesOf), 0);
    EXPECT_EQ(printWithBatch("4016 --visit 201107131420 --kind MDNBINFT", pagesOf), 0);
    const auto lines = historyLines();
    ASSERT_EQ(lines.size(), before + 2);
    EXPECT_NE(lines[0].find("\t00004016\t20110713\tempty\tempty\tempty\tMDNBINFT\tCOURT\t"), std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find("\t00004012\t20220115\tempty\tempty\tempty\tMDNBINFT\tCOURT\t"), std::string::npos)
        << lines[1];
    EXPECT_EQ(pagesOf, (std::map<std::string, std::size_t>{{"00004012", 2}, {"00004016", 1}}));
}

TEST(NewbornNursingSheetPages, TheSecondPageComesWithTheAdmissionsFromJuly14th2011)
{
    for (const auto &[date, second] : std::vector<std::pair<std::string, bool>>{
             {"20110713", false}, {"20110714", true}, {"20220115", true}, {" 20110714", true}, {"19991231", false}}) {
        SCOPED_TRACE(date);
        EXPECT_EQ(reports::NewbornSheetHasSecondPage(date), second);
    }
    for (const std::string date : {"2011-07-14", "", " ", "20110714 ", "2O110714"}) {
        SCOPED_TRACE("[" + date + "]");
        try {
            reports::NewbornSheetHasSecondPage(date);
            ADD_FAILURE() << "no conversion failure";
        } catch (const reports::CodeConversionError &e) {
            EXPECT_EQ(std::string(e.what()), "'" + date + "' is not a valid integer value");
        }
    }
}

TEST(NewbornNursingRules, EachRuleOfTheSheetOnItsForms)
{
    mt::ExpectSheetRules(
        kKind,
        {
            {"birth time of a full stamp", {{"S_CODE7", "202201150612"}},
             {{"qrlb_BornDateY", "2022"}, {"qrlb_BornDateM", "01"}, {"qrlb_BornDateD", "15"}, {"qrlb_BornDateH", "06:12"}},
             {}, {}},
            {"birth stamp without its time", {{"S_CODE7", "20220115"}}, {{"qrlb_BornDateD", "15"}, {"qrlb_BornDateH", ":"}}, {}, {}},
            {"birth stamp cut short", {{"S_CODE7", "2022011506"}}, {{"qrlb_BornDateH", "06:"}}, {}, {}},
            {"a Korean stamp never prints half a syllable", {{"S_CODE7", "2022년01월"}}, {{"qrlb_BornDateY", "2022"}, {"qrlb_BornDateM", "년"}}, {}, {}},
            {"admission day from the record", {{"record.1", "20220115"}, {"S_NAME10", "0830"}},
             {{"qrlb_AdmDateY", "2022"}, {"qrlb_AdmDateM", "01"}, {"qrlb_AdmDateD", "15"}, {"qrlb_AdmDateH", "08:30"}}, {}, {}},
            {"gestation", {{"S_CODE8", "36"}, {"S_CODE9", "4"}}, {{"qrlb_Dgp", "36 주 4"}}, {}, {}},
            {"Caesarean with blanks", {{"S_CODE12", " C "}}, {{"qrlb_DelType", "C / S"}}, {}, {}},
            {"any other delivery", {{"S_CODE12", "N"}}, {{"qrlb_DelType", "N / D"}}, {}, {}},
            {"no delivery type", {}, {{"qrlb_DelType", " / D"}}, {}, {}},
            {"boy", {{"S_CODE11", "M"}}, {}, {"qrs_sexM"}, {"qrs_sexF"}},
            {"girl", {{"S_CODE11", "F"}}, {}, {"qrs_sexF"}, {"qrs_sexM"}},
            {"lower-case m is neither", {{"S_CODE11", "m"}}, {}, {}, {"qrs_sexM", "qrs_sexF"}},
            {"suction yes", {{"S_CODE23", "Y"}}, {}, {"qrs_hyn2"}, {"qrs_hyn1"}},
            {"oxygen no", {{"S_CODE26", "N"}}, {}, {"qrs_Oxygenyn1"}, {"qrs_Oxygenyn2"}},
            {"umbilical care: yes first", {{"S_STRING6", "Y"}, {"S_STRING7", "N"}}, {}, {"qrs_LavelYn1", "qrs_eyeyn2"}, {"qrs_LavelYn2", "qrs_eyeyn1"}},
            {"bleeding compared whole", {{"S_STRING25", "YY"}}, {}, {}, {"qrs_bloodyn1", "qrs_bloodyn2"}},
            {"sides of the fracture and reflexes", {{"S_NAME1", "L"}, {"S_NAME3", "R"}, {"S_NAME5", "l"}}, {},
             {"qrs_limynlr1", "qrs_diarefas2"}, {"qrs_limynlr2", "qrs_diarefas1", "qrs_catrefas1", "qrs_catrefas2"}},
            {"Y-squares character by character", {{"S_CODE16", "YNyNYNNY"}, {"S_STRING12", "NNNNNNNNNY"}}, {},
             {"qrs_DelMark1", "qrs_DelMark5", "qrs_DelMark8", "qrs_Respyn10"}, {"qrs_DelMark3", "qrs_DelMark2"}},
            {"rectal temperature only on the whole Y", {{"S_CODE28", "YN"}, {"S_STRING8", "Y"}}, {}, {"qrs_vitamin"}, {"qrs_TempKind1"}},
            {"medication brought", {{"S_STRING71", "Y"}}, {}, {"qrs_bringY"}, {"qrs_bringN"}},
            {"no medication brought", {}, {}, {"qrs_bringN"}, {"qrs_bringY"}},
            {"place after discharge is a number", {{"S_STRING31", " 2"}}, {}, {"qrs_Patstay2"}, {"qrs_Patstay1", "qrs_Patstay3"}},
            {"place outside the choices", {{"S_STRING31", "4"}}, {}, {}, {"qrs_Patstay1", "qrs_Patstay2", "qrs_Patstay3"}},
            {"care after discharge: a square and its text", {{"S_STRING38", "Y"}, {"S_STRING39", "BCG"}, {"S_STRING58", "y"}},
             {{"qrlb_Prevcont", "BCG"}, {"qrlb_Othcont", ""}}, {"qrs_Prevcont"}, {"qrs_Othcont"}},
            {"breast milk and the shop only on the whole Y", {{"S_STRING64", "Y"}, {"S_STRING67", "YN"}}, {}, {"qrs_Brstmilk1"}, {"qrs_Hosinfo1"}},
            {"the writer on both feet", {{"S_NAME9", "김은영"}}, {{"QRLabel190", "김은영"}, {"qrlb_Nurse", "김은영"}}, {}, {}},
        });
}

TEST(NewbornNursingRules, ChoicesThatAreNoNumberStopThePrint)
{
    for (const char *field : {"S_STRING31", "S_STRING32", "S_STRING33"}) {
        SCOPED_TRACE(field);
        reports::FieldValues values = mt::EmptySheetValues(kKind);
        values.set(field, "Y");
        EXPECT_THROW(mt::FilledSheet(kKind, values), reports::CodeConversionError);
    }
}

} // namespace
