// The general nursing sheet's rules case by case: its binding tables applied to its real form
// files with one field set at a time, the others empty. Flag strings, choices, byte slices and
// the old formats the sheets still meet.
#include "MNW921P3/MNW921P3.h"

#include "ContextValues.h"
#include "FormConventions.h"
#include "NursingSheet.h"
#include "NursingSheetTesting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

constexpr const char *kKind = "MDADINFT";

const std::vector<mt::SheetRuleCase> &ruleCases()
{
    static const std::vector<mt::SheetRuleCase> cases = {
        {"occupation 08 with a title", {{"S_STRING2", "08프리랜서 번역가"}}, {{"qrl_work", "프리랜서 번역가"}}, {}, {}},
        {"occupation 10", {{"S_STRING2", "10"}}, {{"qrl_work", "목회자"}}, {}, {}},
        {"marital status outside 1 to 4", {{"S_STRING5", "5"}, {"S_STRING84", "2"}}, {{"qrl_merr", "/2"}}, {}, {}},
        {"education 0 and blank", {{"S_STRING6", "0"}}, {{"qrl_adu", ""}}, {}, {}},
        {"education blank", {{"S_STRING6", " "}}, {{"qrl_adu", ""}}, {}, {}},
        {"nationality with blanks", {{"S_STRING89", " 대한민국 "}}, {{"qrl_Nation", "대한민국"}}, {}, {}},
        {"nationality other", {{"S_STRING89", " 베트남"}}, {{"qrl_Nation", " 베트남"}}, {}, {}},
        {"race still filled on its disabled label", {{"S_STRING90", "2"}}, {{"qrl_Race", "백인종"}}, {}, {}},
        {"route 2 and a note", {{"S_STRING9", "2타 병원 의뢰"}}, {{"qrl_admcou", "응급(타 병원 의뢰)"}}, {}, {}},
        {"route 3 is the note alone", {{"S_STRING9", "3직접 내원"}}, {{"qrl_admcou", "직접 내원"}}, {}, {}},
        {"method 3 and a note", {{"S_STRING10", "3구급차"}}, {{"qrl_admmeth", "눕는차(구급차)"}}, {}, {}},
        {"method 4 is the note alone", {{"S_STRING10", "4업혀서"}}, {{"qrl_admmeth", "업혀서"}}, {}, {}},
        {"blood type blank", {{"S_STRING70", " "}}, {{"qrl_bldtype", "모름"}}, {}, {}},
        {"blood type 3", {{"S_STRING70", "3"}}, {{"qrl_bldtype", "AB"}}, {}, {}},
        {"blood pressure", {{"S_STRING66", "120"}, {"S_STRING67", "80"}}, {{"qrl_bldprehi", "120/80"}}, {}, {}},
        {"stress 11", {{"S_STRING96", "11"}}, {{"qrl_Stress", "중환자실에서 인공호흡기 치료를 요하는 자"}}, {}, {}},
        {"stress 12", {{"S_STRING96", "12"}}, {{"qrl_Stress", ""}}, {}, {}},
        {"admission date", {{"record.1", "20180514"}}, {{"qrl_admdate", "2018-05-14"}}, {}, {}},
        {"orientation with a blank", {{"S_STRING20", "2 1"}}, {{"qrl_pshist1", "유"}, {"qrl_pshist2", ""}, {"qrl_pshist3", "무"}}, {}, {}},
        {"smoking empty", {}, {}, {"qrs_pastTabaco"}, {"qrs_Tabaco", "qrs_noTabaco"}},
        {"smoking 2", {{"S_STRING87", "2"}}, {}, {"qrs_noTabaco"}, {"qrs_pastTabaco", "qrs_Tabaco"}},
        {"sleep defaults", {}, {}, {"qrs_sleep1", "qrs_sleepdg1", "qrs_bringN", "qrs_admlast1"}, {"qrs_sleep2"}},
        {"allergy 2", {{"S_STRING11", "2"}}, {}, {"qrs_argyn2"}, {"qrs_argyn1"}},
        {"allergy 3", {{"S_STRING11", "3"}}, {}, {}, {"qrs_argyn1", "qrs_argyn2"}},
        {"admission history 2", {{"S_STRING76", "2  2010년 입원 "}}, {{"qrl_admlast", "2010년 입원"}}, {"qrs_admlast2"}, {"qrs_admlast1"}},
        {"admission history 1", {{"S_STRING76", "1"}}, {{"qrl_admlast", "무"}}, {"qrs_admlast1"}, {"qrs_admlast2"}},
        {"past history flags and text", {{"S_STRING15", "NYNNY기타 질환"}}, {{"qrl_pthist", "기타 질환"}}, {"qrs_pthist2", "qrs_pthist5"}, {"qrs_pthist1", "qrs_pthist3"}},
        // bytes 6 to 60 of 5 flags and 28 syllables: 27 whole syllables, never half of the 28th
        {"past history cut inside a syllable", {{"S_STRING15", "NNNNN" + mt::Syllables(28)}}, {{"qrl_pthist", mt::Syllables(27)}}, {}, {}},
        {"medication cut inside a syllable", {{"S_STRING16", "2a" + mt::Syllables(30)}}, {{"qrl_dgstat", "a" + mt::Syllables(24)}}, {"qrs_dgstat2"}, {"qrs_dgstat1"}},
        {"medication short", {{"S_STRING16", "1"}}, {{"qrl_dgstat", ""}}, {"qrs_dgstat1"}, {"qrs_dgstat2"}},
        {"family text trimmed", {{"S_STRING17", "NYNNNN  갑상선 "}}, {{"qrl_famcase", "갑상선"}}, {"qrs_famcase2"}, {}},
        {"operation names past byte 250", {{"S_STRING19", "2" + mt::Syllables(130)}}, {{"qrl_opnm", mt::Syllables(124)}}, {"qrs_opyn2"}, {"qrs_opyn1"}},
        {"consciousness 3", {{"S_STRING21", "3"}}, {}, {"qrs_condst3"}, {"qrs_condst1"}},
        {"weight change 1 is an increase", {{"S_STRING75", "1"}}, {}, {"qrs_wetchg2"}, {"qrs_wetchg1", "qrs_wetchg3"}},
        {"weight change 3 is none", {{"S_STRING75", "3"}}, {}, {"qrs_wetchg1"}, {"qrs_wetchg2"}},
        {"urine, old: a count at 5", {{"S_STRING79", "YNYN5"}}, {{"qrl_urineCnt", "5"}}, {"qrs_urinkd1", "qrs_urinkd3"}, {"qrs_urinkd5", "qrs_urinkd9"}},
        {"urine, new: flags 5 to 9 and the count", {{"S_STRING79", "NNNNYNNNY 8 "}}, {{"qrl_urineCnt", "8"}}, {"qrs_urinkd5", "qrs_urinkd9"}, {"qrs_urinkd1", "qrs_urinkd6"}},
        {"nerves, old: the site at 4", {{"S_STRING80", "NYY우측 상지 저림"}}, {{"qrl_nerves", "우측 상지 저림"}}, {"qrs_nerves2", "qrs_nerves3"}, {"qrs_nerves4"}},
        {"nerves, new: 4 is a flag", {{"S_STRING80", "NNNY 좌측"}}, {{"qrl_nerves", "좌측"}}, {"qrs_nerves4"}, {}},
        {"edema, old", {{"S_STRING41", "NNNYNNN하지 부종"}}, {{"qrl_neost", "하지 부종"}}, {"qrs_neost4"}, {"qrs_neost8"}},
        {"edema, new", {{"S_STRING41", "NNNNNNNY발목"}}, {{"qrl_neost", "발목"}}, {"qrs_neost8"}, {}},
        {"support, seven flags and a description", {{"S_STRING37", "NYNNNNN휠체어 사용 중"}}, {{"qrl_support", "휠체어 사용 중"}}, {"qrs_support2"}, {"qrs_support8"}},
        {"support, eighth flag Y, kept untrimmed", {{"S_STRING37", "NNNNNYNY 보조기 "}}, {{"qrl_support", " 보조기 "}}, {"qrs_support8"}, {"qrs_support7"}},
        {"skin site from 14", {{"S_STRING81", "NYNNNYNNNNNNN 천골 "}}, {{"qrl_skinst", "천골"}}, {"qrs_skinst2", "qrs_skinst6"}, {"qrs_skinst1"}},
        {"paralysis and skin colour off the page", {{"S_STRING36", "NNNNNY"}, {"S_STRING38", "YNNNNNNY"}}, {}, {"qrs_palsy6", "qrs_skin1", "qrs_skin8"}, {}},
        {"facilities of exactly 11 characters", {{"S_STRING49", "1YYYYYNYYYY"}}, {}, {"qrs_edu2", "qrs_edu21", "qrs_edu311"}, {"qrs_edu26"}},
        {"facilities with a 12th character", {{"S_STRING49", "1NNNNNNNNNNN"}}, {}, {"qrs_edu2"}, {"qrs_edu311", "qrs_edu21"}},
        {"facilities not given", {{"S_STRING49", "2YYYYYYYYYYY"}}, {}, {}, {"qrs_edu2", "qrs_edu21", "qrs_edu311"}},
        {"hospital facilities", {{"S_STRING50", "1NYNNNY"}}, {}, {"qrs_edu3", "qrs_edu32", "qrs_edu36"}, {"qrs_edu31"}},
        {"hospital facilities not given", {{"S_STRING50", "0YYYYYY"}}, {}, {}, {"qrs_edu3", "qrs_edu31"}},
        {"fire safety", {{"S_STRING51", "1NY"}}, {}, {"qrs_edu4", "qrs_edu42"}, {"qrs_edu41"}},
        {"teaching squares by the flag rule", {{"S_STRING52", "Y"}, {"S_STRING54", "y"}}, {}, {"qrs_edu5"}, {"qrs_edu7"}},
        {"place 4 and its name", {{"S_STRING100", "4딸의 집"}}, {{"qrl_Waitetc", "딸의 집"}}, {"qrs_Wait4"}, {"qrs_Wait1"}},
        {"place empty", {}, {{"qrl_Waitetc", ""}}, {"qrs_Wait4"}, {"qrs_Wait1", "qrs_Wait2", "qrs_Wait3"}},
        {"place 2", {{"S_STRING100", "2"}}, {{"qrl_Waitetc", ""}}, {"qrs_Wait2"}, {"qrs_Wait4"}},
        {"teaching target starts at 0", {{"S_STRING102", "0"}}, {}, {"qrs_Daesang1"}, {"qrs_Daesang2"}},
        {"lives with carer 2", {{"S_STRING98", "2"}, {"S_STRING99", "1"}}, {}, {"qrs_Outedu12", "qrs_Outedu21"}, {"qrs_Outedu11"}},
        {"the writer on both footers", {{"MD_INSAM_L1.S_STRING2", "최지현"}}, {{"QRLabel243", "최지현"}, {"QRLabel342", "최지현"}, {"qrl_nurse", "최지현"}}, {}, {}},
    };
    return cases;
}

