#include "SRA411UN_P01.h"

#include "SRA411UN_P02.h"

#include "ContextValues.h"
#include "FormConventions.h"
#include "NursingSheet.h"
#include "PrintContext.h"
#include "RecordContent.h"
#include "RecordPrint.h"
#include "Sedation.h"
#include "StagedRows.h"

#include "DateText.h"
#include "HsrSedation.h"

#include <array>

namespace medrec::reports {

namespace {

using sedation::yesNoSquares;

// The prefix the evaluation row ("SR_SEDEV_S1") goes under; the recovery row has its own.
constexpr const char *kEvaluation = "SR_SEDEV_S1.";
constexpr int kMedicationColumns = 11;

std::string ev(int field) { return kEvaluation + std::string("S_STRING") + std::to_string(field); }

const NotPrinted kServiceFailed{NotPrinted::Reason::ServiceFailed, {}};

// Aspirin, warfarin and the other drug: "YY" taken and stopped (the days follow from
// character 3), "YN" taken and not stopped; anything else says nothing of the drug.
sedation::DrugAnswer drugOfEvaluation(const std::string &value)
{
    const std::string flags = sheet::Chars(value, 1, 2);
    if (flags == "YY")
        return {.taken = true, .stopped = true, .days = sheet::CharsFrom(value, 3)};
    if (flags == "YN")
        return {.taken = true, .stopped = false};
    return {};
}

// The other drug's name prints whenever the drug was taken.
Binding otherDrugName()
{
    return bind::custom({"Qetcname"}, {ev(8), ev(9)}, [](engine::Report &r, const FieldValues &v) {
        r.label("Qetcname").setCaption(drugOfEvaluation(v[ev(8)]).taken ? v[ev(9)] : std::string());
    });
}

// Past illnesses: "Y" in S10 fills "유" and lets S11 .. S19 and S20 fill the illnesses;
// otherwise "무", and every illness stays white.
Binding pastIllnesses()
{
    std::vector<std::string> squares = bind::numbered("Qhis", 1, 9);
    std::vector<std::string> components{"QsickhisY", "QsickhisN", "Qhisetc", "Qed_sickhis"};
    components.insert(components.end(), squares.begin(), squares.end());
    std::vector<std::string> fields;
    for (int field = 10; field <= 20; ++field)
        fields.push_back(ev(field));
    const Binding other = sedation::flagAndText("Qhisetc", "Qed_sickhis", ev(20));
    return bind::custom(std::move(components), std::move(fields),
                        [squares, other](engine::Report &r, const FieldValues &v) {
                            const bool any = v[ev(10)] == "Y";
                            shcbx_pro(r, "QsickhisY", any ? "Y" : "");
                            shcbx_pro(r, "QsickhisN", any ? "" : "Y");
                            for (std::size_t i = 0; i < squares.size(); ++i)
                                shcbx_pro(r, squares[i], any ? v[ev(11 + static_cast<int>(i))] : "");
                            FieldValues none;
                            none.set(ev(20), "");
                            other.apply(r, any ? v : none);
                        });
}

// The evaluation before sedation, from the "SR_SEDEV_S1" row; without a row the form keeps
// its design (the patient lines and the medication table print alone).
BindingTable evaluationBindings()
{
    using namespace bind;
    return {
        text("qrlb_Weight", {ev(1), [](const std::string &weight) { return weight + "kg"; }}),
        codeText("qrlb_comma", ev(2),
                 {{1, "Alert"}, {2, "Drowsy"}, {3, "Confusion"}, {4, "Stupor"}, {5, "Semi-coma"}, {6, "Coma"}}),
        yesNoSquares(ev(3), "qrs_AleY", "qrs_AleN"),
        text("qrlb_Ale", ev(4)),
        square("Qcbx_medhisN", ev(5)),
        sedation::drugRow({"qrs_asprin", "qrs_asprinY", "qrs_asprinN", "QaspiText"}, ev(6), &drugOfEvaluation),
        sedation::drugRow({"qrs_wapa", "qrs_wapaY", "qrs_wapaN", "QwapaText"}, ev(7), &drugOfEvaluation),
        sedation::drugRow({"qrs_etc", "qrs_etcY", "qrs_etcN", "QetcText"}, ev(8), &drugOfEvaluation),
        otherDrugName(),
        pastIllnesses(),
        yesNoSquares(ev(21), "QagreeY", "QagreeN"),
        yesNoSquares(ev(22), "QwithguardY", "QwithguardN"),
        yesNoSquares(ev(23), "QfastoffY", "QfastoffN"),
        square("Qmouthnone", ev(24)),
        square("Qmouth1", ev(25)),
        square("Qmouth2", ev(26)),
        sedation::flagAndText("Qmouthetc", "Qed_mouthetc", ev(27)),
        numberSquares(ev(42), {{1, "QIntclean1"}, {2, "QIntclean2"}, {3, "QIntclean3"}, {4, "QIntclean4"}},
                      Others::White),
        text("Qstmdt", ev(28)),
        text("Qed_bph", ev(29)),
        text("Qed_bpl", ev(30)),
        text("Qed_pr", ev(31)),
        text("Qed_rr", ev(32)),
        text("Qed_sao2", ev(41)),
        text("QmskRecdate1", {ev(28), common::FmtDateTimeHM}),
        text("Qed_cdrecid1", sedation::kStaffName),
        text("Qed_recid1", ev(40)),
    };
}

BindingTable medicationBindings() { return ColumnTexts(bind::numbered("qrl_", 1, kMedicationColumns)); }

const BindingTable &patientLines()
{
    static const BindingTable lines = sedation::PatientLineBindings("qrlb_SexAGE", "qrlb_Resno", value::record(7));
    return lines;
}

// The medication rows into `list` (its rows 1 .. n); drug and route codes must be numbers.
void stageMedication(const services::HsrSedmet &data, int rows, common::GridData &list)
{
    const auto field = [&](int n, int row) -> const std::string & {
        return data.results.value("S_STRING" + std::to_string(n), static_cast<std::size_t>(row));
    };
    for (int i = 0; i < rows; ++i) {
        list.setRowCells(i + 1, {SedativeName(CodeToInt(field(1, i))), SedativeRoute(CodeToInt(field(2, i))),
                                 common::FmtShortDateTimeHM(field(3, i)), field(4, i),
                                 common::FmtShortDateTimeHM(field(5, i)), field(6, i),
                                 common::FmtShortDateTimeHM(field(7, i)), field(8, i), field(9, i), field(10, i),
                                 field(11, i) + "/" + field(12, i)});
    }
}

} // namespace

std::string SedativeName(int code)
{
    static const std::array<const char *, 12> names{"Midazolam", "Pofol",     "Mida+Pofol", "Lorazepam",
                                                    "Diazepam",  "Ketamine",  "Pocral",     "Flumazenil",
                                                    "Naloxone",  "Freefol",   "Mida+Freefol", "Etomidates"};
    return code >= 0 && code < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(code)] : "";
}

