// The rules of the nursing admission sheets, table by table: byte-positioned slices, flag
// strings, choices and the code tables, with the edge cases the sheets meet in old records.
#include "AssessmentRules.h"
#include "AssessmentSheet.h"
#include "FormConventions.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace medrec::reports;

namespace {

struct SliceCase
{
    std::string value;
    int first, last;
    std::string expected;
};

TEST(AssessmentSlices, CountCp949BytesAndNeverPrintHalfACharacter)
{
    const std::vector<SliceCase> cases = {
        {"NYYNN고지혈증", 6, 60, "고지혈증"},
        {"NYYNN고지혈증", 6, 9, "고지"},
        {"NYYNN고지혈증", 6, 8, "고"},   // the third syllable straddles byte 8..9: left out
        {"NYYNN고지혈증", 7, 60, "지혈증"}, // byte 7 is the second half of 고: left out
        {"2아모잘탄", 2, 51, "아모잘탄"},
        {"a가b", 2, 3, "가"},
        {"a가b", 1, 2, "a"},
        {"YNNN", 5, 60, ""},   // past the end
        {"", 1, 10, ""},
        {"YNNN", 3, 2, ""},    // an empty range
        {"abc", 0, 2, "ab"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value + " " + std::to_string(c.first) + ".." + std::to_string(c.last));
        EXPECT_EQ(Chars(c.value, c.first, c.last), c.expected);
    }
    EXPECT_EQ(CharsFrom("08프리랜서 번역가", 3), "프리랜서 번역가");
    EXPECT_EQ(CharsFrom("08", 3), "");
    EXPECT_EQ(CharAt("NY휠", 3), "");
    EXPECT_EQ(CharAt("NY휠", 2), "Y");
}

TEST(AssessmentSlices, AMedicationTextOfFiftyBytesKeepsWholeSyllables)
{
    // 가 takes bytes 49-50 and 나 bytes 51-52: 나 is cut by the end and left out.
    const std::string value = "2" + std::string(47, 'x') + "가나다";
    EXPECT_EQ(Chars(value, 2, 51), std::string(47, 'x') + "가");
    // 가 takes bytes 51-52.
    const std::string shifted = "2" + std::string(49, 'x') + "가";
    EXPECT_EQ(Chars(shifted, 2, 51), std::string(49, 'x'));
}

TEST(AssessmentFlags, EachCharacterDrivesOneSquareAndOnlyYFills)
{
    const auto fills = FlagSquares("YNyY", {"a", "b", "c", "d", "e"});
    ASSERT_EQ(fills.size(), 5u);
    const std::vector<bool> black = {true, false, false, true, false};
    for (std::size_t i = 0; i < fills.size(); ++i) {
        SCOPED_TRACE(fills[i].square);
        EXPECT_EQ(fills[i].black, black[i]);
    }
    // A character that drives no square is skipped by an empty name; `first` starts later.
    const auto skipped = FlagSquares("NNNNNYY", {"s6", "", "s8"}, 5);
    ASSERT_EQ(skipped.size(), 2u);
    EXPECT_FALSE(skipped[0].black);
    EXPECT_TRUE(skipped[1].black);
    for (const auto &fill : FlagSquares("", {"a", "b"}))
        EXPECT_FALSE(fill.black);
}

TEST(AssessmentFlags, AnOptionalFlagCharacterDecidesWhereTheFreeTextStarts)
{
    struct Case
    {
        std::string value;
        int position;
        bool trim;
        std::optional<bool> flag;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"NYNNNNN휠체어 사용 중", 8, false, std::nullopt, "휠체어 사용 중"},
        {"NYNNNNNY보행 보조기", 8, false, true, "보행 보조기"},
        {"NYNNNNNN", 8, false, false, ""},
        {"NYNNNNN 틀니 ", 8, false, std::nullopt, " 틀니 "},
        {"NYNNNNN 틀니 ", 8, true, std::nullopt, "틀니"},
        {"YNYN5", 5, true, std::nullopt, "5"},
        {"YNYNNNYNN6", 5, true, false, "NYNN6"},
        {"", 4, true, std::nullopt, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        const OptionalFlag got = OptionalFlagAt(c.value, c.position, c.trim);
        EXPECT_EQ(got.flag, c.flag);
        EXPECT_EQ(got.text, c.text);
    }
}

TEST(AssessmentChoices, TheMatchingSquareIsBlackAndAnUnmatchedCodeTakesTheDefault)
{
    auto blackOnes = [](const SquareFills &fills) {
        std::string names;
        for (const auto &f : fills)
            if (f.black)
                names += f.square + " ";
        return names;
    };
    EXPECT_EQ(blackOnes(ChoiceSquares(2, {{1, "a"}, {2, "b"}})), "b ");
    EXPECT_EQ(blackOnes(ChoiceSquares(-1, {{1, "a"}, {2, "b"}})), "");
    EXPECT_EQ(blackOnes(ChoiceSquares(7, {{1, "a"}, {2, "b"}}, "b")), "b ");
    EXPECT_EQ(blackOnes(TextChoiceSquares("1", {{"1", "x"}, {"2", "y"}}, "z")), "x ");
    EXPECT_EQ(blackOnes(TextChoiceSquares("", {{"1", "x"}, {"2", "y"}}, "z")), "z ");
    EXPECT_EQ(blackOnes(TextChoiceSquares(" 1", {{"1", "x"}}, "z")), "z "); // text compares exactly

    EXPECT_EQ(blackOnes(SmokingSquares("2")), "qrs_noTabaco ");
    EXPECT_EQ(blackOnes(SmokingSquares("")), "qrs_pastTabaco ");
    EXPECT_EQ(blackOnes(SleepSquares("y")), "qrs_sleep1 ");
    EXPECT_EQ(blackOnes(BroughtMedicationSquares("Y")), "qrs_bringY ");
    EXPECT_EQ(blackOnes(BroughtMedicationSquares("")), "qrs_bringN ");
    EXPECT_EQ(blackOnes(AllergySquares("3")), "");
    EXPECT_EQ(blackOnes(MedicationSquares("2아스피린")), "qrs_dgstat2 ");
    EXPECT_EQ(blackOnes(OperationSquares("")), "");
    EXPECT_EQ(blackOnes(WeightChangeSquares("1")), "qrs_wetchg2 ");
    EXPECT_EQ(blackOnes(WeightChangeSquares("3")), "qrs_wetchg1 ");
    EXPECT_EQ(blackOnes(AppetiteSquares(" ")), "");
}

struct TextCase
{
    const char *rule;
    std::function<std::string()> text;
    std::string expected;
};

TEST(AssessmentCodeTables, TextsOfTheCodesWithTheOldRecordsEdgeCases)
{
    const std::vector<TextCase> cases = {
        {"occupation 01", [] { return OccupationText("01"); }, "회사원"},
        {"occupation 08 + title", [] { return OccupationText("08프리랜서 번역가"); }, "프리랜서 번역가"},
        {"occupation 12", [] { return OccupationText("12"); }, "기타"},
        {"occupation 13", [] { return OccupationText("13"); }, ""},
        {"occupation empty", [] { return OccupationText(""); }, ""},
        {"informant 2", [] { return InformantText("2"); }, "보호자"},
        {"education 0", [] { return EducationText("0"); }, ""},
        {"education blank", [] { return EducationText(" "); }, ""},
        {"education 6", [] { return EducationText("6"); }, "대학원졸"},
        {"marital 1 / 2", [] { return MaritalText("1", "2"); }, "기혼/2"},
        {"marital 5 / 2", [] { return MaritalText("5", "2"); }, "/2"},
        {"marital empty", [] { return MaritalText("", ""); }, "/"},
        {"religion 6", [] { return ReligionText("6"); }, "천도교"},
        {"nationality padded", [] { return NationalityText(" 대한민국 "); }, "대한민국"},
        {"nationality other", [] { return NationalityText(" 미국"); }, " 미국"},
        {"payment 2", [] { return PresenceText("2"); }, "없음"},
        {"welfare 1", [] { return WelfareText("1"); }, "필요"},
        {"race 3", [] { return RaceText("3"); }, "흑인종"},
        {"blood 3", [] { return BloodTypeText("3"); }, "AB"},
        {"blood blank", [] { return BloodTypeText(" "); }, "모름"},
        {"blood 9", [] { return BloodTypeText("9"); }, "모름"},
        {"route 1", [] { return AdmissionRouteText("1"); }, "외래()"},
        {"route 2 + note", [] { return AdmissionRouteText("2타 병원 의뢰"); }, "응급(타 병원 의뢰)"},
        {"route 3 + note", [] { return AdmissionRouteText("3직접 방문"); }, "직접 방문"},
        {"route empty", [] { return AdmissionRouteText(""); }, ""},
        {"method 3 + note", [] { return AdmissionMethodText("3구급차 이송"); }, "눕는차(구급차 이송)"},
        {"method 4 + note", [] { return AdmissionMethodText("4업혀서"); }, "업혀서"},
        {"method 5", [] { return AdmissionMethodText("5"); }, ""},
        {"stress 10", [] { return StressText("10"); }, "중증 폐렴으로 인해 산소공급을 요하여 침상안정이 필요한 자"},
        {"stress 11", [] { return StressText("11"); }, "중환자실에서 인공호흡기 치료를 요하는 자"},
        {"stress 12", [] { return StressText("12"); }, ""},
        {"activity 4", [] { return ActivityText("4"); }, "부동상태에서 전적의존의 수동적 운동 혹은 체위변경"},
        {"orientation 2 of 2 2", [] { return OrientationText("2 1", 2); }, ""},
        {"orientation 3 of 2 1", [] { return OrientationText("2 1", 3); }, "무"},
        {"orientation past the end", [] { return OrientationText("2", 3); }, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.rule);
        EXPECT_EQ(c.text(), c.expected);
    }
}

TEST(AssessmentCodeTables, ANumberFieldThatHoldsNoNumberStopsThePrint)
{
    EXPECT_THROW(EducationText("x"), CodeConversionError);
    EXPECT_THROW(OccupationText("AB"), CodeConversionError);
    EXPECT_THROW(AdmissionRouteText("X타 병원"), CodeConversionError);
    EXPECT_NO_THROW(SmokingSquares("x")); // compared as text
}

TEST(AssessmentCodeTables, AdmissionHistoryTextAndSquare)
{
    const auto two = AdmissionHistoryOf("2  2010년 담낭 용종 ");
    EXPECT_EQ(two.text, "2010년 담낭 용종");
    ASSERT_EQ(two.squares.size(), 1u);
    EXPECT_EQ(two.squares[0].square, "qrs_admlast2");
    EXPECT_EQ(AdmissionHistoryOf("1").text, "무");
    const auto other = AdmissionHistoryOf("");
    EXPECT_EQ(other.text, "");
    EXPECT_EQ(other.squares[0].square, "qrs_admlast1");
    EXPECT_TRUE(other.squares[0].black);
}

} // namespace
