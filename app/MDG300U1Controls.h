#pragma once

// The controls of the main screen, named as its form definition names them. Built once by
// BuildMDG300Controls; every pointer is a child of the screen (the screen owns them through
// Qt parenthood) and is never null while the screen lives.

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPushButton;

namespace medrec::common {
class TUltraGrid;
}
namespace medrec::middleware {
class TStatusBar;
}

namespace medrec::app {

struct MDG300Controls
{
    // Header: the patient-number edit and what the search found.
    QFrame *pn_Header = nullptr;
    QLabel *pn_PatNoCaption = nullptr; // "환자번호입력"
    QLineEdit *ed_PatNo = nullptr;
    QLabel *pn_PatName = nullptr;
    QPushButton *bbt_MdHSearch = nullptr;
    QLabel *pn_Ward = nullptr;
    QLabel *pn_birthdate = nullptr; // hidden: the birth date for the print run

    // Patient panel. pn_Insu and pn_WardRoom are emptied with the others and never filled.
    QFrame *pn_PatInfo = nullptr;
    QLabel *pn_ResNo = nullptr;
    QLabel *pn_SexAge = nullptr;
    QLabel *pn_TelNo = nullptr;
    QLabel *pn_ZipCd = nullptr;
    QLabel *pn_Address = nullptr;
    QLabel *pn_Insu = nullptr;
    QLabel *pn_WardRoom = nullptr;

    // History panel: visits, record kinds, records, the print button and the summary of the
    // last printed record.
    QFrame *pn_History = nullptr;
    QLabel *pn_HistoryCaption = nullptr; // "기록지 발급이력"
    common::TUltraGrid *ugd_History = nullptr;
    common::TUltraGrid *ugd_RecodKnd = nullptr;
    common::TUltraGrid *ugd_RecodDt = nullptr;
    QPushButton *bbt_Print = nullptr;
    QLabel *Label3 = nullptr; // the caption over lb_meddate, designed "입원일자/진료일자"
    QLabel *lb_patno = nullptr;
    QLabel *lb_meddate = nullptr;
    QLabel *lb_dschdate = nullptr;
    QLabel *lb_patgubun = nullptr;
    QLabel *lb_meddept = nullptr;
    QLabel *lb_chadr = nullptr;

    middleware::TStatusBar *stb_Message = nullptr;

    // Hidden scratch grids through which print blocks hand rows to their report forms.
    // Each has one title row; body rows start at row 1.
    common::TUltraGrid *ugd_AllList = nullptr;   // 60 columns
    common::TUltraGrid *ugd_List = nullptr;      // 30 columns
    common::TUltraGrid *ugd_PrintList = nullptr; // 27 columns
    common::TUltraGrid *ugd_Temp = nullptr;      // 30 columns

    // Hidden code/name tables: item i of a code combo and item i of its name combo belong
    // together. Empty until a print block fills them.
    QComboBox *combx_RoomCd = nullptr;
    QComboBox *combx_Room = nullptr;
    QComboBox *combx_roomno = nullptr; // rooms of the ward selected in combx_Room
    QComboBox *combx_MedDeptCd = nullptr;
    QComboBox *combx_MedDept = nullptr;
    QComboBox *combx_OutDeptCd = nullptr;
    QComboBox *combx_OutDept = nullptr;
    QComboBox *cboDeptCD = nullptr;
    QComboBox *cboDept = nullptr;
    QComboBox *combx_ErRsltCd = nullptr;
    QComboBox *combx_ErRslt = nullptr;
    QComboBox *combx_DiagKindCd = nullptr;
    QComboBox *combx_DiagKind = nullptr;
    QComboBox *combx_Intencd = nullptr;
    QComboBox *combx_Inten = nullptr;
    QComboBox *combx_Injurycd = nullptr;
    QComboBox *combx_Injury = nullptr;
    QComboBox *combx_returncd = nullptr;
    QComboBox *combx_return = nullptr;
    QComboBox *combx_transfercd = nullptr;
    QComboBox *combx_transfer = nullptr;
    QComboBox *combx_inbedcd = nullptr;
    QComboBox *combx_inbed = nullptr;
    QComboBox *combx_killcd = nullptr;
    QComboBox *combx_kill = nullptr;
    QComboBox *combx_kill2cd = nullptr;
    QComboBox *combx_kill2 = nullptr;
    QComboBox *combx_dangsacd = nullptr;
    QComboBox *combx_dangsa = nullptr;
    QComboBox *cbx_type_in_cd = nullptr;
    QComboBox *cbx_type_in = nullptr;
    QComboBox *cbx_type_out_cd = nullptr;
    QComboBox *cbx_type_out = nullptr;
    QComboBox *combx_apathcd = nullptr;
    QComboBox *combx_apath = nullptr;
    QComboBox *combx_apathcd1 = nullptr;
    QComboBox *combx_apath1 = nullptr;
    // Name lists that receive copies of a department name list.
    QComboBox *combx_ConslDept1 = nullptr;
    QComboBox *combx_ConslDept2 = nullptr;
    QComboBox *combx_ConslDept3 = nullptr;
    // Fixed items, read by index: "무", "유" ("무" selected at start) and the 19 areas.
    QComboBox *cboHome = nullptr;
    QComboBox *combx_Location = nullptr;
};

// Label3's caption as designed; a print may name its own date there until the next print run.
inline constexpr const char *kMeddateCaption = "입원일자/진료일자";

// The screen's geometry: the window's client area and the history panel's overlap with the
// patient panel above it.
inline constexpr int kScreenWidth = 948;
inline constexpr int kScreenHeight = 690;
inline constexpr int kHistoryOverlap = 4;

// Creates every control of the screen on form (its central widget and status bar), with
// titles, column widths, fonts and hidden working controls as the form definition has them.
MDG300Controls BuildMDG300Controls(QMainWindow &form);

// Fits the history panel and the record grid to the window's client area (they grow with
// the window to the right and downwards; the rest keeps its place).
void FitHistoryPanel(const MDG300Controls &controls, int clientWidth, int clientHeight);

} // namespace medrec::app
