// The maternity nursing sheet's rules case by case: its binding tables applied to its real form
// files with a few fields set, the others empty. Where it reads its fields otherwise than the
// general sheet (labels compared as text, tails kept as delivered, the teaching string, the
// place after discharge), the cases say so.
#include "NursingSheetTesting.h"

#include "FormConventions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

constexpr const char *kKind = "MDOBINFT";

// The 33 teaching characters, all "Y" but the three section codes and what `changes` sets.
std::string teaching(std::vector<std::pair<std::size_t, char>> changes, char sections = '1')
{
    std::string text(33, 'Y');
    for (std::size_t position : {2u, 13u, 20u})
        text[position - 1] = sections;
    for (const auto &[position, flag] : changes)
        text[position - 1] = flag;
    return text;
}

const std::vector<mt::SheetRuleCase> &ruleCases()
{
    static const std::vector<mt::SheetRuleCase> cases = {
        // the title and the patient from the screen, the writer from the staff row
        {"the patient from the panels", {{"panel.patNo", "00001301"}, {"panel.name", "김민지"}, {"panel.resNo", "880505-2178030"}, {"panel.sexAge", "F/38세"}},
         {{"qrl_PatNo", "00001301"}, {"qrl_patname", "김민지"}, {"qrl_ci", "880505-2******"}, {"qrl_sex", "F/38세"}}, {}, {}},
        {"department, ward and room, attending from column 2", {{"S_STRING102", "산부인과"}, {"S_STRING105", "DR"}, {"S_STRING106", "02"}, {"record.2", "정수연"}, {"S_STRING108", "2024-04-02 06:35"}},
         {{"qrl_meddept", "산부인과"}, {"qrl_ward", "DR-02"}, {"qrl_chadr", "정수연"}, {"qrl_Frecdate", "2024-04-02 06:35"}}, {}, {}},
        {"ward without a room", {{"S_STRING105", "DR"}}, {{"qrl_ward", "DR-"}}, {}, {}},
        {"the writer on both footers and as the nurse", {{"MD_INSAM_L1.S_STRING2", "이수진"}},
         {{"QRLabel243", "이수진"}, {"QRLabel214", "이수진"}, {"qrl_nurse", "이수진"}}, {}, {}},
        {"the address panel as it stands", {{"panel.address", " 서울특별시 마포구"}}, {{"qrl_addr", " 서울특별시 마포구"}}, {}, {}},
        {"admission date", {{"record.1", "20240402"}}, {{"qrl_admdate", "2024-04-02"}}, {}, {}},
        // The general sheet's tables on this sheet's fields
        {"occupation 08 with a title", {{"S_STRING5", "08프리랜서"}}, {{"qrl_work", "프리랜서"}}, {}, {}},
        {"informant and education", {{"S_STRING7", "2"}, {"S_STRING9", "6"}}, {{"qrl_inf", "보호자"}, {"qrl_adu", "대학원졸"}}, {}, {}},
        {"marital status outside 1 to 4", {{"S_STRING6", "5"}, {"S_STRING8", "0"}}, {{"qrl_merr", "/0"}}, {}, {}},
        {"husband's blood type blank", {{"S_STRING17", " "}}, {{"qrl_Hbldtype", "모름"}, {"qrl_bldtype", "모름"}}, {}, {}},
        {"husband's blood type 4", {{"S_STRING17", "4"}, {"S_STRING26", "3"}}, {{"qrl_Hbldtype", "O"}, {"qrl_bldtype", "AB"}}, {}, {}},
        {"weights and pressure", {{"S_STRING23", "56.0"}, {"S_STRING24", "69.5"}, {"S_STRING21", "128"}, {"S_STRING22", "78"}},
         {{"qrl_preWeight", "56.0"}, {"qrl_postWeight", "69.5"}, {"qrl_bldprehi", "128/78"}}, {}, {}},
        {"nationality with blanks", {{"S_STRING3", " 대한민국 "}}, {{"qrl_Nation", "대한민국"}}, {}, {}},
        {"religion, payment, counselling", {{"S_STRING10", "6"}, {"S_STRING11", "2"}, {"S_STRING12", "1"}},
         {{"qrl_ChType", "천도교"}, {"qrl_Pay", "없음"}, {"qrl_Bokji", "필요"}}, {}, {}},
        {"route 2 and method 3 with notes", {{"S_STRING27", "2구급차"}, {"S_STRING28", "3분만실"}},
         {{"qrl_admcou", "응급(구급차)"}, {"qrl_admmeth", "눕는차(분만실)"}}, {}, {}},
        {"smoking empty", {}, {}, {"qrs_pastTabaco", "qrs_sleep1", "qrs_sleepdg1", "qrs_bringN", "qrs_admlast1"}, {"qrs_Tabaco"}},
        {"smoking 1 with its packs", {{"S_STRING59", "1"}, {"S_STRING60", "0.5"}, {"S_STRING61", "Y"}}, {{"qrl_tabaco", "0.5"}},
         {"qrs_Tabaco", "qrs_eduTabaco"}, {"qrs_pastTabaco"}},
        {"brought medication and refused transfusion", {{"S_STRING114", "Y"}, {"S_STRING109", "1"}}, {}, {"qrs_bringY", "qrs_bloody"}, {"qrs_bringN"}},
        {"race filled on its disabled label", {{"S_STRING4", "3"}}, {{"qrl_Race", "흑인종"}}, {}, {}},
        // section 2
        {"past history cut inside a syllable", {{"S_STRING37", "NNNNY" + mt::Syllables(28)}}, {{"qrl_pthist", mt::Syllables(27)}}, {"qrs_pthist5"}, {"qrs_pthist1"}},
        {"medication cut inside a syllable", {{"S_STRING38", "2a" + mt::Syllables(30)}}, {{"qrl_dgstat", "a" + mt::Syllables(24)}}, {"qrs_dgstat2"}, {"qrs_dgstat1"}},
        {"operation names past byte 250", {{"S_STRING41", "2" + mt::Syllables(130)}}, {{"qrl_opnm", mt::Syllables(124)}}, {"qrs_opyn2"}, {"qrs_opyn1"}},
        {"family text trimmed", {{"S_STRING39", "NYNNNN  갑상선 "}, {"S_STRING40", "모"}}, {{"qrl_famcase", "갑상선"}, {"qrl_famrela", "모"}}, {"qrs_famcase2"}, {}},
        {"admission history 2", {{"S_STRING36", "2 2019년 입원 "}}, {{"qrl_admlast", "2019년 입원"}}, {"qrs_admlast2"}, {"qrs_admlast1"}},
        {"allergy 1", {{"S_STRING31", "1"}, {"S_STRING33", "페니실린"}}, {{"qrl_Arganti", "페니실린"}}, {"qrs_argyn1"}, {"qrs_argyn2"}},
        // section 3: consciousness and communication are labels compared as text
        {"consciousness 3, communication 3", {{"S_STRING43", "3"}, {"S_STRING44", "3"}}, {{"qrl_condst", "반의식"}, {"qrl_concom", "불가능"}}, {}, {}},
        {"consciousness with a blank is no code", {{"S_STRING43", " 1"}, {"S_STRING44", "01"}}, {{"qrl_condst", ""}, {"qrl_concom", ""}}, {}, {}},
        {"consciousness outside the table", {{"S_STRING43", "5"}, {"S_STRING44", "x"}}, {{"qrl_condst", ""}, {"qrl_concom", ""}}, {}, {}},
        {"orientation with a blank", {{"S_STRING42", "2 1"}}, {{"qrl_pshist1", "유"}, {"qrl_pshist2", ""}, {"qrl_pshist3", "무"}}, {}, {}},
        {"weight change 1 is an increase", {{"S_STRING48", "1"}, {"S_STRING47", "3"}}, {}, {"qrs_wetchg2", "qrs_eat3"}, {"qrs_wetchg1"}},
        {"stress and activity", {{"S_STRING50", "8"}, {"S_STRING51", "4"}},
         {{"qrl_Stress", "개복 또는 개흉 수술 후 3일 이상 금식중인 자"}, {"qrl_Activest", "부동상태에서 전적의존의 수동적 운동 혹은 체위변경"}}, {}, {}},
        {"stool trimmed, urine count as delivered", {{"S_STRING56", " 2 "}, {"S_STRING57", "NYNN 6 "}},
         {{"qrl_stool", "2"}, {"qrl_urineCnt", " 6 "}}, {"qrs_urinkd2"}, {"qrs_urinkd1"}},
        {"urine symptoms on page 1", {{"S_STRING72", "NYYYNNYN"}}, {}, {"qrs_urinst2", "qrs_urinst3", "qrs_urinst4", "qrs_urinst7"}, {}},
        {"sight: the text from 5, half a character left out", {{"S_STRING62", "NYN가나다"}}, {{"qrl_eyest", "나다"}}, {"qrs_eyest2"}, {"qrs_eyest1"}},
        {"nerves: 4 is text, not a flag, kept as delivered", {{"S_STRING64", "NNNY 좌측 "}}, {{"qrl_nerves", "Y 좌측 "}}, {}, {"qrs_nerves3"}},
        {"nerves short: past the end is empty", {{"S_STRING64", "NY"}}, {{"qrl_nerves", ""}}, {"qrs_nerves2"}, {"qrs_nerves3"}},
        {"hearing, paralysis, breathing", {{"S_STRING63", "NNNNY"}, {"S_STRING65", "NNNNY"}, {"S_STRING66", "NNNNNNNY"}}, {},
         {"qrs_earst5", "qrs_palsy5", "qrs_respst8"}, {"qrs_earst1", "qrs_respst1"}},
        // page 2
        {"oedema text from 8 as delivered", {{"S_STRING68", "NNNNYNN 발목 "}}, {{"qrl_neost", " 발목 "}}, {"qrs_neost5"}, {"qrs_neost1"}},
        {"skin site from 14 as delivered", {{"S_STRING70", "NYNNNNNNNNNNY 복부 "}}, {{"qrl_skinst", " 복부 "}}, {"qrs_skinst2", "qrs_skinst13"}, {"qrs_skinst1"}},
        {"skin colour", {{"S_STRING71", "YNNNNY"}}, {}, {"qrs_skin1", "qrs_skin6"}, {"qrs_skin2"}},
        {"aids: seven flags and the rest", {{"S_STRING73", "NNNYNNN의수 착용"}}, {{"qrl_support", "의수 착용"}}, {"qrs_support4"}, {"qrs_support1"}},
        {"pain and digestion", {{"S_STRING75", "NNNNNNNNNNNY"}, {"S_STRING69", "NNNNNNNNNNY"}}, {}, {"qrs_pain12", "qrs_dietst11"}, {"qrs_pain1"}},
        {"prenatal visits", {{"S_STRING76", "NYNY"}, {"S_STRING77", "2"}, {"S_STRING78", "성남 의원"}},
         {{"qrl_Preexam", "간헐적"}, {"qrl_Preexam1", "성남 의원"}}, {"qrs_Preexam2", "qrs_Preexam4"}, {"qrs_Preexam1", "qrs_Preexam3"}},
        {"prenatal visits outside the table", {{"S_STRING77", "3"}}, {{"qrl_Preexam", ""}}, {}, {}},
        {"obstetric rows: flags and when", {{"S_STRING83", "NY00시부터"}, {"S_STRING85", "YN"}, {"S_STRING87", "NY142"}},
         {{"qrl_Fasting", "00시부터"}, {"qrl_Rom", ""}, {"qrl_Fhr", "142"}}, {"qrs_Fasting2", "qrs_Rom1", "qrs_Fhr2"}, {"qrs_Fasting1", "qrs_Rom2"}},
        {"menstrual rows", {{"S_STRING88", "13"}, {"S_STRING89", "5일"}, {"S_STRING90", "28일"}, {"S_STRING91", "NNY"}, {"S_STRING92", "YNN"}, {"S_STRING93", "NYN"}},
         {{"qrl_menache1", "13"}, {"qrl_menache2", "5일"}, {"qrl_menache3", "28일"}}, {"qrs_Mens3", "qrs_Menspain1", "qrs_Daeha2"}, {"qrs_Mens1"}},
        // section 4 from one 33-character string
        {"teaching, every square", {{"S_STRING94", teaching({})}}, {},
         {"qrs_edu1", "qrs_edu2", "qrs_edu21", "qrs_edu30", "qrs_edu3", "qrs_edu31", "qrs_edu36", "qrs_edu4", "qrs_edu41", "qrs_edu42",
          "qrs_edu5", "qrs_edu7", "qrs_edu8", "qrs_edu9", "qrs_Safeedu1", "qrs_Safeedu5", "qrs_edu311"}, {}},
        {"teaching, one flag at a time", {{"S_STRING94", teaching({{3, 'N'}, {19, 'N'}, {23, 'N'}, {25, 'N'}, {32, 'N'}, {33, 'N'}})}}, {},
         {"qrs_edu22", "qrs_edu35", "qrs_edu8", "qrs_Safeedu4"},
         {"qrs_edu21", "qrs_edu36", "qrs_edu5", "qrs_edu7", "qrs_Safeedu5", "qrs_edu311"}},
        {"section squares only for 1; their items still by the flags", {{"S_STRING94", teaching({}, 'Y')}}, {},
         {"qrs_edu21", "qrs_edu31", "qrs_edu41"}, {"qrs_edu2", "qrs_edu3", "qrs_edu4"}},
        {"teaching written short", {{"S_STRING94", teaching({}).substr(0, 27)}}, {}, {"qrs_edu9", "qrs_edu4"},
         {"qrs_Safeedu1", "qrs_Safeedu5", "qrs_edu311"}},
        // section 5: only "4" is another place, its name in a field of its own
        {"place 4 and its name", {{"S_STRING98", "4"}, {"S_STRING99", " 친정 "}}, {{"qrl_Waitetc", " 친정 "}}, {"qrs_Wait4"}, {"qrs_Wait1"}},
        {"place 5 fills none", {{"S_STRING98", "5"}}, {}, {}, {"qrs_Wait1", "qrs_Wait2", "qrs_Wait3", "qrs_Wait4"}},
        {"place empty fills none", {}, {}, {}, {"qrs_Wait4"}},
        {"place 3", {{"S_STRING98", "3"}}, {}, {"qrs_Wait3"}, {"qrs_Wait4"}},
        {"lives with, carer, contact, teaching target", {{"S_STRING96", "2"}, {"S_STRING97", "1"}, {"S_STRING100", "2"}, {"S_STRING101", "0"}}, {},
         {"qrs_Outedu12", "qrs_Outedu21", "qrs_Outedu32", "qrs_Daesang1"}, {"qrs_Outedu11", "qrs_Outedu31", "qrs_Daesang2"}},
    };
    return cases;
}

