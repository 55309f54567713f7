#include "SRA411UN_P02.h"

#include "ContextValues.h"
#include "FormConventions.h"
#include "NursingSheet.h"
#include "RecordContent.h"
#include "Sedation.h"
#include "StagedRows.h"

#include "DateText.h"
#include "TextHelpers.h"

#include "report_engine/Report.h"

namespace medrec::reports::sedation {

namespace {

constexpr int kObservationColumns = 11;

std::string rc(int field) { return kRecovery + std::string("S_STRING") + std::to_string(field); }

// Activity, respiration, circulation, consciousness and oxygen saturation: the item's
// squares for the scores 2, 1 and 0.
BindingTable scoreSquares()
{
    BindingTable table;
    for (int item = 1; item <= 5; ++item) {
        const std::string prefix = "Qrbt_state" + std::to_string(item);
        table.push_back(bind::numberSquares(rc(item), {{2, prefix + "1"}, {1, prefix + "2"}, {0, prefix + "3"}},
                                            Others::White));
    }
    return table;
}

Binding multiRecord()
{
    return bind::custom({"Qcbx_edu5", "Qcombx_multi", "Qed_multi"}, {rc(11)},
                        [](engine::Report &r, const FieldValues &v) {
                            const MultiRecord multi = ReadMultiRecord(v[rc(11)]);
                            shcbx_pro(r, "Qcbx_edu5", multi.on ? "Y" : "");
                            r.label("Qcombx_multi").setCaption(multi.procedure);
                            r.label("Qed_multi").setCaption(multi.text);
                        });
}

// The recovering nurse and when she signed: only with her number.
Binding recoveringNurse()
{
    return bind::custom({"QmskRecdate4", "Qed_recid4"}, {rc(13), rc(14), kStaffName},
                        [](engine::Report &r, const FieldValues &v) {
                            const bool signed_ = !v[rc(14)].empty();
                            r.label("QmskRecdate4").setCaption(signed_ ? common::FmtDateTimeHMS(v[rc(13)]) : "");
                            r.label("Qed_recid4").setCaption(signed_ ? v[kStaffName] : "");
                        });
}

} // namespace

void StageObservations(const RecordContent &content, common::GridData &list)
{
    // Grid column k shows content field kFields[k].
    static constexpr int kFields[kObservationColumns] = {1, 2, 3, 4, 5, 6, 7, 9, 8, 10, 11};
    for (int row = 0; row < content.rows(); ++row) {
        std::vector<std::string> cells;
        for (int field : kFields)
            cells.push_back(common::Trimmed(content.value(field, row)));
        cells[0] = common::FmtShortDateTimeHM(cells[0]);
        list.setRowCells(row + 1, std::move(cells));
    }
}

MultiRecord ReadMultiRecord(const std::string &value)
{
    if (sheet::CharAt(value, 1) != "Y")
        return {};
    const std::string code = sheet::CharAt(value, 2);
    const int procedure = CodeToInt(code.empty() ? "0" : code);
    return {.on = true,
            .procedure = procedure == 0 ? "대장내시경+위내시경" : procedure == 1 ? "기타" : "",
            .text = sheet::CharsFrom(value, 3)};
}

BindingTable RecoveryBindings()
{
    return Concat({
        scoreSquares(),
        {
            bind::text("Qlb_total", rc(6)),
            bind::square("Qcb_Allcheck", rc(7)),
            flagAndText("Qcbx_eduetc", "Qed_etc", rc(12), "(", ")"),
            multiRecord(),
            recoveringNurse(),
        },
    });
}

BindingTable ObservationBindings()
{
    return ColumnTexts({"qrlb_mondate", "qrlb_monstate", "qrlb_monscore", "qrlb_pr", "qrlb_rr", "qrlb_sao2",
                        "qrlb_bp", "qrlb_etctxt", "qrlb_fallprv", "qrlb_recnm", "qrlb_motype"});
}

} // namespace medrec::reports::sedation
