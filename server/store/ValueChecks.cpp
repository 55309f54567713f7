#include "ValueChecks.h"

namespace medrec::server::store {

namespace {

int number(std::string_view digits)
{
    int n = 0;
    for (char c : digits)
        n = n * 10 + (c - '0');
    return n;
}

bool isLeapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

bool isTime(std::string_view hhnn, bool withSeconds)
{
    if (number(hhnn.substr(0, 2)) > 23 || number(hhnn.substr(2, 2)) > 59)
        return false;
    return !withSeconds || number(hhnn.substr(4, 2)) <= 59;
}

} // namespace

bool isDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool isDate(std::string_view text)
{
    if (text.size() != 8 || !isDigits(text))
        return false;
    const int year = number(text.substr(0, 4));
    const int month = number(text.substr(4, 2));
    const int day = number(text.substr(6, 2));
    if (year < 1800 || year > 2999 || month < 1 || month > 12 || day < 1)
        return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int last = month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
    return day <= last;
}

bool isDateTime(std::string_view text)
{
    if ((text.size() != 12 && text.size() != 14) || !isDigits(text))
        return false;
    return isDate(text.substr(0, 8)) && isTime(text.substr(8), text.size() == 14);
}

bool isVisitDigits(std::string_view text)
{
    return text.size() == 8 ? isDate(text) : isDateTime(text);
}

bool isPatientNumber(std::string_view text)
{
    return text.size() == 8 && isDigits(text);
}

} // namespace medrec::server::store
