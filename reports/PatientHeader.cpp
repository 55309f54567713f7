#include "PatientHeader.h"

#include "FormConventions.h"

#include "Clock.h"
#include "DateText.h"
#include "TextHelpers.h"

namespace medrec::reports {

PatientHeader PatientHeader::fromPanels(const PatientPanels &panels)
{
    PatientHeader h;
    h.patNo = panels.patNo;
    h.name = panels.name;
    h.resNo = MaskedResNo(panels.resNo);
    h.sexAge = panels.sexAge;
    return h;
}

PatientHeader PatientHeader::fromPatientService(const FieldValues &values, const std::string &prefix)
{
    auto field = [&](const char *name) -> const std::string & { return values[prefix + name]; };
    PatientHeader h;
    h.patNo = field("S_PATNO");
    h.name = field("S_STRING1");
    h.resNo = MaskedResNo(field("S_STRING2"), field("S_STRING3"));
    h.sexAge = field("S_STRING5") + "/" +
               std::string(common::TrimBlanks(common::AgeText(field("S_STRING4"), common::Today())));
    return h;
}

void PatientHeader::addTo(FieldValues &values) const
{
    values.set(header::kPatNo, patNo);
    values.set(header::kName, name);
    values.set(header::kResNo, resNo);
    values.set(header::kSexAge, sexAge);
    values.set(header::kDept, dept);
    values.set(header::kDoctor, doctor);
    values.set(header::kWard, ward);
}

bool IsHeaderValue(std::string_view name)
{
    for (std::string_view header : {header::kPatNo, header::kName, header::kResNo, header::kSexAge, header::kDept,
                                    header::kDoctor, header::kWard})
        if (name == header)
            return true;
    return false;
}

BindingTable HeaderBindings(const HeaderLabels &labels)
{
    const std::pair<const std::string *, const char *> rows[] = {
        {&labels.patNo, header::kPatNo},   {&labels.name, header::kName}, {&labels.resNo, header::kResNo},
        {&labels.sexAge, header::kSexAge}, {&labels.dept, header::kDept}, {&labels.doctor, header::kDoctor},
        {&labels.ward, header::kWard},
    };
    BindingTable table;
    for (const auto &[component, field] : rows)
        if (!component->empty())
            table.push_back(bind::text(*component, field));
    return table;
}

} // namespace medrec::reports
