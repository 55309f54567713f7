#pragma once

// The one source of "today" for the client. Ages, print dates and default periods all ask
// Today(); tests fix it with FixedToday so results do not depend on the day they run.

#include <chrono>
#include <optional>

namespace medrec::common {

using Date = std::chrono::year_month_day;

// The workstation's local calendar date, or the date fixed by the innermost FixedToday.
Date Today();

// Test hook: while an object lives, Today() returns its date; the previous setting comes
// back when it is destroyed. Objects must be destroyed in reverse order of creation.
class FixedToday
{
public:
    explicit FixedToday(Date date);
    ~FixedToday();
    FixedToday(const FixedToday &) = delete;
    FixedToday &operator=(const FixedToday &) = delete;

private:
    std::optional<Date> m_previous;
};

} // namespace medrec::common
