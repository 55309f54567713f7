#pragma once

#include "report_engine/Layout.h"

#include <QImage>

#include <filesystem>
#include <string>
#include <vector>

// File outputs of laid-out documents. Failures come back as text (empty on success).

namespace medrec::engine {

// One PDF file, one PDF page per page, fonts embedded (text searchable and copyable).
std::string writePdf(const Document& document, const std::filesystem::path& file);

// A page as a white image at `dpi`.
QImage renderPage(const Page& page, double dpi = 150);

// page-001.png, page-002.png, ... in `dir` (created when missing); the files written are
// appended to `written` when given.
std::string writePngPages(const Document& document, const std::filesystem::path& dir, double dpi = 150,
                          std::vector<std::filesystem::path>* written = nullptr);

} // namespace medrec::engine
