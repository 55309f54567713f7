// The child and psychiatric nursing sheets' rules case by case: each sheet's binding tables
// applied to its real form files with a few fields set and the others empty. Code tables of
// their own (code 0 among them), byte slices that never print half a character, squares picked
// by a code or driven character by character, the teaching and discharge sections the two
// sheets share, and the codes that are not numbers.
#include "NursingSheetTesting.h"

#include "ContextValues.h"
#include "FormConventions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

TEST(ChildSheetRules, EachRuleOfTheSheetOnItsForms)
{
    mt::ExpectSheetRules(
        "MDPDINFT",
        {
            {"writer on both footers and the nurse's label", {{"S_STRING1", "김은영"}},
             {{"QRLabel190", "김은영"}, {"qlb_edtnurnm1", "김은영"}, {"qrl_nurse", "김은영"}}, {}, {}},
            {"ward from the record row", {{reports::value::record(4), "51-5107"}}, {{"qrl_ward", "51-5107"}}, {}, {}},
            // the eighth character opens the pain's manner: the ear's square stays white
            {"pain, eight flags", {{"S_STRING42", "YYYYYYYY귀 통증"}}, {{"qrl_bpain", "Y귀 통증"}},
             {"qrs_bpain1", "qrs_bpain7"}, {"qrs_bpain8"}},
            {"pain's manner cut inside a syllable", {{"S_STRING42", "NNNNNNNa" + mt::Syllables(31)}},
             {{"qrl_bpain", "a" + mt::Syllables(29)}}, {}, {"qrs_bpain8"}},
            {"malformation 2", {{"S_STRING34", "2"}}, {}, {"qrs_gihyung2"}, {"qrs_gihyung1"}},
            {"malformation 1", {{"S_STRING34", "1부위 없음"}}, {}, {"qrs_gihyung1"}, {"qrs_gihyung2"}},
            {"malformation 3", {{"S_STRING34", "3"}}, {}, {}, {"qrs_gihyung1", "qrs_gihyung2"}},
            {"nationality flag trimmed", {{"S_STRING80", " 1 "}, {"S_STRING81", "중국"}}, {{"qrl_Nation", "대한민국"}}, {}, {}},
            {"nationality flag 01 is not 1", {{"S_STRING80", "01"}, {"S_STRING81", "중국"}}, {{"qrl_Nation", "중국"}}, {}, {}},
            {"parents' occupations 08 and 12", {{"S_STRING62", "08"}, {"S_STRING63", "12"}},
             {{"qrl_Job1", "교사"}, {"qrl_Job2", "기타"}}, {}, {}},
            {"parent's occupation 13", {{"S_STRING62", "13"}}, {{"qrl_Job1", ""}}, {}, {}},
            {"religions 7 and 0", {{"S_STRING100", "7"}, {"S_STRING64", "0"}, {"S_STRING65", "3"}},
             {{"QRLabel284", "기타"}, {"qrl_reg1", ""}, {"qrl_reg2", "카톨릭"}}, {}, {}},
            {"route 3 is the note alone", {{"S_STRING10", "3타 병원 전원"}}, {{"qrl_admcou", "타 병원 전원"}}, {}, {}},
            {"route 1 leaves the note out", {{"S_STRING10", "1소아과 외래"}}, {{"qrl_admcou", "외래"}}, {}, {}},
            {"method 4 is the note alone", {{"S_STRING11", "4업혀서"}}, {{"qrl_admmeth", "업혀서"}}, {}, {}},
            {"method 3", {{"S_STRING11", "3"}}, {{"qrl_admmeth", "눕는차"}}, {}, {}},
            {"consciousness and communication compared as text",
             {{"S_STRING30", "1"}, {"S_STRING31", " 3"}}, {{"qrl_condst", "명료"}, {"qrl_concom", ""}}, {}, {}},
            {"activity 2", {{"S_STRING67", "2"}}, {{"qrl_Activest", "자유롭지 못함"}}, {}, {}},
            {"habit", {{"S_STRING60", "NY 손가락 빨기 "}}, {{"qrl_Habit", "손가락 빨기"}}, {"qrl_Habit2"}, {"qrl_Habit1"}},
            {"admission history", {{"S_STRING77", "YN 2019년 입원 "}}, {{"qrl_IpHis", "2019년 입원"}},
             {"qrl_IpHIsY"}, {"qrl_IpHIsN"}},
            {"past history cut inside a syllable", {{"S_STRING20", "NYa" + mt::Syllables(30)}},
             {{"qrl_pthist", "a" + mt::Syllables(26)}}, {"qrs_pthist2"}, {"qrs_pthist1"}},
            {"delivery: three flags and the rest", {{"S_STRING6", "NYN기타 분만"}}, {{"qrl_bunform", "기타 분만"}},
             {"qrs_bunform2"}, {"qrs_bunform1", "qrs_bunform3"}},
            {"blood type blank", {{"S_STRING66", " "}}, {{"qrl_bldtype", "모름"}}, {}, {}},
            {"skin", {{"S_STRING61", "YN 발진 "}}, {{"qrl_skinst", "발진"}}, {"qrl_skinst1"}, {"qrl_skinst2"}},
            {"doses by the flag rule", {{"S_STRING48", "YNY"}}, {}, {"qrs_dpt1", "qrs_dpt3"}, {"qrs_dpt2", "qrs_dpt4"}},
            {"vaccinations: only Y is given", {{"S_STRING49", "Y"}, {"S_STRING51", "y"}},
             {}, {"qrs_measl2", "qrs_cheek1", "qrs_bcg1"}, {"qrs_measl1", "qrs_cheek2", "qrs_bcg2"}},
            {"appetite, weight change, dysphagia as words",
             {{"S_STRING86", "1"}, {"S_STRING87", "3"}, {"S_STRING88", "1"}},
             {{"qrl_Appetite", "양호"}, {"qrl_Wetchg", "무"}, {"qrl_Dysphagia", "있음"}}, {}, {}},
            {"ward facilities: the lead, the items and the call button",
             {{"S_STRING70", "YNNNNNNNNNNY"}, {"S_STRING71", "NYYYYYY"}, {"S_STRING74", "Y"}},
             {}, {"qrs_edu2", "qrs_edu311", "qrs_edu31", "qrs_edu36", "qrs_edu6"}, {"qrs_edu21", "qrs_edu3", "qrs_edu5"}},
            {"discharge: an empty teaching target is the patient", {{"S_STRING92", "4"}, {"S_STRING93", "그룹홈"}},
             {{"qrl_Outedu3oth", "그룹홈"}}, {"qrs_Outedu34", "qrs_Outedu51"}, {"qrs_Outedu52", "qrs_Outedu31"}},
            {"discharge: place 5 fills no square",
             {{"S_STRING92", "5"}, {"S_STRING90", "2"}, {"S_STRING91", "1"}, {"S_STRING94", "2"}, {"S_STRING95", "1"}},
             {}, {"qrs_Outedu12", "qrs_Outedu21", "qrs_Outedu42", "qrs_Outedu52"},
             {"qrs_Outedu31", "qrs_Outedu32", "qrs_Outedu33", "qrs_Outedu34", "qrs_Outedu51"}},
        });
}

