// The newborn delivery record ("MDBDINFT") printed from the real medrec-server: every caption
// and value of the demo record in the PDF, the summary and the history row; its rules case by
// case on its real form; and the faults it mends: a one-minute Apgar item not scored counts 0
// as the five-minute ones do, and a score that is not a number stops the print naming its field.
#include "MDN634U2_P01/MDN634U2_P01.h"

#include "DeliveryRoomFixture.h"

#include <gtest/gtest.h>

#include <map>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

constexpr const char *kKind = "MDBDINFT";
constexpr const char *kMark = "∨";

using DeliveryRecord = mt::DeliveryRoomTest;

TEST_F(DeliveryRecord, PrintsTheDemoRecordWithEveryCaptionAndValue)
{
    const auto printed = printAdmission(kKind, "00004008", "20230501");
    ASSERT_TRUE(printed.printed()) << printed.failure;
    mt::ExpectNoLayoutWarnings(*printed.document);
    const auto pages = pdfPages(printed.pdf);
    ASSERT_EQ(pages.size(), 1u);

    expectCaptions(pages[0],
                   {"등록번호:", "성별:", "성", "명:", "주민번호:", "진 료 과:", "세  온  병  원", "신생아 분만 기록지",
                    "<산모와 관련된 정보>", "입원:", "전화번호:", "주소:", "1.나이:", "세", "2.결혼:", "무", "유", "3.종교:", "본  인",
                    "배우자", "배우자 성명", "4.V/S", "BP", "P", "BT", "FHT", "5.과거병력:", "고혈압", "당뇨", "결핵", "간염",
                    "심장질환", "갑상선질환", "성병", "HIV", "천식", "6.체중:", "임신전", "Kg", "입원시", "7.키:", "Cm", "8.혈액형:",
                    "RH", "9.LMP", "EDC", "10.임신주수:", "wks", "day", "11.산과력:", "F/", "P/", "A/", "L/", "12.양수천자:",
                    "13.임신합병증 :", "심장병", "신장병", "기타", "14.임신중방사선촬영:", "15.임신중 약물 복용:", "16.임신중 흡연:",
                    "17.임신중 음주:", "18.알러지:", "19.예정 수유 방법:", "모유", "인공", "20.기타사항:", "<분만사항과 관련된 정보>",
                    "이슬:", "파수:", "진통:", "지속시간:", "유도분만:", "<신생아와 관련된 정보>", "【", "】", "출생시간:", "남", "여",
                    "체중:", "g", "Del Type:", "소생술:", "산소흡인:", "Intubation:", "Maturity:", "Cord Around Neck:", "태변착색:",
                    "Apgar Score", "- 1분 -", "- 5분 -", "심 박 수:", "근긴", "장도:", "호    흡:", "피 부 색:", "자극", "반응:",
                    "점    수:", "점", "분만시 신체검진 소견:", "입원장소:", "NUR", "NICU", "사산", "유산", "분만의사:",
                    "분만담당 간호사:"});
    expectPrintedWhole(
        printed, pages,
        {{"qrlb_Patno", "00004008"}, {"qrlb_patname", "오유나"}, {"qrlb_patsex", "F/32세"},
         {"qrlb_citizen", "940611-2******"}, {"qrlb_meddept", "산부인과"}, {"qrlb_admdate", "2023년 05월 01일"},
         {"qrlb_telno1", "042-485-9597"}, {"qrlb_telno2", "010-3653-1048"},
         {"qrlb_address", "충청남도 천안시 서북구 불당대로 234, 907동 302호 (불당동, 천안불당 지웰시티 푸르지오 2차)"},
         {"qrlb_age", "28"}, {"qrlb_religion", "기독교"}, {"qrlb_husrel", "무교"}, {"qrlb_husname", "박준호"},
         {"qrlb_bp", "118/76"}, {"qrlb_pulse", "82"}, {"qrlb_bt", "36.8"}, {"qrlb_fht", "142"},
         {"qrlb_prewgt", "54.2"}, {"qrlb_Aftwgt", "66.8"}, {"qrlb_Height", "162.5"}, {"qrlb_bldabo", "A"},
         {"qrlb_rh", "+"}, {"qrlb_husbld", "O"}, {"qrlb_husrh", "+"}, {"qrlb_lmp", "2022-08-12"},
         {"qrlb_edc", "2023-05-19"}, {"qrlb_dgpwks", "37"}, {"qrlb_dgpday", "3"}, {"qrlb_full", "1"},
         {"qrlb_pre", "0"}, {"qrlb_abort", "1"}, {"qrlb_lineb", "1"},
         {"qrlb_prgsketc", "임신성 당뇨 (식이 조절), 경미한 빈혈 (철분제 복용)"}, {"qrlb_xray", ""},
         {"qrlb_prgdrg", "철분제 (훼럼포라 1일 1회), 엽산제 (임신 12주까지)"}, {"qrlb_prgsmk", ""},
         {"qrlb_prgdrk", ""}, {"qrlb_alg", "페니실린 (두드러기)"},
         {"qrlb_dimthd", "모자동실 희망, 분만 직후 모유수유 시작 원함"},
         {"qrlb_etc", "쌍태임신(이융모막 이양막). 임신 28주 임신성 당뇨 진단 후 식이 조절로 혈당 양호하게 유지함. 첫 임신 시 "
                      "12주에 자연유산 경험 있음. 분만 과정에 대한 불안감을 호소하여 호흡법과 이완법 교육 시행함."},
         {"qrlb_painper", "9시간 40분"}, {"qrlb_inborn", "옥시토신 유도분만 (2023-05-01 06:00 시작)"},
         {"qrlb_baby1", "아기 1"}, {"qrlb_borntime", "2023-05-01 15:23:10"}, {"qrlb_babyWeight", "2680"},
         {"qrlb_Deltype", "NSVD / D"}, {"qrlb_Maturity", "Term / D"}, {"qrlb_necktype", "TYPE:"},
         {"qrlb_neck", "1회 느슨하게 감김 (Loose x1)"}, {"qrlb_Type", ""}, {"qrlb_stlcol", ""},
         {"qrlb_Apgar11", "101/분이상"}, {"qrlb_Apgar12", "사지를 약간 구부림"}, {"qrlb_Apgar13", "잘울음"},
         {"qrlb_Apgar14", "사지창백,몸은분홍"}, {"qrlb_Apgar15", "기침,재채기"}, {"qrlb_Apgar21", "101/분이상"},
         {"qrlb_Apgar22", "잘움직임"}, {"qrlb_Apgar23", "잘울음"}, {"qrlb_Apgar24", "사지창백,몸은분홍"},
         {"qrlb_Apgar25", "기침,재채기"}, {"qrlb_babyscore", "8"}, {"qrlb_babyscore5", "9"},
         {"qrlb_bodychk", "외견상 기형 없음. 대천문 평탄, 구개열 없음, 쇄골 골절 없음, 항문 개통 확인함. 양측 고관절 외전 정상, "
                          "피부에 태지 소량 있음."},
         {"qrlb_delvdr", "정수연"}, {"qrlb_delvnur", "최지현"}});
    // Marked: married, 갑상선질환, 당뇨 and 기타 among the complications, medication and
    // allergy, 모유, every delivery item, a girl, the cord, the nursery.
    std::map<std::string, std::string> marks;
    for (const char *box :
         {"qrlb_marryyn1", "qrlb_none", "qrlb_dzh1", "qrlb_dzh2", "qrlb_dzh3", "qrlb_dzh4", "qrlb_dzh5", "qrlb_dzh7",
          "qrlb_dzh8", "qrlb_dzh9", "qrlb_amnio2", "qrlb_PrgSick1", "qrlb_PrgSick3", "qrlb_PrgSick4", "qrlb_PrgSick5",
          "qrlb_xray2", "qrlb_prgdrg1", "qrlb_prgsmk2", "qrlb_prgdrk2", "qrlb_alg1", "qrlb_dimthd2", "qrlb_dew1",
          "qrlb_rom1", "qrlb_pain1", "qrlb_inborn1", "qrlb_babysex1", "qrlb_revive2", "qrlb_oxigen2", "qrlb_intu2",
          "qrlb_neck1", "qrlb_stlcol2", "qrlb_nicu", "qrlb_pri", "qrlb_abortion"})
        marks[box] = "";
    for (const char *box :
         {"qrlb_marryyn2", "qrlb_dzh6", "qrlb_amnio1", "qrlb_PrgSick2", "qrlb_PrgSick6", "qrlb_xray1", "qrlb_prgdrg2",
          "qrlb_prgsmk1", "qrlb_prgdrk1", "qrlb_alg2", "qrlb_dimthd1", "qrlb_dew2", "qrlb_rom2", "qrlb_pain2",
          "qrlb_inborn2", "qrlb_babysex2", "qrlb_revive1", "qrlb_oxigen1", "qrlb_intu1", "qrlb_neck2", "qrlb_stlcol1",
          "qrlb_nur"})
        marks[box] = kMark;
    expectPrintedWhole(printed, pages, marks);

    expectSummaryAndHistory(printed, kKind, {"00004008", "20230501", "20230504", "I", "산부인과", "정수연"});
}

