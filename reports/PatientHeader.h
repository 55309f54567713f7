#pragma once

// The patient block of a form's header, filled once: from the main screen's panels, or
// from the patient service's row, as the record kind says. Its values go into the
// FieldValues under the header names below, so a form binds them like any other field.

#include "Bindings.h"
#include "PrintContext.h"

#include <string>
#include <string_view>

namespace medrec::reports {

struct PatientHeader
{
    std::string patNo, name, resNo, sexAge, dept, doctor, ward;

    // The screen's panels; the registration number masked from the panel's first 8 chars.
    static PatientHeader fromPanels(const PatientPanels &panels);
    // A "MD_PATBA_L2" row read under `prefix`: number, name, the masked registration number
    // from its two parts, and sex "/" age today (trimmed). Department, doctor and ward stay
    // for the block to set.
    static PatientHeader fromPatientService(const FieldValues &values, const std::string &prefix);

    void addTo(FieldValues &values) const;
};

// The names the header values go under.
namespace header {
inline constexpr const char *kPatNo = "header.patNo";
inline constexpr const char *kName = "header.name";
inline constexpr const char *kResNo = "header.resNo";
inline constexpr const char *kSexAge = "header.sexAge";
inline constexpr const char *kDept = "header.dept";
inline constexpr const char *kDoctor = "header.doctor";
inline constexpr const char *kWard = "header.ward";
} // namespace header

// Whether a value name is one of the header's.
bool IsHeaderValue(std::string_view name);

// The components a form shows the header in; an empty name shows nothing.
struct HeaderLabels
{
    std::string patNo, name, resNo, sexAge, dept, doctor, ward;
};

BindingTable HeaderBindings(const HeaderLabels &labels);

} // namespace medrec::reports
