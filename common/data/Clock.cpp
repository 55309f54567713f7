#include "Clock.h"

#include "system/LocalTime.h"

#include <ctime>

namespace medrec::common {

namespace {

// The fixed date of the test hook; empty in the running program.
std::optional<Date> &fixedDate()
{
    static std::optional<Date> date;
    return date;
}

Date localDate()
{
    const std::tm parts = platform::localTime(std::time(nullptr));
    return Date{std::chrono::year{parts.tm_year + 1900}, std::chrono::month{static_cast<unsigned>(parts.tm_mon + 1)},
                std::chrono::day{static_cast<unsigned>(parts.tm_mday)}};
}

} // namespace

Date Today()
{
    if (const auto &fixed = fixedDate())
        return *fixed;
    return localDate();
}

FixedToday::FixedToday(Date date) : m_previous(fixedDate()) { fixedDate() = date; }

FixedToday::~FixedToday() { fixedDate() = m_previous; }

} // namespace medrec::common
