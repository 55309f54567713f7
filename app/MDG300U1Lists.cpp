// The main screen's lists: the patient panel, the visits, the record kinds of a visit, the
// records of a kind, and the rooms of a ward.

#include "MDG300U1.h"

#include "BusyCursor.h"
#include "Clock.h"
#include "CodeLookups.h"
#include "DateText.h"
#include "GridOps.h"
#include "HmdPatInf.h"
#include "Hmdrecodt.h"
#include "Hmdrecott.h"
#include "MsgCom.h"
#include "TStatusBar.h"
#include "TextHelpers.h"
#include "TuxMsg.h"
#include "UltraGrid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace medrec::app {

namespace {

// The visit list's fixed inputs (their meaning is the service's).
constexpr const char *kHistoryType = "EB1";
constexpr const char *kHistoryFrom = "20110101";
constexpr const char *kKindType = "1";

const std::string &at(const services::ServiceResult &result, int row)
{
    static const std::string empty;
    return row >= 0 && static_cast<std::size_t>(row) < result.size() ? result[static_cast<std::size_t>(row)]
                                                                     : empty;
}

QString qt(const std::string &text)
{
    return QString::fromStdString(text);
}

std::string rowsFound(int count)
{
    return std::to_string(count) + "건의 자료가 조회되었습니다.";
}

// An empty title line, and no title left over from an earlier, longer one.
void clearTitles(common::TUltraGrid &grid)
{
    grid.edit([](common::GridData &data) {
        data.setTitle({});
        if (data.fixedRows() > 0)
            for (int col = 0; col < data.colCount(); ++col)
                data.setCell(col, 0, {});
    });
}

void clearBody(common::TUltraGrid &grid)
{
    common::ClearGrid(grid, grid.colCount());
}

} // namespace

void TMDG300F1::ShowPatientInfo()
{
    for (QLabel *panel :
         {m_ui.pn_ResNo, m_ui.pn_SexAge, m_ui.pn_TelNo, m_ui.pn_ZipCd, m_ui.pn_Address, m_ui.pn_birthdate})
        panel->clear();

    services::HmdPatInf patient;
    int found = 0;
    {
        middleware::BusyCursor busy;
        found = patient.GetPatInf("3", patientNumber(), {});
    }
    if (found < 0) {
        middleware::ShowTuxMessage(m_ui.stb_Message);
        return;
    }
    if (found == 0)
        return;

    m_ui.pn_PatName->setText(qt(at(patient.field(1), 0)));
    if (m_ui.ed_PatNo->text() != qt(at(patient.patNo, 0)))
        m_ui.ed_PatNo->setText(qt(at(patient.patNo, 0)));
    m_ui.pn_ResNo->setText(qt(at(patient.field(2), 0) + "-" + at(patient.field(3), 0)));
    m_ui.pn_SexAge->setText(
        qt(at(patient.field(5), 0) + "/" +
           std::string(common::TrimBlanks(common::AgeText(at(patient.field(4), 0), common::Today())))));
    m_ui.pn_TelNo->setText(qt("(집)" + common::FmtPhoneNo(at(patient.field(6), 0)) + " (HP)" +
                              common::FmtPhoneNo(at(patient.field(8), 0))));
    m_ui.pn_ZipCd->setText(qt(at(patient.field(10), 0)));
    m_ui.pn_Address->setText(qt(" " + at(patient.field(11), 0)));
    m_ui.pn_birthdate->setText(qt(at(patient.field(4), 0)));
}

void TMDG300F1::bbt_MdHSearchClick()
{
    const std::string patno = patientNumber();
    if (patno.empty()) {
        middleware::PlainMessage("환자번호를 기입해주세요.");
        return;
    }
    if (common::TrimBlanks(m_ui.pn_PatName->text().toStdString()).empty()) {
        middleware::PlainMessage("환자가 선택되지 않았습니다.\r\n환자를 선택해주세요!");
        return;
    }

    setStatusText({});
    clearBody(*m_ui.ugd_History);
    clearBody(*m_ui.ugd_RecodKnd);
    clearBody(*m_ui.ugd_RecodDt);

    services::Hmdrecott history;
    int visits = 0;
    {
        middleware::BusyCursor busy;
        visits = history.ListHistory(patno, kHistoryType, kHistoryFrom);
    }
    if (visits < 0) {
        middleware::ShowTuxMessage(m_ui.stb_Message);
        return;
    }
    if (visits == 0) {
        setStatusText("해당 자료가 한건도 존재하지 않습니다.");
        return;
    }

    // Only visits with records are listed, numbered in the service's order.
    common::TUltraGrid &grid = *m_ui.ugd_History;
    const int first = grid.fixedRows();
    grid.setRowCount(first + visits);
    int listed = 0;
    bool failed = false;
    {
        middleware::BusyCursor busy;
        services::Hmdrecodt kinds;
        for (int i = 0; i < visits; ++i) {
            const std::string &visit = at(history.visit, i);
            const int found = kinds.ListRecodKnd(kKindType, patno, visit);
            if (found < 0) {
                failed = true;
                break;
            }
            if (found == 0)
                continue;
            const int row = first + listed++;
            grid.setCell(0, row, std::to_string(listed));
            grid.setCell(1, row, common::FmtDateTimeHM(visit));
        }
    }
    if (failed) {
        middleware::ShowTuxMessage(m_ui.stb_Message);
        return;
    }

    if (listed > 0)
        grid.setRowCount(first + listed);
    setStatusText(rowsFound(listed));
    if (listed == 0)
        return;
    common::SortGridRows(grid, first, first + listed - 1, true, 1);
    grid.setRow(first);
    ugd_HistoryClick();
}

