#include "report_engine/FontFaces.h"

#include <QFontDatabase>

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace medrec::engine {

namespace {

const QString kMono = QStringLiteral("Noto Sans Mono CJK KR");
const QString kSans = QStringLiteral("Noto Sans CJK KR");
const QString kSerif = QStringLiteral("Noto Serif CJK KR");

struct Face {
    std::string_view name; // lower case
    QStringList (*families)();
};

// The proportional Korean faces take their Latin letters and digits from a Latin face: Qt's
// PDF writer leaves the digits of the Noto CJK proportional faces out of the text layer, so a
// printed copy's numbers could not be searched or copied.
const QString kLatinOfSans = QStringLiteral("Liberation Sans");
const QString kLatinOfSerif = QStringLiteral("Liberation Serif");

QStringList mono() { return {kMono}; }
QStringList sans() { return {kLatinOfSans, kSans}; }
QStringList serif() { return {kLatinOfSerif, kSerif}; }
QStringList latinSans() { return {QStringLiteral("DejaVu Sans"), kSans}; }
QStringList latinSerif() { return {QStringLiteral("DejaVu Serif"), kSerif}; }
QStringList latinMono() { return {QStringLiteral("DejaVu Sans Mono"), kMono}; }

constexpr std::array<Face, 31> kFaces{{
    {"굴림체", mono},          {"gulimche", mono},       {"돋움체", mono},         {"dotumche", mono},
    {"궁서체", serif},         {"gungsuhche", serif},    {"굴림", sans},           {"gulim", sans},
    {"새굴림", sans},          {"돋움", sans},           {"dotum", sans},          {"맑은 고딕", sans},
    {"malgun gothic", sans},   {"바탕체", serif},        {"batangche", serif},     {"바탕", serif},
    {"batang", serif},         {"궁서", serif},          {"gungsuh", serif},       {"arial", latinSans},
    {"tahoma", latinSans},     {"verdana", latinSans},   {"ms sans serif", latinSans}, {"segoe ui", latinSans},
    {"helvetica", latinSans},  {"system", latinSans},    {"times new roman", latinSerif}, {"times", latinSerif},
    {"courier new", latinMono}, {"courier", latinMono},  {"fixedsys", latinMono},
}};

std::string lower(const std::string& s)
{
    std::string out = s;
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

} // namespace

QStringList substituteFamilies(const std::string& siteFamily)
{
    const std::string key = lower(siteFamily);
    for (const Face& f : kFaces)
        if (f.name == key)
            return f.families();
    const QString given = QString::fromStdString(siteFamily);
    if (!given.isEmpty() && QFontDatabase::hasFamily(given))
        return {given, kSans};
    return {kSans};
}

bool usesCompactLineMetrics(const std::string& siteFamily)
{
    const std::string key = lower(siteFamily);
    for (const Face& f : kFaces)
        if (f.name == key)
            return f.families == mono || f.families == sans || f.families == serif;
    return substituteFamilies(siteFamily).front().contains(QStringLiteral("CJK"));
}

QFont toQFont(const FontSpec& spec)
{
    QFont font;
    font.setFamilies(substituteFamilies(spec.family));
    font.setPointSizeF(spec.sizePt);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeOut);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

} // namespace medrec::engine
