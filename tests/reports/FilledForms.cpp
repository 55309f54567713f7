#include "FilledForms.h"

#include "RecordKinds.h"
#include "ReportForms.h"

#include <gtest/gtest.h>

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

std::string FillFailure(const std::string &kind, const reports::FieldValues &values)
{
    try {
        FilledForms forms(kind, values);
    } catch (const std::exception &e) {
        return e.what();
    }
    return {};
}

void ExpectFormCase(const std::string &kind, const FormCase &c)
{
    SCOPED_TRACE(c.what);
    reports::FieldValues values = EmptyValuesOf(kind);
    for (const auto &[name, value] : c.fields)
        values.set(name, value);
    FilledForms forms(kind, values);
    for (const auto &[label, caption] : c.captions)
        EXPECT_EQ(forms.caption(label), caption) << label;
    for (const auto &square : c.black)
        EXPECT_TRUE(forms.black(square)) << square;
    for (const auto &square : c.white)
        EXPECT_FALSE(forms.black(square)) << square;
}

} // namespace medrec::testing
