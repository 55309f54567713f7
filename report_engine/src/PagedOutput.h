#pragma once

#include "report_engine/Layout.h"

#include <QPageLayout>

#include <functional>
#include <string>

class QPagedPaintDevice;

// Painting a whole document on a paged device (a PDF writer or a printer).

namespace medrec::engine {

// The page's paper and orientation, full-page mode: the device's origin is the paper's corner.
QPageLayout pageLayoutOf(const Page& page);

// Paints every page; `progress(done, total)` after each. Returns the failure in words, or "".
std::string paintDocument(QPagedPaintDevice& device, const Document& document,
                          const std::function<void(int, int)>& progress = {});

} // namespace medrec::engine