TEST(PsychiatricSheetRules, EachRuleOfTheSheetOnItsForms)
{
    mt::ExpectSheetRules(
        "MDPYINFT",
        {
            {"writer on both footers", {{"S_STRING2", "이수진"}},
             {{"QRLabel190", "이수진"}, {"QRLabel125", "이수진"}, {"qrl_nurse", "이수진"}}, {}, {}},
            {"attending and ward from the record row",
             {{reports::value::record(3), "박상철"}, {reports::value::record(4), "71-7106"}},
             {{"qrl_chadr", "박상철"}, {"qrl_ward", "71-7106"}}, {}, {}},
            {"informant and education 0", {{"S_STRING1", "0"}, {"S_STRING9", "0"}},
             {{"qrl_inf", "본인"}, {"qrl_edu", " 한글해독불가"}}, {}, {}},
            {"informant and education blank", {{"S_STRING1", " "}, {"S_STRING9", ""}},
             {{"qrl_inf", ""}, {"qrl_edu", ""}}, {}, {}},
            {"informant 7", {{"S_STRING1", "7"}}, {{"qrl_inf", ""}}, {}, {}},
            {"occupation 8 written out, to byte 31", {{"S_STRING10", "8a" + mt::Syllables(20)}},
             {{"qrl_job", "a" + mt::Syllables(14)}}, {}, {}},
            {"occupation by its first character", {{"S_STRING10", "1회사"}}, {{"qrl_job", "회사원"}}, {}, {}},
            {"occupation 9", {{"S_STRING10", "9"}}, {{"qrl_job", "기타"}}, {}, {}},
            {"companion 3 and its note", {{"S_STRING5", "3 사촌 "}}, {{"qrl_withetc", "사촌"}},
             {"qrs_with3"}, {"qrs_with1", "qrs_with2"}},
            {"companion 1 has no note", {{"S_STRING5", "1사촌"}}, {{"qrl_withetc", ""}}, {"qrs_with1"}, {"qrs_with3"}},
            {"companion 4", {{"S_STRING5", "4"}}, {{"qrl_withetc", ""}}, {}, {"qrs_with1", "qrs_with2", "qrs_with3"}},
            {"route 4, at most 30 bytes", {{"S_STRING4", "4" + mt::Syllables(20)}}, {{"qrl_admpathetc", mt::Syllables(15)}},
             {"qrs_admpath4"}, {"qrs_admpath1"}},
            {"route 2", {{"S_STRING4", "2"}}, {{"qrl_admpathetc", ""}}, {"qrs_admpath2"}, {"qrs_admpath4"}},
            {"legal admission 3", {{"S_STRING3", "3"}}, {}, {"qrs_admmeth3"}, {"qrs_admmeth1", "qrs_admmeth6"}},
            {"legal admission 7", {{"S_STRING3", "7"}}, {}, {}, {"qrs_admmeth1", "qrs_admmeth6"}},
            {"psychomotor 4 shows its note", {{"S_STRING25", "YNNY"}, {"S_STRING26", "서성임"}},
             {{"qrl_pthist", "서성임"}}, {"qrs_pthist1", "qrs_pthist4"}, {"qrs_pthist2", "qrs_pthist5"}},
            {"psychomotor 5 takes the note away", {{"S_STRING25", "NNNYY"}, {"S_STRING26", "서성임"}},
             {{"qrl_pthist", ""}}, {"qrs_pthist4", "qrs_pthist5"}, {}},
            {"each perception character its own square", {{"S_STRING30", "YN"}}, {}, {"qrs_sense1"}, {"qrs_sense2"}},
            {"thought 7 opens its brackets", {{"S_STRING31", "YNYNNNY 관계 망상"}}, {{"qrl_think", " 관계 망상"}},
             {"qrs_think1", "qrs_think3", "qrs_think7"}, {"qrs_think2"}},
            {"thought without 7", {{"S_STRING31", "YNY"}}, {{"qrl_think", ""}}, {"qrs_think3"}, {"qrs_think7"}},
            {"nationality as a number", {{"S_STRING70", "01"}, {"S_STRING71", "필리핀"}}, {{"qrl_Nation", "대한민국"}}, {}, {}},
            {"nationality other", {{"S_STRING70", "2"}, {"S_STRING71", "필리핀"}}, {{"qrl_Nation", "필리핀"}}, {}, {}},
            {"transfusion refusal 1", {{"S_STRING89", "1"}}, {}, {"qrs_bloody"}, {"qrs_bloodn"}},
            {"transfusion refusal 3", {{"S_STRING89", "3"}}, {}, {}, {"qrs_bloody", "qrs_bloodn"}},
            {"allergy as a number", {{"S_STRING64", " 2"}}, {}, {"qrs_argyn2"}, {"qrs_argyn1"}},
            {"allergy 3", {{"S_STRING64", "3"}}, {}, {}, {"qrs_argyn1", "qrs_argyn2"}},
            {"medication and its text", {{"S_STRING45", "2리튬"}}, {{"qrl_dgstat", "리튬"}}, {"qrs_dgstat2"}, {"qrs_dgstat1"}},
            {"past history", {{"S_STRING44", "NNNNNY 갑상선 "}}, {{"qrl_pthist_1", "갑상선"}}, {"qrs_pthist1_6"},
             {"qrs_pthist1_1"}},
            {"sleep squares by the flag rule", {{"S_STRING52", "NY"}, {"S_STRING53", "YN"}}, {},
             {"qrs_sleep2", "qrs_sleepdg1"}, {"qrs_sleep1", "qrs_sleepdg2"}},
            {"orientation, memory, judgement", {{"S_STRING33", "NNNY"}, {"S_STRING34", "YNN"}, {"S_STRING35", "NNNNNY"}},
             {}, {"qrs_pshist4", "qrs_mem1", "qrs_decide6"}, {"qrs_pshist1", "qrs_mem3", "qrs_decide5"}},
            {"teaching from its own fields", {{"S_STRING57", "YYNNNNNNNNN"}, {"S_STRING75", "NNNNY"}, {"S_STRING76", "안내함"}},
             {{"qrme_Eduoth", "안내함"}}, {"qrs_edu2", "qrs_edu21", "qrs_Safeedu5"}, {"qrs_edu311", "qrs_Safeedu1"}},
            {"discharge from its own fields", {{"S_STRING83", "2"}, {"S_STRING86", "2"}, {"S_STRING84", "요양원"}},
             {{"qrl_Outedu3oth", "요양원"}}, {"qrs_Outedu32", "qrs_Outedu53"}, {"qrs_Outedu51"}},
        });
}