TEST(GeneralNursingRules, EachRuleOfTheSheetOnItsForms) { mt::ExpectSheetRules(kKind, ruleCases()); }

TEST(GeneralNursingRules, ANumberFieldHoldingNoNumberStopsThePrint)
{
    for (const auto &[field, value] : std::vector<std::pair<std::string, std::string>>{
             {"S_STRING6", "x"}, {"S_STRING2", "AB"}, {"S_STRING9", "X타 병원"}, {"S_STRING49", "AYYY"}}) {
        SCOPED_TRACE(field + " = " + value);
        reports::FieldValues values = mt::EmptySheetValues(kKind);
        values.set(field, value);
        EXPECT_THROW(mt::FilledSheet(kKind, values), reports::CodeConversionError);
    }
    // Compared as text: no conversion.
    reports::FieldValues values = mt::EmptySheetValues(kKind);
    values.set("S_STRING87", "x");
    values.set("S_STRING50", "x");
    EXPECT_NO_THROW(mt::FilledSheet(kKind, values));
}

TEST(GeneralNursingRules, ByteSlicesNeverSplitACharacter)
{
    using reports::sheet::Chars;
    using reports::sheet::CharsFrom;
    using reports::sheet::CharAt;
    const struct
    {
        std::string value;
        std::size_t first, last;
        std::string expected;
    } cases[] = {
        {"NYYNN고지혈증", 6, 60, "고지혈증"},
        {"NYYNN고지혈증", 6, 8, "고"},   // 지 takes bytes 8 and 9
        {"NYYNN고지혈증", 7, 60, "지혈증"}, // byte 7 is the second half of 고
        {"a가b", 2, 3, "가"},
        {"YNNN", 5, 60, ""},
        {"", 1, 10, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Chars(c.value, c.first, c.last), c.expected);
    }
    EXPECT_EQ(CharsFrom("08프리랜서", 3), "프리랜서");
    EXPECT_EQ(CharsFrom("08", 3), "");
    EXPECT_EQ(CharAt("NY휠", 3), "");
    EXPECT_EQ(CharAt("NY휠", 2), "Y");
}

} // namespace
