#include "MDN130U3_P01.h"

#include "ErSheetCodes.h"
#include "ErSheetText.h"

#include "ContextValues.h"
#include "FormConventions.h"
#include "NoteSections.h"
#include "PrintContext.h"
#include "RecordPrint.h"

#include "CodeLookups.h"
#include "DateText.h"
#include "HmdErinft.h"
#include "HmdNktast.h"
#include "HmdNpregt.h"

#include "report_engine/Report.h"

#include <array>

namespace medrec::reports {

namespace {

using namespace er_sheet;

constexpr const char *kTriage = "MD_NKTAS_L1.";
const std::string kFirstLevel = std::string(kTriage) + "S_STRING9";
const std::string kLevelAfterRetriage = std::string(kTriage) + "S_STRING6";
const std::string kTriageTime = std::string(kTriage) + "S_STRING10";

const Notice kNoSheet = Notice::status("조회된 자료가 없습니다.");

// The common-code groups the sheet names its codes in.
constexpr std::array<const char *, 13> kGroups = {"204", "205", "206", "207", "208", "209", "210",
                                                  "211", "212", "213", "214", "215", "216"};

const NotPrinted kServiceFailed{NotPrinted::Reason::ServiceFailed, {}};

// Every value the sheet reads as a number, checked before anything prints: one that is not
// names its field in the message.
void checkNumbers(const FieldValues &values)
{
    for (const auto &[field, meaning] : NumberFields())
        CodeToInt(values[field], meaning + "(" + field + ")");
    CodeToInt(values[kFirstLevel], "최초KTAS Level(MD_NKTAS_L1 S_STRING9)");
    CodeToInt(values[kLevelAfterRetriage], "변경KTAS Level(MD_NKTAS_L1 S_STRING6)");
}

// The lists the sheet looks its codes up in, each emptied before it is read. A lookup that
// fails stops the print with its text: a sheet with names left out is not printed.
std::optional<NotPrinted> fillCodeLists(CodeNameLists &codes, const FieldValues &values)
{
    if (services::ListDepartments(codes.departments) < 0 || services::ListWards(codes.wards) < 0)
        return kServiceFailed;
    for (const char *group : kGroups)
        if (services::ListCommonCodes(group, codes.groups[group]) < 0)
            return kServiceFailed;
    // An admission names its room among the rooms of its ward, read once the ward is listed.
    codes.rooms.clear();
    const std::string &ward = values["S_NAME2"];
    if (values["S_NAME5"] == "1" && !ward.empty() && codes.wards.lists(ward) &&
        services::ListWardRooms(ward, codes.rooms) < 0)
        return kServiceFailed;
    return std::nullopt;
}

// The triage of the arrival. No row leaves its labels empty.
std::optional<NotPrinted> fetchTriage(RecordPrint &print)
{
    services::HmdNktast triage;
    if (triage.ListKtas("C", "", print.cell(0), common::FmtDate(print.cell(1)),
                        common::FmtDateTimeHMS(print.cell(2)), "") < 0)
        return kServiceFailed;
    print.values.addRow(triage.results, 0, kTriage);
    return std::nullopt;
}

BindingTable sheetBindings()
{
    using namespace bind;
    return {
        text("qlb_patno", value::kPanelPatNo),
        text("qlb_patName", value::kPanelName),
        text("qlb_SexAge", value::kPanelSexAge),
        text("qlb_ktaslevel", {kFirstLevel, codes::TriageLevel}),
        text("qlb_ktaslevel2", {kLevelAfterRetriage, codes::TriageLevel}),
        text("qrl_ward", kTriageTime),
        codeText("qlb_ErManage", "S_NAME7", codes::kEmergencySymptom),
    };
}

} // namespace

const std::vector<FormBindings> &EmergencyNursingSheetForms()
{
    static const std::vector<FormBindings> forms{{.fill = sheetBindings()}};
    return forms;
}

BlockResult PrintEmergencyNursingSheet(RecordPrint &print)
{
    services::HmdErinft sheet;
    if (auto stop = Fetched(sheet.GetErinf(print.cell(0), print.cell(1), print.cell(2)), kNoSheet))
        return *stop;
    print.values.addRow(sheet.results);
    if (auto stop = fillCodeLists(print.context.codes, print.values))
        return *stop;
    if (auto stop = fetchTriage(print))
        return *stop;
    services::HmdNpregt pregnancy;
    const int pregnancies = pregnancy.GetPreg("1", print.cell(0), common::FmtDate(print.cell(1)));
    if (pregnancies < 0)
        return kServiceFailed;
    checkNumbers(print.values);

    PrintJob job;
    engine::Report &report = print.addReport(job);
    SetMemoText(report.memo("qrme_Data"), ReportText(print.values, print.context.codes, pregnancies > 0));
    job.summary = {.meddate = print.cell(1),
                   .dschdate = print.cell(7),
                   .patgubun = print.cell(6),
                   .meddept = print.cell(3),
                   .chadr = print.cell(5)};
    return job;
}

} // namespace medrec::reports
