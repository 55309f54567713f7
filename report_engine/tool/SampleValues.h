#pragma once

#include "report_engine/Report.h"

#include <filesystem>
#include <optional>

// Sample values for looking at a form while it is designed: a JSON file that fills components
// by name and, optionally, lists detail records (see docs/report-engine.md).

namespace medrec::engine::tool {

struct SampleValues {
    std::optional<DateTime> printTime;
};

// Applies the file to the report: fills components, and sets a need-data callback that hands out
// the records one by one when the file has any. Throws ReportError on faults (with the place).
SampleValues applySampleValues(Report& report, const std::filesystem::path& file);

} // namespace medrec::engine::tool
