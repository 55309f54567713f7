#pragma once

// A kind's forms filled through its own binding tables from values a test gives, without a
// server: its rules case by case on its real form files.

#include "FieldValues.h"

#include "report_engine/Report.h"

#include <memory>
#include <string>
#include <vector>

namespace medrec::testing {

// Every value the fill tables of the kind read, empty.
reports::FieldValues EmptyValuesOf(const std::string &kind);

// Every form of the kind, each filled by its fill table from the values.
struct FilledForms
{
    FilledForms(const std::string &kind, const reports::FieldValues &values);

    // The form holding the component; throws std::out_of_range when none does.
    engine::Report &holding(const std::string &name);
    std::string caption(const std::string &label) { return holding(label).label(label).caption; }
    bool black(const std::string &square) { return holding(square).shape(square).brush == engine::Color::black(); }

    std::vector<std::unique_ptr<engine::Report>> pages;
};

} // namespace medrec::testing
