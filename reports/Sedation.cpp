#include "Sedation.h"

#include "ContextValues.h"
#include "FormConventions.h"
#include "NursingSheet.h"
#include "PrintContext.h"
#include "RecordPrint.h"

#include "report_engine/Report.h"

namespace medrec::reports::sedation {

namespace {

constexpr int kWardCell = 5;

void paint(engine::Report &report, const std::string &square, bool black)
{
    shcbx_pro(report, square, black ? "Y" : "");
}

} // namespace

Source AnswerAt(std::string field, std::size_t position)
{
    return {std::move(field), bind::chars(position, position)};
}

Binding yesNoSquares(Source source, std::string yes, std::string no)
{
    return bind::choiceSquares(std::move(source), {{"Y", std::move(yes)}}, Others::White, std::move(no));
}

Binding letterSquares(Source source, std::vector<std::pair<std::string, std::string>> letterToSquare)
{
    return bind::choiceSquares(std::move(source), std::move(letterToSquare), Others::White);
}

Binding flagAndText(std::string square, std::string label, Source source, std::string open, std::string close)
{
    return bind::custom({square, label}, {source.field}, [=](engine::Report &r, const FieldValues &v) {
        const std::string value = source.read(v);
        const bool on = sheet::CharAt(value, 1) == "Y";
        paint(r, square, on);
        r.label(label).setCaption(on ? open + sheet::CharsFrom(value, 2) + close : std::string());
    });
}

Binding drugRow(DrugRow row, Source source, DrugReading read)
{
    return bind::custom({row.taken, row.stoppedYes, row.stoppedNo, row.days}, {source.field},
                        [=](engine::Report &r, const FieldValues &v) {
                            const DrugAnswer answer = read(source.read(v));
                            paint(r, row.taken, answer.taken);
                            paint(r, row.stoppedYes, answer.stopped == true);
                            paint(r, row.stoppedNo, answer.stopped == false);
                            r.label(row.days).setCaption(answer.days);
                        });
}

void AddPatientLines(RecordPrint &print, const std::string &dept)
{
    PatientHeader header = PatientHeader::fromPanels(print.context.patient);
    header.ward = print.cell(kWardCell);
    header.dept = dept;
    header.addTo(print.values);
}

BindingTable PatientLineBindings(std::string sexAgeLabel, std::string resNoLabel, Source exam)
{
    return Concat({HeaderBindings({"qrlb_Patno", "qrlb_Patnm", std::move(resNoLabel), std::move(sexAgeLabel),
                                   "qrlb_Meddept", "", "qrlb_Wardno"}),
                   {bind::text("qrlb_Diagnm", std::move(exam))}});
}

std::optional<NotPrinted> StaffNames::lookUp(RecordPrint &print, const std::string &number)
{
    print.values.set(kStaffName, "");
    if (number.empty())
        return std::nullopt;
    auto stop = sheet::FetchWriter(print, number, "1", Notice::none());
    if (stop && stop->reason == NotPrinted::Reason::ServiceFailed)
        return stop;
    if (stop)
        m_unknown.push_back(number);
    return std::nullopt;
}

std::string StaffNames::status() const
{
    if (m_unknown.empty())
        return {};
    std::string numbers;
    for (const std::string &number : m_unknown)
        numbers += (numbers.empty() ? "" : ", ") + number;
    return "직원번호 " + numbers + "의 직원 정보가 없어 이름 없이 출력했습니다.";
}

} // namespace medrec::reports::sedation
