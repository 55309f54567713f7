#include "ScreenPrintContext.h"

#include "UltraGrid.h"

#include <QLabel>
#include <QLineEdit>

namespace medrec::app {

namespace {

reports::RowCells currentRow(const common::TUltraGrid &grid) { return reports::RowCells(grid.data().rowCells(grid.row())); }

std::string text(const QLabel *label) { return label->text().toStdString(); }

void keep(common::TUltraGrid &grid, const common::GridData &table)
{
    grid.edit([&table](common::GridData &data) {
        // A block may stage more columns than the grid was made with (the transfusion
        // record's sixty): the grid widens rather than lose them.
        if (table.colCount() > data.colCount())
            data.setColCount(table.colCount());
        data.setRowCount(table.rowCount());
        for (int row = data.fixedRows(); row < table.rowCount(); ++row)
            data.setRowCells(row, table.rowCells(row));
    });
}

} // namespace

reports::PrintContext CapturePrintContext(const MDG300Controls &ui)
{
    reports::PrintContext context;
    context.record = currentRow(*ui.ugd_RecodDt);
    context.visit = currentRow(*ui.ugd_History);
    context.kind = currentRow(*ui.ugd_RecodKnd);
    context.patient = {ui.ed_PatNo->text().trimmed().toStdString(),
                       text(ui.pn_PatName),
                       text(ui.pn_SexAge),
                       text(ui.pn_ResNo),
                       text(ui.pn_birthdate),
                       text(ui.pn_Address)};
    return context;
}

void KeepScratchTables(const MDG300Controls &ui, const reports::ScratchTables &tables)
{
    keep(*ui.ugd_AllList, tables.allList);
    keep(*ui.ugd_List, tables.list);
    keep(*ui.ugd_PrintList, tables.printList);
    keep(*ui.ugd_Temp, tables.temp);
}

void ShowPrintedSummary(const MDG300Controls &ui, const reports::PrintedSummary &summary)
{
    const std::pair<QLabel *, const std::string *> labels[] = {
        {ui.lb_patno, &summary.patno},       {ui.lb_meddate, &summary.meddate},
        {ui.lb_dschdate, &summary.dschdate}, {ui.lb_patgubun, &summary.patgubun},
        {ui.lb_meddept, &summary.meddept},   {ui.lb_chadr, &summary.chadr},
    };
    for (const auto &[label, value] : labels)
        label->setText(QString::fromStdString(*value));
    ui.Label3->setText(QString::fromUtf8(summary.meddateCaption.empty() ? kMeddateCaption
                                                                          : summary.meddateCaption.c_str()));
}

} // namespace medrec::app