std::string SedativeRoute(int code)
{
    static const std::array<const char *, 3> routes{"V", "IM", "PO"};
    return code >= 0 && code < static_cast<int>(routes.size()) ? routes[static_cast<std::size_t>(code)] : "";
}

const std::vector<FormBindings> &SedationRecordForms()
{
    static const std::vector<FormBindings> forms{
        {.fill = Concat({patientLines(), {bind::whenSet(ev(1), evaluationBindings())}}),
         .detail = medicationBindings()},
        {.fill = Concat({patientLines(), sedation::RecoveryBindings()}), .detail = sedation::ObservationBindings()},
    };
    return forms;
}

BlockResult PrintSedationRecord(RecordPrint &print)
{
    auto content = FetchRecordContent(print, {1, 2, 3}, Notice::status("조회할 자료가 없습니다."));
    if (!content)
        return content.stop();
    const services::SedationKey key{print.cell(0), print.cell(1), KeyToInt(print.cell(2)), KeyToInt(print.cell(3))};
    sedation::AddPatientLines(print, print.cell(6));
    sedation::StaffNames staff;
    PrintJob job;

    // Page 1: the sedatives given, then the evaluation before sedation and its assessor.
    services::HsrSedmet medication;
    const int medicationRows = medication.ListSedme(key);
    if (medicationRows < 0)
        return kServiceFailed;
    common::GridData &medicationList = FreshPrintLines(print.context.scratch.list, medicationRows);
    stageMedication(medication, medicationRows, medicationList);
    services::HsrSedevt evaluation;
    const int evaluated = evaluation.GetSedev(key);
    if (evaluated < 0)
        return kServiceFailed;
    if (evaluated > 0) {
        print.values.addRow(evaluation.results, 0, kEvaluation);
        if (auto stop = staff.lookUp(print, print.values[ev(40)]))
            return *stop;
    }
    FeedDetailRows(print.addReport(job, 0), medicationList, medicationRows, print.detail(0));

    // Page 2: the observations, then the recovery and its nurse (the staff name is now hers).
    common::GridData &observations = FreshPrintLines(print.context.scratch.allList, content->rows());
    sedation::StageObservations(*content, observations);
    services::HsrSedrct recovery;
    if (recovery.GetSedrc(key) < 0)
        return kServiceFailed;
    print.values.addRow(recovery.results, 0, sedation::kRecovery);
    if (auto stop = staff.lookUp(print, print.values[std::string(sedation::kRecovery) + "S_STRING14"]))
        return *stop;
    FeedDetailRows(print.addReport(job, 1), observations, print.detail(1));

    job.summary = {.meddate = print.cell(1), .patgubun = print.cell(4), .meddept = print.cell(6)};
    job.status = staff.status();
    return job;
}

} // namespace medrec::reports
