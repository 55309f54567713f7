#pragma once

#include "report_engine/Style.h"

#include <QFont>
#include <QStringList>

#include <filesystem>

// The site's faces and the installed ones that stand in for them (fonts-noto-cjk, DejaVu):
//   굴림체 / GulimChe, 돋움체 / DotumChe  -> Noto Sans Mono CJK KR (fixed pitch)
//   굴림 / Gulim, 돋움 / Dotum            -> Noto Sans CJK KR
//   바탕체 / BatangChe, 바탕 / Batang, 궁서 -> Noto Serif CJK KR
//   Arial, Tahoma, MS Sans Serif, ...     -> DejaVu Sans, Korean falling back to Noto Sans CJK KR
//   Times New Roman / Courier New         -> DejaVu Serif / DejaVu Sans Mono
// Any other name is used as given when installed, else Noto Sans CJK KR.
// Where the Korean face itself is installed as Windows names it (GulimChe, Gulim, BatangChe,
// Batang, DotumChe, Dotum, Gungsuh, Malgun Gothic: on Windows), it comes first, with its own
// line spacing, and the Noto faces stand behind it.

namespace medrec::engine {

// First entry is the face itself; the rest are fallbacks for characters it lacks.
QStringList substituteFamilies(const std::string& siteFamily);

// Makes the font files (.ttf, .otf, .ttc) of a folder shipped with the program available
// to it, such as the Noto CJK KR faces bundled with a Windows installation that has neither
// the Windows Korean faces nor Noto installed. The number of files taken; 0 for no folder.
// Called at start, before anything is laid out: which Windows faces are installed is looked
// up once, at the first layout.
int addBundledFonts(const std::filesystem::path& dir);

// A QFont for the FontSpec at its point size; hinting off so that advances scale linearly and the
// measured width is the printed one on every device.
QFont toQFont(const FontSpec& spec);

// True for faces drawn from the Noto CJK set, whose own line gap (1.45 em) is much taller than
// the site's fonts (and not the Windows faces); lines in them are set 1.15 em apart (0.90 above the baseline, 0.25 below),
// which still covers every glyph's ink.
bool usesCompactLineMetrics(const std::string& siteFamily);

} // namespace medrec::engine
