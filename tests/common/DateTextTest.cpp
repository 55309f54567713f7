#include "Clock.h"
#include "DateText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace medrec::common;
using namespace std::chrono_literals;

namespace {

struct Case
{
    std::string input;
    std::string expected;
};

constexpr Date kDay{2011y, std::chrono::March, 5d}; // a Saturday

} // namespace

TEST(DateText, DateForms)
{
    const std::vector<Case> fmtDate{
        {"20110305", "2011-03-05"}, {"20110305143000", "2011-03-05"}, {"   ", ""}, {"", ""}, {"2011", "2011--"}};
    for (const auto &c : fmtDate) {
        SCOPED_TRACE("FmtDate " + c.input);
        EXPECT_EQ(FmtDate(c.input), c.expected);
    }
    const std::vector<Case> korDate{{"20110305", "2011년 03월 05일 "}, {" ", ""}};
    for (const auto &c : korDate) {
        SCOPED_TRACE("FmtKorDate " + c.input);
        EXPECT_EQ(FmtKorDate(c.input), c.expected);
    }
    const std::vector<Case> unFmt{{"2011-03-05", "20110305"}, {"2011-03-05 14:30", "20110305"}, {"  ", ""}};
    for (const auto &c : unFmt) {
        SCOPED_TRACE("UnFmtDate " + c.input);
        EXPECT_EQ(UnFmtDate(c.input), c.expected);
    }
}

TEST(DateText, DateTimeForms)
{
    const std::vector<Case> hm{{"201103051430", "2011-03-05 14:30"},
                               {"20110305143015", "2011-03-05 14:30"}, // seconds are not shown
                               {" 201103051430 ", "2011-03-05 14:30"},
                               {"201103051", "2011-03-05 10:00"}, // 9 characters are padded
                               {"20110305", "2011-03-05 :"},      // 8 are not
                               {"   ", ""}};
    for (const auto &c : hm) {
        SCOPED_TRACE("FmtDateTimeHM " + c.input);
        EXPECT_EQ(FmtDateTimeHM(c.input), c.expected);
    }
    EXPECT_EQ(FmtDateTimeHMS("20110305143015"), "2011-03-05 14:30:15");
    EXPECT_EQ(FmtDateTimeHMS("201103051430"), "2011-03-05 14:30:00");
    EXPECT_EQ(FmtDateTimeHMS(""), "");
    EXPECT_EQ(FmtShortDateTimeHM("201103051430"), "11-03-05 14:30");
    EXPECT_EQ(FmtShortDateTimeHM("20110305143015"), "11-03-05 14:30");
}

TEST(DateText, WeekdayNames)
{
    EXPECT_EQ(WeekdayName("HF", kDay), "토요일");
    EXPECT_EQ(WeekdayName("HS", kDay), "토");
    EXPECT_EQ(WeekdayName("EF", kDay), "Saturday");
    EXPECT_EQ(WeekdayName("ES", kDay), "SAT");
    EXPECT_EQ(WeekdayName("hf", kDay), "");
    EXPECT_EQ(WeekdayName("", kDay), "");
    EXPECT_EQ(WeekdayName("HF", Date{2011y, std::chrono::February, 30d}), "");

    // One week from Sunday 2011-03-06.
    const std::vector<std::string> week{"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
    const std::vector<std::string> weekKo{"일요일", "월요일", "화요일", "수요일", "목요일", "금요일", "토요일"};
    for (unsigned i = 0; i < 7; ++i) {
        const Date date{std::chrono::sys_days{Date{2011y, std::chrono::March, 6d}} + std::chrono::days{i}};
        SCOPED_TRACE(i);
        EXPECT_EQ(WeekdayName("ES", date), week[i]);
        EXPECT_EQ(WeekdayName("HF", date), weekKo[i]);
    }
}

TEST(DateText, AgesOnAFixedDay)
{
    const std::vector<Case> cases{
        {"19760305", "35세       "}, // birthday today
        {"19760306", "34세       "}, // birthday tomorrow
        {"19960305", "15세       "},
        {"20050304", " 6Y 0M"},
        {"20050306", " 5Y11M"},
        {"19970305", "14Y 0M"},
        {"19970306", "13Y11M"},
        {"20080229", " 3Y 0M"},
        {"20100105", "    14개월"},
        {"20090306", "    23개월"},
        {"20110201", "    33일"},
        {"20110305", "     1일"}, // born today: day 1
        {"20101210", "    86일"}, // two months and some days
        {"20101105", "     4개월"},
        {"20100306", "    11개월"},
        {"19760305123000", "35세       "}, // time digits after the date are ignored
        {"abcd0305", "0"},
        {"", "0"},
        {"1976", "0"},
        {"19761340", "0"}, // not a calendar date
        {"20120101", "0"}, // not born yet
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(AgeText(c.input, kDay), c.expected);
    }
}

TEST(DateText, DateFromDigits)
{
    EXPECT_EQ(DateFromDigits("20110305"), kDay);
    EXPECT_EQ(DateFromDigits("2011030514"), kDay);
    EXPECT_EQ(DateFromDigits("2011-03-05"), std::nullopt);
    EXPECT_EQ(DateFromDigits("20110229"), std::nullopt);
    EXPECT_EQ(DateFromDigits("2011030"), std::nullopt);
}

TEST(Clock, FixedTodayNestsAndRestores)
{
    const Date real = Today();
    {
        FixedToday fixed(kDay);
        EXPECT_EQ(Today(), kDay);
        EXPECT_EQ(AgeText("19760305", Today()), "35세       ");
        {
            FixedToday inner(Date{2020y, std::chrono::January, 1d});
            EXPECT_EQ(Today(), (Date{2020y, std::chrono::January, 1d}));
        }
        EXPECT_EQ(Today(), kDay);
    }
    EXPECT_TRUE(Today().ok());
    // The real clock again (allow for the test running across midnight).
    const auto diff = std::chrono::sys_days{Today()} - std::chrono::sys_days{real};
    EXPECT_LE(diff.count(), 1);
    EXPECT_GE(diff.count(), 0);
}
