#pragma once

// Report units' form files, and laying a print job out as one document.

#include "report_engine/Layout.h"
#include "report_engine/Report.h"

#include <memory>
#include <string>

namespace medrec::reports {

class PrintJob;

// The form "<name>.json" of a report unit, from MEDREC_FORMS_DIR when set, else from the
// unit's folder of the source tree; pictures from the site's logo folder. Throws
// engine::ReportError for a missing or damaged file.
engine::Form LoadReportForm(const std::string &unit, const std::string &name);

// Makes the fonts shipped with the program (share/medrec/fonts, or MEDREC_FONTS_DIR)
// available to it; the programs call it once at start.
void AddBundledFonts();

// A fresh report of that form; the creation hook runs once the form is in place.
std::unique_ptr<engine::Report> MakeReport(const std::string &unit, const std::string &name,
                                           const engine::Report::Hook &onCreate = {});

// Runs the job's reports in order with the real faces into one document (callbacks run
// inside). Throws what a report's callbacks throw.
engine::Document LayOutJob(const PrintJob &job, const std::string &title, const engine::RunOptions &options = {});

} // namespace medrec::reports
