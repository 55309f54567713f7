#pragma once

// Checks of the digit-string values the services carry (dates, times, numbers). Shared by
// the data import and the service handlers, so both accept exactly the same texts.

#include <string_view>

namespace medrec::server::store {

bool isDigits(std::string_view text);

// YYYYMMDD naming a day of the Gregorian calendar (years 1800 to 2999).
bool isDate(std::string_view text);

// YYYYMMDDHHNN or YYYYMMDDHHNNSS: a valid date followed by a valid time of day.
bool isDateTime(std::string_view text);

// A date or a date and time: what may name a visit (8, 12 or 14 digits, valid).
bool isVisitDigits(std::string_view text);

// Eight digits: a patient number as the client pads and stores it.
bool isPatientNumber(std::string_view text);

} // namespace medrec::server::store