void TMDG300F1::ugd_HistoryClick()
{
    setStatusText({});
    clearBody(*m_ui.ugd_RecodKnd);
    clearBody(*m_ui.ugd_RecodDt);

    const common::TUltraGrid &history = *m_ui.ugd_History;
    const std::string visitDate = common::UnFmtDate(history.cell(1, history.row()).substr(0, 10));
    // An empty row is no visit: nothing to ask the service about.
    if (visitDate.empty())
        return;

    services::Hmdrecodt kinds;
    int found = 0;
    {
        middleware::BusyCursor busy;
        found = kinds.ListRecodKnd(kKindType, patientNumber(), visitDate);
    }
    common::TUltraGrid &grid = *m_ui.ugd_RecodKnd;
    const int first = grid.fixedRows();
    if (found < 0) {
        middleware::ShowTuxMessage(m_ui.stb_Message);
    } else if (found > 0) {
        grid.edit([&](common::GridData &data) {
            data.setRowCount(first + found);
            for (int i = 0; i < found; ++i)
                data.setRowCells(
                    first + i, {at(kinds.kind(1), i), at(kinds.kind(3), i), visitDate, at(kinds.kind(2), i)});
        });
    }

    if (!common::TrimBlanks(grid.cell(0, first)).empty()) {
        grid.setRow(first);
        ugd_RecodKndClick();
    }
    // Keys walking the visit list stay in it; a click or the search hands the keyboard on.
    if (!history.keyboardMove())
        grid.setFocus(Qt::OtherFocusReason);
}

void TMDG300F1::ugd_RecodKndClick()
{
    const common::TUltraGrid &kindGrid = *m_ui.ugd_RecodKnd;
    const int kindRow = kindGrid.row();
    const std::string kindCode = kindGrid.cell(3, kindRow);
    if (common::TrimBlanks(kindCode).empty())
        return;

    common::TUltraGrid &grid = *m_ui.ugd_RecodDt;
    setStatusText({});
    clearBody(grid);
    clearTitles(grid);
    common::ClearGrid(*m_ui.ugd_Temp, 20);
    m_recodKnd = kindCode;

    services::Hmdrecodt records;
    int found = 0;
    {
        middleware::BusyCursor busy;
        found = records.ListRecodDt(kindCode, patientNumber(), kindGrid.cell(2, kindRow));
    }
    if (found < 0) {
        middleware::ShowTuxMessage(m_ui.stb_Message);
        return;
    }
    if (found == 0)
        return;

    grid.edit([&](common::GridData &data) {
        const int first = data.fixedRows();
        data.setRowCount(first + found);
        for (int i = 0; i < found; ++i) {
            std::vector<std::string> cells;
            for (int field = 1; field <= 5; ++field)
                cells.push_back(at(records.list(field), i));
            for (int field = 7; field <= 11; ++field)
                cells.push_back(at(records.list(field), i));
            data.setRowCells(first + i, std::move(cells));
            // Each row carries the title line; the last row's stays.
            data.setTitle(at(records.list(6), i));
        }
    });
    setStatusText(rowsFound(found));
}

void TMDG300F1::combx_RoomChange()
{
    m_ui.combx_RoomCd->setCurrentIndex(m_ui.combx_Room->currentIndex());
    const std::string wardCode(common::TrimBlanks(m_ui.combx_RoomCd->currentText().toStdString()));
    if (wardCode.empty())
        return;
    m_ui.combx_roomno->clear();

    common::CodeList rooms;
    int found = 0;
    {
        middleware::BusyCursor busy;
        found = services::ListWardRooms(wardCode, rooms);
    }
    if (found < 0) {
        middleware::ShowTuxMessage(m_ui.stb_Message);
        return;
    }
    if (found == 0) {
        setStatusText("조회된 자료가 없습니다.");
        return;
    }
    for (const std::string &room : rooms.codes())
        m_ui.combx_roomno->addItem(qt(room));
}

} // namespace medrec::app
