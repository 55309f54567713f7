#pragma once

// Dates, times, weekdays and ages as the screens show and the forms print them. Services
// send dates as bare digits (YYYYMMDD, YYYYMMDDHHNNSS). Positions count CP949 bytes from 1;
// none of these fails: too short an input gives short or empty parts.

#include "Clock.h"

#include <optional>
#include <string>
#include <string_view>

namespace medrec::common {

// YYYYMMDD... -> YYYY-MM-DD. Blank or empty input gives empty text.
std::string FmtDate(std::string_view text);
// YYYYMMDD... -> "YYYY년 MM월 DD일 " (with the final blank). Blank input gives empty text.
std::string FmtKorDate(std::string_view text);
// YYYY-MM-DD -> YYYYMMDD. Blank input gives empty text.
std::string UnFmtDate(std::string_view text);

// YYYYMMDDHHNN[SS] -> YYYY-MM-DD HH:NN. The input is trimmed; 9 to 13 characters are padded
// with "0" to 14; an 8-character date is not padded and gives "YYYY-MM-DD :".
std::string FmtDateTimeHM(std::string_view text);
// YYYYMMDDHHNNSS -> YYYY-MM-DD HH:NN:SS, padded like FmtDateTimeHM.
std::string FmtDateTimeHMS(std::string_view text);
// YYYYMMDDHHNN[SS] -> YY-MM-DD HH:NN, padded like FmtDateTimeHM.
std::string FmtShortDateTimeHM(std::string_view text);

// The weekday of date in style "EF" (Sunday), "ES" (SUN), "HF" (일요일) or "HS" (일).
// Any other style, or a date that is not a calendar date, gives empty text.
std::string WeekdayName(std::string_view style, Date date);

// The age on reference (always Today() in the client) of someone born on birth (YYYYMMDD...),
// in the fixed-width forms of the forms and screens: "35세       ", " 6Y 0M", "    14개월",
// "    33일". A birth date that is not a number, not a calendar date, or later than the
// reference gives "0". Callers trim the result.
std::string AgeText(std::string_view birth, Date reference);

// The calendar date of the first eight characters of a YYYYMMDD... text, if it is one.
std::optional<Date> DateFromDigits(std::string_view text);

} // namespace medrec::common
