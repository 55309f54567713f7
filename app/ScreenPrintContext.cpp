#include "ScreenPrintContext.h"

#include "UltraGrid.h"

#include <QLabel>
#include <QLineEdit>

namespace medrec::app {

namespace {

std::string currentCell(const common::TUltraGrid &grid, int col)
{
    if (col < 0 || col >= grid.colCount())
        return {};
    return grid.cell(col, grid.row());
}

std::string text(const QLabel *label) { return label->text().toStdString(); }

} // namespace

std::string ScreenPrintContext::recordCell(int col) const { return currentCell(*m_ui.ugd_RecodDt, col); }
std::string ScreenPrintContext::visitCell(int col) const { return currentCell(*m_ui.ugd_History, col); }
std::string ScreenPrintContext::kindCell(int col) const { return currentCell(*m_ui.ugd_RecodKnd, col); }

reports::PatientPanels ScreenPrintContext::patient() const
{
    return {m_ui.ed_PatNo->text().trimmed().toStdString(), text(m_ui.pn_PatName), text(m_ui.pn_SexAge),
            text(m_ui.pn_ResNo), text(m_ui.pn_birthdate)};
}

common::TUltraGrid &ScreenPrintContext::scratch(reports::ScratchGrid grid)
{
    switch (grid) {
    case reports::ScratchGrid::AllList: return *m_ui.ugd_AllList;
    case reports::ScratchGrid::List: return *m_ui.ugd_List;
    case reports::ScratchGrid::PrintList: return *m_ui.ugd_PrintList;
    case reports::ScratchGrid::Temp: break;
    }
    return *m_ui.ugd_Temp;
}

void ScreenPrintContext::setSummary(const reports::PrintedSummary &summary)
{
    const std::pair<QLabel *, const std::string *> labels[] = {
        {m_ui.lb_patno, &summary.patno},       {m_ui.lb_meddate, &summary.meddate},
        {m_ui.lb_dschdate, &summary.dschdate}, {m_ui.lb_patgubun, &summary.patgubun},
        {m_ui.lb_meddept, &summary.meddept},   {m_ui.lb_chadr, &summary.chadr},
    };
    for (const auto &[label, value] : labels)
        label->setText(QString::fromStdString(*value));
}

} // namespace medrec::app
