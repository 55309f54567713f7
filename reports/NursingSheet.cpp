#include "NursingSheet.h"

#include "FormConventions.h"
#include "PatientHeader.h"
#include "PrintContext.h"
#include "RecordPrint.h"

#include "FieldResults.h"
#include "HmdInsamt.h"
#include "HmdPatInf.h"

#include "report_engine/Report.h"

#include "Cp949.h"
#include "TextHelpers.h"

namespace medrec::reports::sheet {

std::optional<NotPrinted> FetchPatient(RecordPrint &print, const Notice &whenEmpty)
{
    services::HmdPatInf patient;
    if (auto stop = Fetched(patient.GetPatInf("3", print.cell(0), ""), whenEmpty))
        return stop;
    print.values.set(std::string(kPatient) + "S_PATNO", patient.patNo.front());
    print.values.addNumbered("S_STRING", {patient.info.begin(), patient.info.end()}, 0, kPatient);
    return std::nullopt;
}

std::optional<NotPrinted> FetchWriter(RecordPrint &print, const std::string &writerId, const std::string &staffKind,
                                      const Notice &whenEmpty)
{
    services::HmdInsamt staff;
    if (auto stop = Fetched(staff.ListInsam("Y", staffKind, writerId, "EB1"), whenEmpty))
        return stop;
    print.values.addRow(staff.results, 0, kWriter);
    return std::nullopt;
}

PrintedSummary Summary(const RecordPrint &print, int dischargeCell, int deptCell, int doctorCell)
{
    return {.meddate = print.cell(1),
            .dschdate = print.cell(dischargeCell),
            .patgubun = "I",
            .meddept = print.cell(deptCell),
            .chadr = print.cell(doctorCell)};
}

std::string Chars(std::string_view value, std::size_t first, std::size_t last)
{
    return bind::chars(first, last)(std::string(value));
}

std::string CharsFrom(std::string_view value, std::size_t first) { return bind::chars(first)(std::string(value)); }

std::string CharAt(std::string_view value, std::size_t position) { return Chars(value, position, position); }

std::string TextOf(const CodeTexts &table, int code)
{
    for (const auto &[c, text] : table)
        if (c == code)
            return text;
    return {};
}

Source FirstChar(const Source &source)
{
    return {source.field, source.pick ? bind::then(source.pick, bind::chars(1, 1)) : bind::chars(1, 1)};
}

Binding codeOrText(std::string label, Source source, std::size_t codeChars, CodeTexts table, int textCode)
{
    return bind::custom({label}, {source.field}, [=](engine::Report &r, const FieldValues &v) {
        const std::string text = source.read(v);
        const int code = CodeToInt(Chars(text, 1, codeChars));
        r.label(label).setCaption(code == textCode ? CharsFrom(text, codeChars + 1) : TextOf(table, code));
    });
}

Binding codeAndNote(std::string label, Source source, CodeTexts table, int aloneCode)
{
    return bind::custom({label}, {source.field}, [=](engine::Report &r, const FieldValues &v) {
        const std::string value = source.read(v);
        const int code = CodeToInt(CharAt(value, 1));
        const std::string note = CharsFrom(value, 2);
        const std::string name = TextOf(table, code);
        r.label(label).setCaption(code == aloneCode ? note : name.empty() ? std::string() : name + "(" + note + ")");
    });
}

Binding codeAndCount(std::string label, Source code, Source count, CodeTexts table)
{
    return bind::custom({label}, {code.field, count.field}, [=](engine::Report &r, const FieldValues &v) {
        r.label(label).setCaption(TextOf(table, CodeToInt(code.read(v))) + "/" + count.read(v));
    });
}

Binding charCodes(std::vector<std::string> labels, Source source, CodeTexts table)
{
    auto components = labels;
    return bind::custom(std::move(components), {source.field}, [=](engine::Report &r, const FieldValues &v) {
        const std::string text = source.read(v);
        for (std::size_t i = 0; i < labels.size(); ++i)
            r.label(labels[i]).setCaption(TextOf(table, CodeToInt(CharAt(text, i + 1))));
    });
}

Binding trimmedWhen(std::string label, Source source, std::string fixed)
{
    return bind::custom({label}, {source.field}, [=](engine::Report &r, const FieldValues &v) {
        const std::string text = source.read(v);
        r.label(label).setCaption(common::TrimBlanks(text) == fixed ? fixed : text);
    });
}

Binding optionalFlagsText(std::vector<std::string> squares, std::string label, Source source, std::size_t position,
                          bool trimText)
{
    std::vector<std::string> components = squares;
    components.push_back(label);
    return bind::custom(std::move(components), {source.field}, [=](engine::Report &r, const FieldValues &v) {
        const std::string value = source.read(v);
        const std::string at = CharAt(value, position);
        std::size_t textFrom = position;
        if (at == "N" || at == "Y") {
            for (std::size_t i = 0; i < squares.size(); ++i)
                shcbx_pro(r, squares[i], CharAt(value, position + i));
            textFrom = position + squares.size();
        }
        const std::string text = CharsFrom(value, textFrom);
        r.label(label).setCaption(trimText ? common::Trimmed(text) : text);
    });
}

Binding leadFlagSquares(std::string lead, std::vector<std::string> items, Source source, LeadTest isOn)
{
    std::vector<std::string> components{lead};
    components.insert(components.end(), items.begin(), items.end());
    return bind::custom(std::move(components), {source.field}, [=](engine::Report &r, const FieldValues &v) {
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

BlockResult PrintSheetRow(RecordPrint &print, int fetched, const services::FieldResults &row)
{
    if (auto stop = Fetched(fetched, kNoRowsFound))
        return *stop;
    print.values.addRow(row);
    PatientHeader::fromPanels(print.context.patient).addTo(print.values);
    PrintJob job = print.sheetJob();
    job.summary = Summary(print);
    return job;
}

Binding textCode(std::string label, Source source, CodeTexts table)
{
    return bind::custom({label}, {source.field}, [=](engine::Report &r, const FieldValues &v) {
        const std::string value = source.read(v);
        std::string text;
        for (const auto &[code, name] : table)
            if (std::to_string(code) == value)
                text = name;
        r.label(label).setCaption(text);
    });
}

Binding fixedWhen(std::string label, Source test, LeadTest isFixed, std::string fixed, Source otherwise)
{
    return bind::custom({label}, {test.field, otherwise.field}, [=](engine::Report &r, const FieldValues &v) {
        r.label(label).setCaption(isFixed(test.read(v)) ? fixed : otherwise.read(v));
    });
}

bool TrimmedIsOne(const std::string &value) { return common::TrimBlanks(value) == "1"; }

} // namespace medrec::reports::sheet
