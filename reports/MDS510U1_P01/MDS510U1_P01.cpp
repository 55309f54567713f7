#include "MDS510U1_P01.h"

#include "FormConventions.h"
#include "NoteSections.h"
#include "RecordContent.h"
#include "RecordPrint.h"

namespace medrec::reports {

namespace {

// The fields of the record's one content row.
BindingTable operationBindings()
{
    using namespace bind;
    return {
        text("qlb_patno", "S_STRING1"),
        text("qlb_SexAge", "S_STRING2"),
        text("qlb_patName", "S_STRING3"),
        text("qlb_ResNo", "S_STRING4"),
        text("qlb_Meddept", "S_STRING5"),
        text("qlb_chadr", "S_STRING6"),
        text("qrl_ward", "S_STRING7"),
        text("qrlb_OpDr", "S_STRING8"),
        text("qrlb_OpDr1", "S_STRING8"),
        text("qrlb_OpDate", "S_STRING9"),
        text("qrlb_OpDr2", "S_STRING10"),
        text("qrlb_OpDr3", "S_STRING11"),
        text("qrlb_PreIcdNm", "S_STRING12"),
        text("qrlb_PstIcdNm", "S_STRING13"),
        text("qrlb_PreOpName", "S_STRING14"),
        text("qrlb_OpName", "S_STRING15"),
        text("qrlb_OpName2", "S_STRING16"),
        text("qrlb_OpName3", "S_STRING17"),
        text("qrlb_OpName4", "S_STRING18"),
        text("qrlb_AnethNm", "S_STRING19"),
        yesNoMark("S_STRING20", "qrlb_TissY", "qrlb_TissN"),
        yesNoMark("S_STRING21", "qrlb_DrainY", "qrlb_DrainN"),
        text("qrlb_Recid", "S_STRING22"),
        text("qrlb_Recdate", "S_STRING23"),
        text("qrlb_bloodrj", "S_STRING24"),
        text("qrl_blood", "S_STRING25"),
        yesNoMark("S_STRING26", "qrl_sponY", "qrl_sponN"),
        text("qrlb_Opstm", "S_STRING27"),
        text("qrlb_Opetm", "S_STRING28"),
        text("qrlb_OpDr4", "S_STRING29"),
        text("qrlb_PstIcdNm2", "S_STRING30"),
        text("qrlb_PstIcdNm3", "S_STRING31"),
        text("qrlb_PstIcdNm4", "S_STRING32"),
        custom({"qrme_data"}, {"S_STRING34", "S_STRING33"},
               [](engine::Report &r, const FieldValues &v) {
                   SetMemoText(r.memo("qrme_data"), OperationMemoSections(v["S_STRING34"], v["S_STRING33"]));
               }),
    };
}

} // namespace

std::string OperationMemoText(const std::string &findings, const std::string &procedure)
{
    return OperationMemoSections(findings, procedure).text();
}

SectionText OperationMemoSections(const std::string &findings, const std::string &procedure)
{
    // Each part only when written; one more break closes whatever was written.
    SectionText memo;
    if (!findings.empty())
        memo.section("관찰소견및수술중특이사항", " " + findings, 2, 1);
    if (!procedure.empty())
        memo.section("수술절차", " " + procedure, 2, 1);
    if (!findings.empty() || !procedure.empty())
        memo.breaks(1);
    return memo;
}

const std::vector<FormBindings> &OperationRecordForms()
{
    static const std::vector<FormBindings> forms{{.fill = operationBindings()}};
    return forms;
}

BlockResult PrintOperationRecord(RecordPrint &print)
{
    return PrintOneRowRecord(
        print, {1, 2},
        [](const RecordPrint &p) {
            const FieldValues &v = p.values;
            return PrintedSummary{.meddate = p.cell(3),
                                  .dschdate = v["S_STRING35"],
                                  .patgubun = v["S_STRING36"],
                                  .meddept = v["S_STRING5"],
                                  .chadr = v["S_STRING37"]};
        }, clearCheckMarks);
}

} // namespace medrec::reports
