#include "AssessmentSheet.h"

#include "FormConventions.h"
#include "PrintContext.h"

#include "HmdInsamt.h"
#include "HmdPatInf.h"

#include "report_engine/Report.h"

#include "Cp949.h"
#include "TextHelpers.h"

namespace medrec::reports::sheet {

Keys KeysOf(const PrintContext &context) { return {context.record[0], context.record[1]}; }

std::optional<NotPrinted> FetchPatient(const Keys &keys, FieldValues &values, const Notice &whenEmpty)
{
    services::HmdPatInf patient;
    if (auto stop = Fetched(patient.GetPatInf("3", keys.patNo, ""), whenEmpty))
        return stop;
    values.set(std::string(kPatient) + "S_PATNO", patient.patNo.front());
    values.addNumbered("S_STRING", {patient.info.begin(), patient.info.end()}, 0, kPatient);
    return std::nullopt;
}

std::optional<NotPrinted> FetchWriter(const std::string &writerId, const std::string &staffKind, FieldValues &values,
                                      const Notice &whenEmpty)
{
    services::HmdInsamt staff;
    if (auto stop = Fetched(staff.ListInsam("Y", staffKind, writerId, "EB1"), whenEmpty))
        return stop;
    values.addRow(staff.results, 0, kWriter);
    return std::nullopt;
}

PrintedSummary Summary(const PrintContext &context)
{
    const RowCells &row = context.record;
    return {row[0], row[1], row[5], "I", row[6], row[7]};
}

HistoryRow History(const Keys &keys) { return {keys.patNo, keys.admDate}; }

std::string Chars(std::string_view value, std::size_t first, std::size_t last)
{
    return bind::chars(first, last)(std::string(value));
}

std::string CharsFrom(std::string_view value, std::size_t first) { return bind::chars(first)(std::string(value)); }

std::string CharAt(std::string_view value, std::size_t position) { return Chars(value, position, position); }

Binding optionalFlagsText(std::vector<std::string> squares, std::string label, Source source, std::size_t position,
                          bool trimText)
{
    std::vector<std::string> components = squares;
    components.push_back(label);
    return bind::custom(std::move(components), [=](engine::Report &r, const FieldValues &v) {
        const std::string value = source.read(v);
        const std::string at = CharAt(value, position);
        std::size_t textFrom = position;
        if (at == "N" || at == "Y") {
            for (std::size_t i = 0; i < squares.size(); ++i)
                shcbx_pro(r, squares[i], CharAt(value, position + i));
            textFrom = position + squares.size();
        }
        const std::string text = CharsFrom(value, textFrom);
        r.label(label).setCaption(trimText ? std::string(common::TrimBlanks(text)) : text);
    });
}

Binding leadFlagSquares(std::string lead, std::vector<std::string> items, Source source, LeadTest isOn)
{
    std::vector<std::string> components{lead};
    components.insert(components.end(), items.begin(), items.end());
    return bind::custom(std::move(components), [=](engine::Report &r, const FieldValues &v) {
        const std::string value = source.read(v);
        if (!isOn(CharAt(value, 1)))
            return;
        shcbx_pro(r, lead, "Y");
        for (std::size_t i = 0; i < items.size(); ++i)
            shcbx_pro(r, items[i], CharAt(value, i + 2));
    });
}

bool FirstIsTextOne(const std::string &firstChar) { return firstChar == "1"; }

bool FirstIsNumberOne(const std::string &firstChar) { return CodeToInt(firstChar) == 1; }

} // namespace medrec::reports::sheet
