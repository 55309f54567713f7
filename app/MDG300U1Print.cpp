// The print run: checks, the screen's print state, dispatch on the record kind, the
// block's outcome shown to the operator, one document printed, and the print-history rows.

#include "MDG300U1.h"

#include "OperatorInputHold.h"
#include "ScreenPrintContext.h"

#include "BusyCursor.h"
#include "FormConventions.h"
#include "PrintHistory.h"
#include "MsgCom.h"
#include "PrinterCheck.h"
#include "RecordKinds.h"
#include "RecordPrint.h"
#include "ReportForms.h"
#include "TStatusBar.h"
#include "TuxMsg.h"
#include "UltraGrid.h"

#include "report_engine/PrintProgress.h"
#include "report_engine/Printing.h"
#include "report_engine/ReportError.h"

#include <QLabel>
#include <QScopedValueRollback>

#include <new>

namespace medrec::app {

namespace {

// A printed job and where it went.
struct Printed
{
    reports::PrintJob job;
    engine::PrintResult result;
};

// Lays the job out and prints it as one document, one progress window counting its pages from
// the first laid out to the last sent; `failure` says why when it did not go out.
std::optional<engine::PrintResult> layOutAndPrint(const reports::PrintJob &job, const reports::RecordKind &kind,
                                                  const std::string &patNo, const MDG300Controls &ui,
                                                  QWidget *parent, std::string &failure)
{
    engine::PrintProgress progress(parent);
    engine::RunOptions layout;
    layout.pageLaidOut = [&progress](int pages) { progress.laidOut(pages); };
    engine::Document document;
    try {
        document = reports::LayOutJob(job, std::string(kind.code), layout);
    } catch (const engine::ReportError &e) {
        // The filled values cannot print as they stand (a barcode text Code 39 cannot encode).
        failure = e.what();
        return std::nullopt;
    }
    ShowPrintedSummary(ui, job.summary);
    engine::PrintRequest request{std::string(kind.code), patNo, parent};
    request.progress = &progress;
    engine::PrintResult printed = engine::printDocument(document, request);
    if (!printed.ok) {
        failure = printed.error;
        return std::nullopt;
    }
    return printed;
}

// The same, the operator told why when it did not go out (once the progress window is gone).
std::optional<engine::PrintResult> printJob(const reports::PrintJob &job, const reports::RecordKind &kind,
                                            const std::string &patNo, const MDG300Controls &ui, QWidget *parent)
{
    std::string failure;
    std::optional<engine::PrintResult> printed = layOutAndPrint(job, kind, patNo, ui, parent, failure);
    if (!printed)
        middleware::PlainMessage("출력하지 못했습니다. " + failure);
    return printed;
}

// Runs the block and prints what it filled: the job that went out, or nullopt when nothing
// was printed; every failure, whatever a block or the engine throws, ends here with one
// message.
std::optional<Printed> printRecord(const reports::RecordKind &kind, reports::PrintContext &context,
                                   const MDG300Controls &ui, QWidget *parent)
{
    std::string failure;
    try {
        reports::BlockResult result = reports::RunBlock(kind, context);
        KeepScratchTables(ui, context.scratch);
        if (const auto *refused = std::get_if<reports::NotPrinted>(&result)) {
            if (refused->reason == reports::NotPrinted::Reason::ServiceFailed)
                middleware::ShowTuxMessage(ui.stb_Message);
            else if (refused->notice.channel == reports::Notice::Channel::Box)
                middleware::PlainMessage(refused->notice.text);
            else if (refused->notice.channel == reports::Notice::Channel::Status)
                ui.stb_Message->setPanelText(QString::fromStdString(refused->notice.text));
            return std::nullopt;
        }
        auto &job = std::get<reports::PrintJob>(result);
        std::optional<engine::PrintResult> printed = printJob(job, kind, context.record[0], ui, parent);
        if (!printed)
            return std::nullopt;
        return Printed{std::move(job), std::move(*printed)};
    } catch (const reports::CodeConversionError &e) {
        failure = e.what();
    } catch (const engine::ReportError &e) {
        failure = std::string("기록지 서식을 읽지 못했습니다. ") + e.what();
    } catch (const std::bad_alloc &) {
        failure = "메모리가 부족하여 출력하지 못했습니다.";
    } catch (const std::exception &e) {
        failure = std::string("출력하지 못했습니다. ") + e.what();
    } catch (...) {
        failure = "출력하지 못했습니다. 알 수 없는 오류가 발생했습니다.";
    }
    middleware::PlainMessage(failure);
    return std::nullopt;
}

// The status line after a successful print: that the record was printed, its page count
// and where it went.
std::string printedStatusText(const engine::PrintResult &printed)
{
    const std::string where =
        printed.pdfFile.empty() ? "프린터 " + printed.printer : "PDF 파일 " + printed.pdfFile.string();
    return "기록지를 출력했습니다 (" + std::to_string(printed.pages) + "쪽): " + where;
}

} // namespace

void TMDG300F1::bbt_PrintClick() { PrintSelectedRecord(); }

PrintOutcome TMDG300F1::PrintSelectedRecord()
{
    // One run at a time: a click the button was still animating (its accelerator) must not
    // start a second run inside this one.
    if (m_printRunning)
        return PrintOutcome::NotPrinted;
    const QScopedValueRollback running(m_printRunning, true);
    // Ends (dropping the input that piled up) before the run counts as over.
    const OperatorInputHold hold(*this);
    return PrintSelectedRecordNow();
}

PrintOutcome TMDG300F1::PrintSelectedRecordNow()
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

    return PrintRecordKind(*kind);
}

PrintOutcome TMDG300F1::PrintRecordKind(const reports::RecordKind &kind)
{
    reports::PrintContext context = CapturePrintContext(m_ui);
    std::optional<Printed> printed;
    {
        middleware::BusyCursor busy;
        printed = printRecord(kind, context, m_ui, this);
    }
    if (!printed) {
        // Nothing went out: no summary names a printed record.
        clearPrintedSummary();
        return PrintOutcome::NotPrinted;
    }
    // What the block says of the copy (a value it left empty) matters more than where it went. A
    // failed history write that follows shows its own text here instead.
    setStatusText(printed->job.status.empty() ? printedStatusText(printed->result) : printed->job.status);
    const bool historyKept = !printed->job.history || SavePrintHistory(*printed->job.history, std::string(kind.code));
    // Told only after the history write: the box waits for the operator.
    const std::string &recordError = printed->result.layoutRecordError;
    if (!recordError.empty())
        middleware::PlainMessage("출력은 되었으나 레이아웃 기록을 남기지 못했습니다. " + recordError);
    if (!historyKept)
        return PrintOutcome::PrintedWithoutHistory;
    return recordError.empty() ? PrintOutcome::Printed : PrintOutcome::PrintedWithoutLayoutRecord;
}

void TMDG300F1::clearPrintedSummary()
{
    ShowPrintedSummary(m_ui, {});
}

bool TMDG300F1::SavePrintHistory(const reports::HistoryRow &row, const std::string &kindCode)
{
    middleware::BusyCursor busy;
    if (reports::SavePrintHistory(row, kindCode) == 1)
        return true;
    middleware::ShowTuxMessage(m_ui.stb_Message);
    return false;
}

} // namespace medrec::app
