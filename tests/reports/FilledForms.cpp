#include "FilledForms.h"

#include "RecordKinds.h"
#include "ReportForms.h"

#include <stdexcept>

namespace medrec::testing {

reports::FieldValues EmptyValuesOf(const std::string &kind)
{
    reports::FieldValues values;
    for (const reports::FormBindings &form : reports::FindRecordKind(kind)->bindings())
        for (const std::string &name : reports::BoundValues(form.fill))
            values.set(name, "");
    return values;
}

FilledForms::FilledForms(const std::string &kind, const reports::FieldValues &values)
{
    const reports::RecordKind &k = *reports::FindRecordKind(kind);
    for (std::size_t i = 0; i < k.forms.size(); ++i) {
        pages.push_back(reports::MakeReport(std::string(k.unit), k.forms[i]));
        reports::ApplyBindings(*pages.back(), k.bindings()[i].fill, values);
    }
}

engine::Report &FilledForms::holding(const std::string &name)
{
    for (auto &page : pages)
        if (page->has(name))
            return *page;
    throw std::out_of_range(name);
}

} // namespace medrec::testing