TEST(ChildPsychiatricSheetRules, ACodeThatIsNotANumberStopsThePrint)
{
    struct Case
    {
        const char *kind, *field, *value;
        bool readAsNumber; // otherwise compared as text, never converted
    };
    for (const Case &c : std::vector<Case>{{"MDPDINFT", "S_STRING3", "x", true},
                                           {"MDPDINFT", "S_STRING34", "x", true},
                                           {"MDPDINFT", "S_STRING62", "AB", true},
                                           {"MDPDINFT", "S_STRING10", "X응급", true},
                                           {"MDPDINFT", "S_STRING67", "x", true},
                                           {"MDPDINFT", "S_STRING80", "x", false},
                                           {"MDPDINFT", "S_STRING30", "x", false},
                                           {"MDPDINFT", "S_STRING49", "x", false},
                                           {"MDPDINFT", "S_STRING92", "x", false},
                                           {"MDPYINFT", "S_STRING1", "x", true},
                                           {"MDPYINFT", "S_STRING5", "x친구", true},
                                           {"MDPYINFT", "S_STRING70", "x", true},
                                           {"MDPYINFT", "S_STRING89", "x", true},
                                           {"MDPYINFT", "S_STRING83", "x", false}}) {
        SCOPED_TRACE(std::string(c.kind) + " " + c.field + " = " + c.value);
        reports::FieldValues values = mt::EmptySheetValues(c.kind);
        values.set(c.field, c.value);
        if (c.readAsNumber)
            EXPECT_THROW(mt::FilledSheet(c.kind, values), reports::CodeConversionError);
        else
            EXPECT_NO_THROW(mt::FilledSheet(c.kind, values));
    }
}

} // namespace