TEST_F(DeliveryRecord, AOneMinuteItemNotScoredCountsNothingAndThePrintGoesOn)
{
    // One-minute scores 2, blank, 1, a blank, 1; five-minute 2, blank, 2, 2, 2.
    const auto printed = printAdmission(kKind, "00009201", "20230610");
    ASSERT_TRUE(printed.printed()) << printed.failure;
    EXPECT_EQ(printedText(*printed.document, "qrlb_babyscore"), "4");
    EXPECT_EQ(printedText(*printed.document, "qrlb_babyscore5"), "8");
    EXPECT_EQ(printedText(*printed.document, "qrlb_Apgar13"), "");
    EXPECT_EQ(printedText(*printed.document, "qrlb_Apgar15"), "");
}

// The rules on the real form, one case at a time; every other field empty.
TEST(DeliveryRecordRules, EachRuleOnTheForm)
{
    const std::string V = kMark;
    const std::vector<mt::SheetRuleCase> cases = {
        {"married N", {{"S_CODE8", "N"}}, {{"qrlb_marryyn1", V}, {"qrlb_marryyn2", ""}}},
        {"married Y", {{"S_CODE8", "Y"}}, {{"qrlb_marryyn1", ""}, {"qrlb_marryyn2", V}}},
        {"married empty", {}, {{"qrlb_marryyn1", ""}, {"qrlb_marryyn2", V}}},
        {"married other", {{"S_CODE8", "n"}}, {{"qrlb_marryyn1", ""}, {"qrlb_marryyn2", V}}},
        {"feeding N keeps 모유", {{"S_NAME14", "N"}}, {{"qrlb_dimthd1", V}, {"qrlb_dimthd2", ""}}},
        {"induction Y", {{"S_NAME21", "Y"}, {"S_NAME22", "옥시토신"}},
         {{"qrlb_inborn1", ""}, {"qrlb_inborn2", V}, {"qrlb_inborn", "옥시토신"}}},
        {"past history: 고혈압 only", {{"S_CODE16", "NYNNNNNNNN"}},
         {{"qrlb_none", ""}, {"qrlb_dzh1", V}, {"qrlb_dzh2", ""}, {"qrlb_dzh9", ""}}},
        {"past history: none", {{"S_CODE16", "YNNNNNNNNN"}},
         {{"qrlb_none", V}, {"qrlb_dzh1", ""}, {"qrlb_dzh5", ""}, {"qrlb_dzh9", ""}}},
        {"past history: none wins over a Y", {{"S_CODE16", "YYYYYYYYYY"}}, {{"qrlb_none", V}, {"qrlb_dzh1", ""}}},
        {"past history empty", {},
         {{"qrlb_none", ""}, {"qrlb_dzh1", V}, {"qrlb_dzh4", V}, {"qrlb_dzh9", V}}},
        {"past history short: missing positions keep their mark", {{"S_CODE16", "NNN"}},
         {{"qrlb_dzh1", ""}, {"qrlb_dzh2", ""}, {"qrlb_dzh3", V}, {"qrlb_dzh9", V}}},
        {"complications NY", {{"S_NAME2", "NY"}},
         {{"qrlb_PrgSick1", ""}, {"qrlb_PrgSick2", V}, {"qrlb_PrgSick3", ""}, {"qrlb_PrgSick6", ""}}},
        {"complications 기타 and its text", {{"S_NAME2", "NNNNNY"}, {"S_DATE18", "빈혈"}},
         {{"qrlb_PrgSick6", V}, {"qrlb_prgsketc", "빈혈"}}},
        {"LMP and EDC known", {{"S_CODE24", "20220812"}, {"S_CODE25", "20230519"}, {"S_STRING1", "N"}},
         {{"qrlb_lmp", "2022-08-12"}, {"qrlb_edc", "2023-05-19"}}},
        {"LMP and EDC unknown", {{"S_CODE24", "20220812"}, {"S_CODE25", "20230519"}, {"S_STRING1", "Y"}, {"S_STRING2", "Y"}},
         {{"qrlb_lmp", ""}, {"qrlb_edc", ""}}},
        {"vital signs trimmed", {{"S_CODE9", " 120"}, {"S_CODE10", "80 "}, {"S_CODE11", " 72 "}, {"S_CODE13", " 140"}},
         {{"qrlb_bp", "120/80"}, {"qrlb_pulse", "72"}, {"qrlb_fht", "140"}}},
        {"blood pressure not taken", {}, {{"qrlb_bp", "/"}}},
        {"admission date", {{"record.1", "20230501"}}, {{"qrlb_admdate", "2023년 05월 01일 "}}},
        {"birth time", {{"S_NAME23", "20230501152310"}}, {{"qrlb_borntime", "2023-05-01 15:23:10"}}},
        {"boy", {{"S_NAME24", "M"}}, {{"qrlb_babysex1", V}, {"qrlb_babysex2", ""}}},
        {"sex not given", {}, {{"qrlb_babysex1", ""}, {"qrlb_babysex2", ""}}},
        {"resuscitation Y, oxygen N", {{"S_DATE5", "Y"}, {"S_DATE6", "N"}},
         {{"qrlb_revive1", ""}, {"qrlb_revive2", V}, {"qrlb_oxigen1", V}, {"qrlb_oxigen2", ""}, {"qrlb_intu1", ""},
          {"qrlb_intu2", ""}}},
        {"maturity", {{"S_STRING8", "Preterm"}}, {{"qrlb_Maturity", "Preterm / D"}}},
        {"cord N", {{"S_NAME26", "N"}, {"S_NAME27", "x1"}},
         {{"qrlb_neck1", V}, {"qrlb_neck2", ""}, {"qrlb_necktype", ""}, {"qrlb_neck", ""}}},
        {"cord Y", {{"S_NAME26", "Y"}, {"S_NAME27", "Tight x2"}},
         {{"qrlb_neck1", ""}, {"qrlb_neck2", V}, {"qrlb_necktype", "TYPE:"}, {"qrlb_neck", "Tight x2"}}},
        {"cord empty: every label emptied", {{"S_NAME27", "x1"}},
         {{"qrlb_neck1", ""}, {"qrlb_neck2", ""}, {"qrlb_necktype", ""}, {"qrlb_neck", ""}}},
        {"meconium Y", {{"S_NAME28", "Y"}, {"S_NAME29", "Thick"}},
         {{"qrlb_stlcol1", ""}, {"qrlb_stlcol2", V}, {"qrlb_Type", "TYPE:"}, {"qrlb_stlcol", "Thick"}}},
        {"admitted to NICU", {{"S_DATE9", "NICU"}},
         {{"qrlb_nur", ""}, {"qrlb_nicu", V}, {"qrlb_pri", ""}, {"qrlb_abortion", ""}}},
        {"stillbirth", {{"S_DATE9", "PRI"}}, {{"qrlb_pri", V}, {"qrlb_nicu", ""}}},
        {"a place not in the list", {{"S_DATE9", "ER"}},
         {{"qrlb_nur", ""}, {"qrlb_nicu", ""}, {"qrlb_pri", ""}, {"qrlb_abortion", ""}}},
        {"delivery type P-C", {{"S_DATE12", "P-C"}}, {{"qrlb_Deltype", "P-C / S"}}},
        {"newborn label", {}, {{"qrlb_baby1", "아기 1"}}},
        // The items are stored out of order: each label reads its own field.
        {"Apgar fields as stored",
         {{"S_NAME30", "0"}, {"S_DATE2", "1"}, {"S_DATE1", "2"}, {"S_DATE4", "1"}, {"S_DATE3", "0"}, {"S_STRING3", "1"},
          {"S_STRING5", "0"}, {"S_STRING4", "1"}, {"S_STRING7", "2"}, {"S_STRING6", "1"}},
         {{"qrlb_Apgar11", "없음"}, {"qrlb_Apgar12", "사지를 약간 구부림"}, {"qrlb_Apgar13", "잘울음"},
          {"qrlb_Apgar14", "사지창백,몸은분홍"}, {"qrlb_Apgar15", "없음"}, {"qrlb_Apgar21", "100/분이하"},
          {"qrlb_Apgar22", "늘어짐"}, {"qrlb_Apgar23", "느리고불규칙"}, {"qrlb_Apgar24", "전신분홍"},
          {"qrlb_Apgar25", "얼굴을 찡그림"}, {"qrlb_babyscore", "4"}, {"qrlb_babyscore5", "5"}}},
        {"one-minute total 2, 2, 1, 1, 2",
         {{"S_NAME30", "2"}, {"S_DATE2", "2"}, {"S_DATE1", "1"}, {"S_DATE4", "1"}, {"S_DATE3", "2"}},
         {{"qrlb_babyscore", "8"}, {"qrlb_babyscore5", "0"}}},
        {"blank one-minute items count 0",
         {{"S_NAME30", " "}, {"S_DATE2", "2"}, {"S_DATE1", ""}, {"S_DATE4", "  1"}, {"S_DATE3", "2"}},
         {{"qrlb_Apgar11", ""}, {"qrlb_Apgar13", ""}, {"qrlb_Apgar14", "사지창백,몸은분홍"}, {"qrlb_babyscore", "5"}}},
        {"a score outside 0 to 2 prints nothing and counts as given", {{"S_NAME30", "3"}, {"S_STRING3", "-1"}},
         {{"qrlb_Apgar11", ""}, {"qrlb_Apgar21", ""}, {"qrlb_babyscore", "3"}, {"qrlb_babyscore5", "-1"}}},
    };
    mt::ExpectSheetRules(kKind, cases);
}

TEST(DeliveryRecordRules, DeliveryTypeSuffixes)
{
    for (const auto &[type, text] : std::vector<std::pair<std::string, std::string>>{
             {"P-C", "P-C / S"}, {"R-C", "R-C / S"}, {" R-C ", " R-C  / S"}, {"V", "V BAC"}, {"NSVD", "NSVD / D"},
             {"", " / D"}, {"p-c", "p-c / D"}}) {
        SCOPED_TRACE(type);
        EXPECT_EQ(reports::DeliveryTypeText(type), text);
    }
}

TEST(DeliveryRecordRules, EveryScoreThatIsNotANumberStopsThePrintNamingItsField)
{
    for (const char *field : {"S_NAME30", "S_DATE1", "S_DATE2", "S_DATE3", "S_DATE4", "S_STRING3", "S_STRING4",
                              "S_STRING5", "S_STRING6", "S_STRING7"}) {
        SCOPED_TRACE(field);
        reports::FieldValues values = mt::EmptySheetValues(kKind);
        values.set(field, "2a");
        EXPECT_EQ(mt::FillFailure(kKind, values), std::string("출력하지 못했습니다. ") + field + " 값이 숫자가 아닙니다: '2a'");
    }
}

} // namespace
