#pragma once

#include <string>

namespace medrec::engine {

struct DateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    static DateTime now(); // local time
};

// Tokens yyyy yy MM M dd d HH H mm ss; anything else is copied.
std::string formatDateTime(const DateTime& t, const std::string& format);
// {page} and {pages} replaced.
std::string formatPageNumber(const std::string& format, int page, int pages);

} // namespace medrec::engine
