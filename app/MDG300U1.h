#pragma once

// The main screen (form TMDG300F1, component "MDG300F1"): the operator enters a patient
// number or name, sees the patient, picks a visit, a record kind written in it and one
// record, and prints it. Each step is one service call whose rows fill a grid; choosing a
// row of one grid fills the next.
//
// Every handler runs to its end on the user-interface thread. The hourglass shows while a
// service runs and is gone again on every way out of a handler, failures included. Service
// failures reach the operator through ShowTuxMessage on stb_Message; rejected input through
// a plain message box.

#include "MDG300U1Controls.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <string>
#include <vector>

namespace medrec::common {
class TMCC100F1;
}
namespace medrec::reports {
struct HistoryRow;
struct RecordKind;
}

namespace medrec::app {

// How a print run ended.
enum class PrintOutcome {
    NotPrinted,            // refused or failed before anything was printed (the operator was told)
    Printed,               // printed, and the history row written where the kind writes one
    PrintedWithoutHistory, // printed, but the history write failed (shown on the status bar)
    PrintedWithoutLayoutRecord, // printed with its history row, but its layout record could not
                                // be written (the operator was told)
};

class TMDG300F1 : public QMainWindow
{
    Q_OBJECT

public:
    // Creating the screen opens the middleware session; when that fails the operator has
    // seen one message box and sessionOpen() is false: the screen must not be shown.
    explicit TMDG300F1(QWidget *parent = nullptr);
    ~TMDG300F1() override;

    bool sessionOpen() const { return m_sessionOpen; }
    middleware::TStatusBar *statusBarPanel() const { return m_ui.stb_Message; }

    // Every control, by its form name (grids' current rows, patient panels, summary labels,
    // scratch grids and code/name combos are what the print run works with).
    const MDG300Controls &controls() const { return m_ui; }

    // The record kind code of the record-kind row chosen last ("MDOPRECT", ...); the print
    // run dispatches on it. Empty before the first choice.
    const std::string &selectedRecordKind() const { return m_recodKnd; }
    // ed_PatNo's tag: 1 while the operator types, 0 while the program rewrites the edit.
    int typingFlag() const { return m_patNoTag; }

    // The handlers, run by their events; the chain of a successful search runs them too.
    void ShowPatientInfo();
    void bbt_MdHSearchClick();
    void ugd_HistoryClick();
    void ugd_RecodKndClick();
    // The rooms of the ward chosen in combx_Room into combx_roomno; the print run calls it
    // after choosing a ward.
    void combx_RoomChange();

    // The print run of bbt_Print: prints the record selected in ugd_RecodDt as the form of
    // its record kind and writes its print-history row. While it runs the screen takes no
    // input, and the clicks and keys that arrived meanwhile are dropped when it ends; a run
    // asked for while one is under way does nothing (NotPrinted).
    PrintOutcome PrintSelectedRecord();
    // The print run from the dispatch on: the kind's block on the selected record, its
    // outcome shown, its document printed, its history rows written.
    PrintOutcome PrintRecordKind(const reports::RecordKind &kind);
    // Writes the print's history rows, with the record kind code, in one transaction; false
    // (shown on stb_Message) on failure.
    bool SavePrintHistory(const reports::HistoryRow &row, const std::string &kindCode);

signals:
    // A status text the screen itself set on stb_Message (service failures shown on the
    // status line go there directly and are not announced).
    void statusTextChanged(const QString &text);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void ed_PatNoEnter();
    // True when the character is to be dropped.
    bool ed_PatNoKeyPress(const QString &typed);
    void ed_PatNoChange();
    void ed_PatNoKeyDown(int key);
    void bbt_PrintClick();
    // The print run proper, under PrintSelectedRecord's hold on the operator's input.
    PrintOutcome PrintSelectedRecordNow();
    // The second click of a double-click on bbt_Print is no second print: true when the
    // event is that click and is dropped.
    bool dropsSecondClickOfDoubleClick(QEvent *event);
    void clearPrintedSummary();

    void setStatusText(const std::string &text);
    std::string patientNumber() const;

    MDG300Controls m_ui;
    bool m_sessionOpen = false;
    int m_patNoTag = 1;
    std::string m_recodKnd;
    bool m_printRunning = false;
    QPointer<common::TMCC100F1> m_chooser;
};

} // namespace medrec::app