TEST(MaternityNursingRules, EachRuleOfTheSheetOnItsForms)
{
    mt::ExpectSheetRules(kKind, ruleCases());
}

TEST(MaternityNursingRules, RetiredComponentsAreFilledButNeverPrint)
{
    reports::FieldValues values = mt::EmptySheetValues(kKind);
    values.set("S_STRING72", "YYYYYYYY");
    values.set("S_STRING71", "YYYYYY");
    values.set("S_STRING4", "1");
    const mt::FilledSheet sheet(kKind, values);
    const engine::Document doc = sheet.layOut();
    const auto printed = [&](const std::string &component) {
        for (const auto &page : doc.pages)
            for (const auto &e : page.elements)
                if (e.component == component)
                    return true;
        return false;
    };
    for (const char *square : {"qrs_urinst1", "qrs_urinst5", "qrs_urinst6", "qrs_urinst8", "qrs_skin1", "qrs_skin6"}) {
        SCOPED_TRACE(square);
        EXPECT_TRUE(sheet.black(square));
        EXPECT_FALSE(printed(square));
    }
    EXPECT_EQ(sheet.caption("qrl_Race"), "황인종");
    EXPECT_FALSE(printed("qrl_Race"));
    for (const char *square : {"qrs_urinst2", "qrs_urinst7", "qrs_skin2", "qrs_skin5"})
        EXPECT_TRUE(mt::PrintedBlack(doc, square)) << square;
}

TEST(MaternityNursingRules, ANumberFieldHoldingNoNumberStopsThePrint)
{
    for (const auto &[field, value] : std::vector<std::pair<std::string, std::string>>{
             {"S_STRING7", "x"}, {"S_STRING5", "AB"}, {"S_STRING27", "X구급차"}, {"S_STRING77", "x"}, {"S_STRING96", "예"},
             {"S_STRING47", "?"}}) {
        SCOPED_TRACE(field + " = " + value);
        reports::FieldValues values = mt::EmptySheetValues(kKind);
        values.set(field, value);
        EXPECT_THROW(mt::FilledSheet(kKind, values), reports::CodeConversionError);
    }
    // Compared as text: no conversion.
    reports::FieldValues values = mt::EmptySheetValues(kKind);
    for (const char *field : {"S_STRING43", "S_STRING44", "S_STRING59", "S_STRING94", "S_STRING98", "S_STRING100", "S_STRING101"})
        values.set(field, "x");
    EXPECT_NO_THROW(mt::FilledSheet(kKind, values));
}

} // namespace
