#pragma once

// Laid-out pages as one HTML page, for a browser to print the same content: each page an
// inline SVG of the paper's size in millimetres, each element at its place — text on its
// baseline in the installed face the engine prints the site's face in, at its size and
// weight, cut at its clip; boxes, lines, bars and pictures where the engine paints them.

#include "report_engine/Layout.h"

#include <filesystem>
#include <string>

namespace medrec::testing {

// Writes `<dir>/<name>.html` and the pictures it shows (`<dir>/<name>-image<N>.png`, one per
// picture however many pages show it). Returns the page's path; throws std::runtime_error
// when a file cannot be written.
std::filesystem::path WriteDocumentHtml(const engine::Document &document, const std::filesystem::path &dir,
                                        const std::string &name);

} // namespace medrec::testing
