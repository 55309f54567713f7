#include "DateText.h"

#include "Cp949.h"
#include "TextHelpers.h"

#include <array>
#include <charconv>

namespace medrec::common {

namespace {

// Characters first..last (from 1) of text, in CP949 positions.
std::string part(std::string_view text, std::size_t first, std::size_t last)
{
    return text::cp949Slice(text, first - 1, last - first + 1);
}

std::string dateWith(std::string_view text, const char *afterYear, const char *afterMonth, const char *afterDay)
{
    if (TrimBlanks(text).empty())
        return {};
    return part(text, 1, 4) + afterYear + part(text, 5, 6) + afterMonth + part(text, 7, 8) + afterDay;
}

// The trimmed date-time digits, padded with "0" to 14 when 9 to 13 characters long.
std::string paddedDateTime(std::string_view text)
{
    std::string s(TrimBlanks(text));
    const std::size_t width = text::cp949Width(s);
    if (width >= 9 && width <= 13)
        s.append(14 - width, '0');
    return s;
}

std::string dateTimeHM(const std::string &s, std::size_t yearFrom)
{
    return part(s, yearFrom, 4) + "-" + part(s, 5, 6) + "-" + part(s, 7, 8) + " " + part(s, 9, 10) + ":" +
           part(s, 11, 12);
}

// A whole number of only ASCII digits, nothing else.
std::optional<int> wholeNumber(std::string_view s)
{
    int value = 0;
    if (s.empty())
        return std::nullopt;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc{} || end != s.data() + s.size() || s.front() == '-')
        return std::nullopt;
    return value;
}

// text right-aligned in width CP949 bytes; a wider text is not cut.
std::string padLeft(const std::string &text, std::size_t width)
{
    const std::size_t w = text::cp949Width(text);
    return w >= width ? text : std::string(width - w, ' ') + text;
}

std::string padRight(const std::string &text, std::size_t width)
{
    const std::size_t w = text::cp949Width(text);
    return w >= width ? text : text + std::string(width - w, ' ');
}

} // namespace

std::string FmtDate(std::string_view text) { return dateWith(text, "-", "-", ""); }

std::string FmtKorDate(std::string_view text) { return dateWith(text, "년 ", "월 ", "일 "); }

std::string UnFmtDate(std::string_view text)
{
    if (TrimBlanks(text).empty())
        return {};
    return part(text, 1, 4) + part(text, 6, 7) + part(text, 9, 10);
}

std::string FmtDateTimeHM(std::string_view text)
{
    const std::string s = paddedDateTime(text);
    return s.empty() ? std::string() : dateTimeHM(s, 1);
}

std::string FmtDateTimeHMS(std::string_view text)
{
    const std::string s = paddedDateTime(text);
    return s.empty() ? std::string() : dateTimeHM(s, 1) + ":" + part(s, 13, 14);
}

std::string FmtShortDateTimeHM(std::string_view text)
{
    const std::string s = paddedDateTime(text);
    return s.empty() ? std::string() : dateTimeHM(s, 3);
}

std::string WeekdayName(std::string_view style, Date date)
{
    static constexpr std::array<const char *, 7> kEF{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                     "Thursday", "Friday", "Saturday"};
    static constexpr std::array<const char *, 7> kES{"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
    static constexpr std::array<const char *, 7> kHF{"일요일", "월요일", "화요일", "수요일",
                                                     "목요일", "금요일", "토요일"};
    static constexpr std::array<const char *, 7> kHS{"일", "월", "화", "수", "목", "금", "토"};

    if (!date.ok())
        return {};
    const unsigned day = std::chrono::weekday{std::chrono::sys_days{date}}.c_encoding(); // 0 = Sunday
    if (style == "EF")
        return kEF[day];
    if (style == "ES")
        return kES[day];
    if (style == "HF")
        return kHF[day];
    if (style == "HS")
        return kHS[day];
    return {};
}

std::optional<Date> DateFromDigits(std::string_view text)
{
    const auto year = wholeNumber(part(text, 1, 4));
    const auto month = wholeNumber(part(text, 5, 6));
    const auto day = wholeNumber(part(text, 7, 8));
    if (!year || !month || !day)
        return std::nullopt;
    const Date date{std::chrono::year{*year}, std::chrono::month{static_cast<unsigned>(*month)},
                    std::chrono::day{static_cast<unsigned>(*day)}};
    if (!date.ok())
        return std::nullopt;
    return date;
}

std::string AgeText(std::string_view birth, Date reference)
{
    // A birth "date" such as 19761340 or one after the reference has no age; the forms
    // would otherwise print a made-up number of months.
    const auto born = DateFromDigits(birth);
    if (!born || !reference.ok() || std::chrono::sys_days{*born} > std::chrono::sys_days{reference})
        return "0";

    const int birthYear = static_cast<int>(born->year());
    const int birthMonth = static_cast<int>(static_cast<unsigned>(born->month()));
    const int birthDay = static_cast<int>(static_cast<unsigned>(born->day()));
    int month = static_cast<int>(static_cast<unsigned>(reference.month()));
    const int day = static_cast<int>(static_cast<unsigned>(reference.day()));

    int years = static_cast<int>(reference.year()) - birthYear;
    if (birthMonth > month || (birthMonth == month && birthDay > day)) {
        --years;
        month += 12;
    }
    int months = month - birthMonth;
    if (birthDay > day)
        --months;

    if (years >= 15)
        return padLeft(std::to_string(years), 2) + padRight("세", 2) + "       ";
    if (years >= 3)
        return padLeft(std::to_string(years), 2) + "Y" + padLeft(std::to_string(months), 2) + "M";
    if (years >= 1)
        return "    " + padLeft(std::to_string(years * 12 + months), 2) + padRight("개월", 4);
    if (months <= 2) {
        // The birth day itself is day 1.
        const auto days = (std::chrono::sys_days{reference} - std::chrono::sys_days{*born}).count() + 1;
        return padLeft(std::to_string(days) + "일", 8);
    }
    return "    " + padLeft(std::to_string(months), 2) + padRight("개월", 4);
}

} // namespace medrec::common
