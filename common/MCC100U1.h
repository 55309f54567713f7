#pragma once

// The patient chooser (form TMCC100F1, component "MCC100F1", caption "환자조회"): when a
// patient search finds several patients, the search fills the candidate list, places the
// dialog under its input edit and shows it modally; the operator picks one row or cancels.
// The dialog only lists and returns a choice; it calls no service.

#include "Clock.h"

#include <QDialog>
#include <QPointer>

#include <array>
#include <string>
#include <vector>

class QPushButton;

namespace medrec::common {

class TUltraGrid;

// What the chooser hands back after it closed.
struct ChooserResult
{
    bool chosen = false;       // the operator confirmed a row
    std::string patientNo;     // column 0 of the chosen row
    std::string name;          // column 1
    std::string sexAge;        // column 2
    std::array<std::string, 8> further; // columns 4 to 11 (empty beyond the list's columns)
};

// One patient row of "MD_PATBA_L2" as far as the chooser shows it.
struct PatientCandidate
{
    std::string patNo;      // "S_PATNO"
    std::string name;       // "S_STRING1"
    std::string resNoFront; // "S_STRING2"
    std::string resNoBack;  // "S_STRING3"
    std::string birthDate;  // "S_STRING4", YYYYMMDD
    std::string sex;        // "S_STRING5"
    std::string extra;      // "S_STRING12", kept in a hidden column
    std::string dept;       // "S_STRING13"
};

// The six candidate-list cells of a patient: number, name, "sex/age" (age as of today,
// trimmed), registration number "front-back", the hidden column, department.
std::vector<std::string> CandidateCells(const PatientCandidate &patient, Date today);

// Where the chooser of size dialogSize goes for an input edit at editOnScreen (screen
// coordinates): below the edit, left edges aligned; right edges aligned instead when the
// left edge would lie beyond x = 687; above the edit when the top would lie beyond y = 570.
QPoint ChooserPosition(const QRect &editOnScreen, const QSize &dialogSize);

class TMCC100F1 : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kClientWidth = 396;
    static constexpr int kClientHeight = 195;

    explicit TMCC100F1(QWidget *parent = nullptr);
    ~TMCC100F1() override;

    TUltraGrid *ugd_List() const { return m_list; }
    TUltraGrid *ugd_PatList() const { return m_patList; }
    TUltraGrid *ugd_OutPatList() const { return m_outPatList; }
    QPushButton *bbt_Confirm() const { return m_confirm; }
    QPushButton *bbt_Cancel() const { return m_cancel; }

    // Fills the candidate list: 9 columns, emptied, cut back to 6 (so "합본번호" is not
    // shown), one body row per patient.
    void setCandidates(const std::vector<PatientCandidate> &patients, Date today);
    // Places the dialog by ChooserPosition for the edit's place on the screen.
    void placeUnder(const QWidget *edit);

    // The choice; valid once the dialog has closed.
    const ChooserResult &chooserResult() const { return m_result; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void confirm();

    TUltraGrid *m_list = nullptr;
    TUltraGrid *m_patList = nullptr;
    TUltraGrid *m_outPatList = nullptr;
    QPushButton *m_confirm = nullptr;
    QPushButton *m_cancel = nullptr;
    int m_row = 1; // the row the operator last clicked
    ChooserResult m_result;
};

// The patient search's use of the chooser: creates it into open, fills and places it under
// edit, shows it modally, destroys it (which clears open) and returns the choice. While a
// chooser is still open it is only brought to the front, and the result is no choice.
ChooserResult ChoosePatient(QPointer<TMCC100F1> &open, QWidget *edit, const std::vector<PatientCandidate> &patients,
                            Date today);

} // namespace medrec::common
