#include "report_engine/FontFaces.h"

#include "system/Environment.h"

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
    // The Korean face as Windows installs it: used first wherever it is installed.
    std::string_view windowsFace = {};
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
    {"굴림체", mono, "GulimChe"},
    {"gulimche", mono, "GulimChe"},
    {"돋움체", mono, "DotumChe"},
    {"dotumche", mono, "DotumChe"},
    {"궁서체", serif, "GungsuhChe"},
    {"gungsuhche", serif, "GungsuhChe"},
    {"굴림", sans, "Gulim"},
    {"gulim", sans, "Gulim"},
    {"새굴림", sans, "New Gulim"},
    {"돋움", sans, "Dotum"},
    {"dotum", sans, "Dotum"},
    {"맑은 고딕", sans, "Malgun Gothic"},
    {"malgun gothic", sans, "Malgun Gothic"},
    {"바탕체", serif, "BatangChe"},
    {"batangche", serif, "BatangChe"},
    {"바탕", serif, "Batang"},
    {"batang", serif, "Batang"},
    {"궁서", serif, "Gungsuh"},
    {"gungsuh", serif, "Gungsuh"},
    {"arial", latinSans},
    {"tahoma", latinSans},
    {"verdana", latinSans},
    {"ms sans serif", latinSans},
    {"segoe ui", latinSans},
    {"helvetica", latinSans},
    {"system", latinSans},
    {"times new roman", latinSerif},
    {"times", latinSerif},
    {"courier new", latinMono},
    {"courier", latinMono},
    {"fixedsys", latinMono},
}};

std::string lower(const std::string& s)
{
    std::string out = s;
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

const Face* findFace(const std::string& siteFamily)
{
    const std::string key = lower(siteFamily);
    for (const Face& f : kFaces)
        if (f.name == key)
            return &f;
    return nullptr;
}

QString windowsFaceName(const Face& face)
{
    return QString::fromUtf8(face.windowsFace.data(), static_cast<qsizetype>(face.windowsFace.size()));
}

// The Windows face of a Korean site face when it is installed (on Windows), else empty.
// The font database is asked once for all of them: what is installed does not change while
// the program prints, and asking costs a font lookup that layout would pay for every line.
QString installedWindowsFace(const Face& face)
{
    static const std::array<bool, kFaces.size()> installed = [] {
        std::array<bool, kFaces.size()> found{};
        for (std::size_t i = 0; i < kFaces.size(); ++i)
            found[i] = !kFaces[i].windowsFace.empty() && QFontDatabase::hasFamily(windowsFaceName(kFaces[i]));
        return found;
    }();
    return installed[static_cast<std::size_t>(&face - kFaces.data())] ? windowsFaceName(face) : QString();
}

} // namespace

QStringList substituteFamilies(const std::string& siteFamily)
{
    if (const Face* f = findFace(siteFamily)) {
        QStringList families = f->families();
        if (const QString windows = installedWindowsFace(*f); !windows.isEmpty())
            families.prepend(windows); // the Noto faces stay behind it for what it lacks
        return families;
    }
    const QString given = QString::fromStdString(siteFamily);
    if (!given.isEmpty() && QFontDatabase::hasFamily(given))
        return {given, kSans};
    return {kSans};
}

bool usesCompactLineMetrics(const std::string& siteFamily)
{
    if (const Face* f = findFace(siteFamily))
        return (f->families == mono || f->families == sans || f->families == serif) &&
               installedWindowsFace(*f).isEmpty();
    return substituteFamilies(siteFamily).front().contains(QStringLiteral("CJK"));
}

int addBundledFonts(const std::filesystem::path& dir)
{
    std::error_code ec;
    if (dir.empty() || !std::filesystem::is_directory(dir, ec))
        return 0;
    int added = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        const std::string extension = lower(entry.path().extension().string());
        if (extension != ".ttf" && extension != ".otf" && extension != ".ttc")
            continue;
        const QString file = QString::fromStdString(platform::utf8FromPath(entry.path()));
        if (QFontDatabase::addApplicationFont(file) >= 0)
            ++added;
    }
    return added;
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
