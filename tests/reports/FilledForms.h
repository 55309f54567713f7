#pragma once

// A kind's forms filled through its own binding tables from values a test gives, without a
// server: its rules case by case on its real form files.

#include "FieldValues.h"

#include "report_engine/Report.h"

#include <map>
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

// What filling the kind's forms from the values throws; empty when they fill.
std::string FillFailure(const std::string &kind, const reports::FieldValues &values);

// One rule case: the values set (every other value the tables read is empty), the captions the
// labels get ("" for an emptied one) and the squares filled black or left white.
struct FormCase
{
    std::string what;
    std::map<std::string, std::string> fields;
    std::map<std::string, std::string> captions;
    std::vector<std::string> black, white;
};

// Fills the kind's forms from the case's values and checks what the case says.
void ExpectFormCase(const std::string &kind, const FormCase &c);

} // namespace medrec::testing
