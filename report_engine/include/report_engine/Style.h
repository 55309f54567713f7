#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Plain style values shared by the form model and the laid-out pages.

namespace medrec::engine {

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    static constexpr Color black() { return {0, 0, 0}; }
    static constexpr Color white() { return {255, 255, 255}; }
    static constexpr Color silver() { return {192, 192, 192}; }
    // A Delphi TColor value as the site's forms store it: 0x00BBGGRR.
    static constexpr Color fromTColor(std::uint32_t v)
    {
        return {std::uint8_t(v & 0xFF), std::uint8_t((v >> 8) & 0xFF), std::uint8_t((v >> 16) & 0xFF)};
    }
    friend bool operator==(const Color&, const Color&) = default;
};

// "#RRGGBB", a colour name ("black", "white", "silver", "gray", "red", ..., also the Delphi
// "clSilver" spelling) or a decimal TColor. Empty optional when the text is none of these.
std::optional<Color> parseColor(const std::string& text);
std::string toHex(const Color& c);

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Middle, Bottom };

// A font as the form names it: the site's face name ("굴림체", "BatangChe", "Arial", ...);
// the painters map it to an installed face.
struct FontSpec {
    std::string family = "굴림체";
    double sizePt = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    Color color = Color::black();

    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Faces whose glyphs are Code 39 bars ("Code39(1:2)", "Code 39", "3 of 9 Barcode"); ratio is the
// wide to narrow element width (the "(1:2)" of the face name, 3 when the name gives none).
struct BarcodeFace {
    double ratio = 3;
};
std::optional<BarcodeFace> barcodeFace(const std::string& family);

// Lines along the sides of a box. Each line lies inside the box: its outer edge on the box edge.
struct Frame {
    bool top = false;
    bool bottom = false;
    bool left = false;
    bool right = false;
    double width = 0.2646; // one pixel at 96 dpi, in mm
    Color color = Color::black();

    bool any() const { return top || bottom || left || right; }
    void setAll(bool on) { top = bottom = left = right = on; }
    friend bool operator==(const Frame&, const Frame&) = default;
};

enum class PenStyle { Solid, Dash, Dot, None };

struct Pen {
    double width = 0.2646;
    Color color = Color::black();
    PenStyle style = PenStyle::Solid;
    friend bool operator==(const Pen&, const Pen&) = default;
};

} // namespace medrec::engine
