#include "report_engine/SystemText.h"

#include "system/LocalTime.h"

#include <array>
#include <cstdio>
#include <ctime>
#include <string_view>

namespace medrec::engine {

DateTime DateTime::now()
{
    const std::tm tm = platform::localTime(std::time(nullptr));
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string formatDateTime(const DateTime& t, const std::string& format)
{
    struct Token {
        std::string_view text;
        int value;
        int digits; // 0: as many as needed
    };
    const std::array<Token, 10> tokens{{
        {"yyyy", t.year, 4},
        {"yy", t.year % 100, 2},
        {"MM", t.month, 2},
        {"M", t.month, 0},
        {"dd", t.day, 2},
        {"d", t.day, 0},
        {"HH", t.hour, 2},
        {"H", t.hour, 0},
        {"mm", t.minute, 2},
        {"ss", t.second, 2},
    }};
    std::string out;
    std::size_t i = 0;
    while (i < format.size()) {
        bool matched = false;
        for (const Token& tok : tokens) {
            if (std::string_view(format).substr(i, tok.text.size()) == tok.text) {
                char buf[16];
                std::snprintf(buf, sizeof buf, "%0*d", tok.digits, tok.value);
                out += buf;
                i += tok.text.size();
                matched = true;
                break;
            }
        }
        if (!matched)
            out += format[i++];
    }
    return out;
}

std::string formatPageNumber(const std::string& format, int page, int pages)
{
    std::string out;
    std::size_t i = 0;
    const std::string_view f(format);
    while (i < f.size()) {
        if (f.substr(i, 6) == "{page}") {
            out += std::to_string(page);
            i += 6;
        } else if (f.substr(i, 7) == "{pages}") {
            out += std::to_string(pages);
            i += 7;
        } else {
            out += f[i++];
        }
    }
    return out;
}

} // namespace medrec::engine
