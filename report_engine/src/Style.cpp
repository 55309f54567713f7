#include "report_engine/Style.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <string_view>
#include <utility>

namespace medrec::engine {

namespace {

std::string lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The colour names of the site's form designer (without their "cl" prefix).
constexpr std::array<std::pair<std::string_view, Color>, 16> kNamed{{
    {"black", {0, 0, 0}},
    {"white", {255, 255, 255}},
    {"silver", {192, 192, 192}},
    {"gray", {128, 128, 128}},
    {"grey", {128, 128, 128}},
    {"red", {255, 0, 0}},
    {"maroon", {128, 0, 0}},
    {"green", {0, 128, 0}},
    {"lime", {0, 255, 0}},
    {"blue", {0, 0, 255}},
    {"navy", {0, 0, 128}},
    {"yellow", {255, 255, 0}},
    {"olive", {128, 128, 0}},
    {"teal", {0, 128, 128}},
    {"aqua", {0, 255, 255}},
    {"fuchsia", {255, 0, 255}},
}};

} // namespace

std::optional<Color> parseColor(const std::string& text)
{
    if (text.size() == 7 && text[0] == '#') {
        int v[6];
        for (int i = 0; i < 6; ++i) {
            v[i] = hexDigit(text[std::size_t(i) + 1]);
            if (v[i] < 0)
                return std::nullopt;
        }
        return Color{std::uint8_t(v[0] * 16 + v[1]), std::uint8_t(v[2] * 16 + v[3]), std::uint8_t(v[4] * 16 + v[5])};
    }
    if (!text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
        std::uint32_t value = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end != text.data() + text.size() || value > 0xFFFFFF)
            return std::nullopt;
        return Color::fromTColor(value);
    }
    std::string name = lower(text);
    if (name.rfind("cl", 0) == 0)
        name.erase(0, 2);
    for (const auto& [n, c] : kNamed)
        if (n == name)
            return c;
    return std::nullopt;
}

std::string toHex(const Color& c)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c.r, c.g, c.b);
    return buf;
}

std::optional<BarcodeFace> barcodeFace(const std::string& family)
{
    std::string name = lower(family);
    std::string compact;
    for (char c : name)
        if (c != ' ')
            compact += c;
    if (compact.rfind("code39", 0) != 0 && compact.rfind("3of9", 0) != 0 && compact.rfind("free3of9", 0) != 0)
        return std::nullopt;
    BarcodeFace face;
    // "(1:2)" style ratio
    const auto open = compact.find("(1:");
    if (open != std::string::npos) {
        double r = 0;
        auto [end, ec] = std::from_chars(compact.data() + open + 3, compact.data() + compact.size(), r);
        if (ec == std::errc() && r >= 2 && r <= 3)
            face.ratio = r;
    }
    return face;
}

} // namespace medrec::engine
