// The print run: checks, the screen's print state, dispatch on the record kind, and the
// print-history row.

#include "MDG300U1.h"

#include "ScreenPrintContext.h"

#include "BusyCursor.h"
#include "FormConventions.h"
#include "Hmdrecodt.h"
#include "MsgCom.h"
#include "PrinterCheck.h"
#include "RecordKinds.h"
#include "TStatusBar.h"
#include "TuxMsg.h"
#include "UltraGrid.h"

#include "report_engine/ReportError.h"

#include <QLabel>

namespace medrec::app {

void TMDG300F1::bbt_PrintClick() { PrintSelectedRecord(); }

PrintOutcome TMDG300F1::PrintSelectedRecord()
{
    const common::TUltraGrid &records = *m_ui.ugd_RecodDt;
    if (records.cell(0, records.row()).empty()) {
        middleware::PlainMessage("해당 기록지 데이터가 없습니다. 기록지를 선택해주세요!");
        return PrintOutcome::NotPrinted;
    }
    if (common::PrinterMissing())
        return PrintOutcome::NotPrinted;
    const reports::RecordKind *kind = reports::FindRecordKind(m_recodKnd);
    if (kind && !kind->block) {
        middleware::PlainMessage("이 기록지 종류(" + m_recodKnd + ")는 아직 출력할 수 없습니다.");
        return PrintOutcome::NotPrinted;
    }

    clearPrintedSummary();
    setStatusText({});
    for (common::TUltraGrid *grid : {m_ui.ugd_AllList, m_ui.ugd_List, m_ui.ugd_PrintList, m_ui.ugd_Temp})
        grid->clearRows();
    if (!kind)
        return PrintOutcome::NotPrinted;

    const std::string patNo = records.cell(0, records.row());
    const std::string key2 = records.cell(1, records.row());
    const std::string code = m_recodKnd;
    std::optional<reports::HistoryValues> printed;
    {
        middleware::BusyCursor busy;
        m_recodt = std::make_unique<services::Hmdrecodt>();
        ScreenPrintContext context(*this, m_ui, *m_recodt);
        try {
            printed = kind->block(context);
        } catch (const reports::CodeConversionError &e) {
            middleware::PlainMessage(e.what());
        } catch (const report::ReportError &e) {
            middleware::PlainMessage(std::string("기록지 서식을 읽지 못했습니다. ") + e.what());
        }
    }
    if (!printed) {
        // A block may have set the summary before its print failed: it names no printed record.
        clearPrintedSummary();
        m_recodt.reset();
        return PrintOutcome::NotPrinted;
    }
    bool historyWritten = true;
    if (kind->writesHistory)
        historyWritten = SavePrintHistory(patNo, key2, printed->a3, printed->a4, printed->a5, code);
    m_recodt.reset();
    return historyWritten ? PrintOutcome::Printed : PrintOutcome::PrintedWithoutHistory;
}

void TMDG300F1::clearPrintedSummary()
{
    for (QLabel *label : {m_ui.lb_patno, m_ui.lb_meddate, m_ui.lb_dschdate, m_ui.lb_patgubun, m_ui.lb_meddept,
                          m_ui.lb_chadr})
        label->clear();
}

bool TMDG300F1::SavePrintHistory(const std::string &a1, const std::string &a2, const std::string &a3,
                                 const std::string &a4, const std::string &a5, const std::string &a6)
{
    m_recodt.reset();
    middleware::BusyCursor busy;
    m_recodt = std::make_unique<services::Hmdrecodt>();
    const std::string values[] = {a1, a2, a3, a4, a5, a6};
    for (std::size_t i = 0; i < m_recodt->historyInput.size(); ++i)
        m_recodt->historyInput[i] = {values[i]};
    if (m_recodt->AddPrintHist(1) == 1)
        return true;
    middleware::ShowTuxMessage(m_ui.stb_Message);
    return false;
}

} // namespace medrec::app
