#include "BatchJob.h"

#include "MDG300U1.h"

#include "TStatusBar.h"
#include "UltraGrid.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <charconv>
#include <iostream>

namespace medrec::app {

namespace {

bool isDigits(const std::string &s)
{
    return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

// Body rows of a grid whose first cell is filled.
std::vector<int> filledRows(const common::TUltraGrid &grid)
{
    std::vector<int> rows;
    for (int r = grid.fixedRows(); r < grid.rowCount(); ++r)
        if (!grid.cell(0, r).empty())
            rows.push_back(r);
    return rows;
}

void reportStatus(const TMDG300F1 &screen)
{
    const QString status = screen.statusBarPanel()->panelText();
    if (!status.isEmpty())
        std::cerr << "status: " << status.toStdString() << '\n';
}

std::string digitsOf(const std::string &s)
{
    std::string out;
    for (char c : s)
        if (c >= '0' && c <= '9')
            out.push_back(c);
    return out;
}

void printSelected(TMDG300F1 &screen, BatchResult &result)
{
    const auto &grid = *screen.controls().ugd_RecodDt;
    const std::string label = screen.selectedRecordKind() + " " + grid.cell(1, grid.row()) + "/" +
                              grid.cell(2, grid.row());
    const PrintOutcome outcome = screen.PrintSelectedRecord();
    // Where a print went, what the print left empty, or the text of a failed service or history
    // write.
    reportStatus(screen);
    if (outcome == PrintOutcome::Printed) {
        ++result.printed;
        std::cerr << "printed: " << label << '\n';
    } else {
        ++result.failed;
        std::cerr << (outcome == PrintOutcome::NotPrinted              ? "not printed: "
                      : outcome == PrintOutcome::PrintedWithoutHistory ? "printed without history row: "
                                                                       : "printed without layout record: ")
                  << label << '\n';
    }
}

// Prints the records of the kind now listed: all of them, or the one asked for.
void printKind(TMDG300F1 &screen, const BatchJob &job, BatchResult &result)
{
    auto &records = *screen.controls().ugd_RecodDt;
    const std::vector<int> rows = filledRows(records);
    if (rows.empty()) {
        std::cerr << "no records of " << screen.selectedRecordKind() << '\n';
        ++result.failed;
        return;
    }
    if (!job.all) {
        const int index = job.record > 0 ? job.record - 1 : 0;
        if (index >= static_cast<int>(rows.size())) {
            std::cerr << "record " << job.record << " not found; the list has " << rows.size() << '\n';
            ++result.failed;
            return;
        }
        records.setRow(rows[static_cast<std::size_t>(index)]);
        printSelected(screen, result);
        return;
    }
    for (int row : rows) {
        records.setRow(row);
        printSelected(screen, result);
    }
}

} // namespace

bool ParseBatchArguments(const std::vector<std::string> &args, BatchJob *job, std::string *error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        auto value = [&](const char *what) -> const std::string * {
            if (i + 1 >= args.size()) {
                *error = a + " needs " + what;
                return nullptr;
            }
            return &args[++i];
        };
        if (a == "--all") {
            job->all = true;
        } else if (a == "--layout-records") {
            const std::string *v = value("a folder");
            if (!v)
                return false;
            if (v->empty()) {
                *error = "--layout-records needs a folder";
                return false;
            }
            job->layoutRecords = *v;
        } else if (a == "--visit" || a == "--kind" || a == "--record") {
            const std::string *v = value(a == "--visit" ? "a date" : a == "--kind" ? "a record kind code" : "a number");
            if (!v)
                return false;
            if (a == "--visit")
                job->visit = digitsOf(*v);
            else if (a == "--kind")
                job->kind = *v;
            else if (!isDigits(*v) || std::from_chars(v->data(), v->data() + v->size(), job->record).ec != std::errc() ||
                     job->record < 1) {
                *error = "--record needs a row number from 1";
                return false;
            }
        } else if (!a.empty() && a[0] == '-') {
            *error = "unknown option " + a;
            return false;
        } else if (job->patientNo.empty()) {
            job->patientNo = a;
        } else {
            *error = "one patient number only";
            return false;
        }
    }
    if (!isDigits(job->patientNo)) {
        *error = "a patient number (digits) is required";
        return false;
    }
    if (job->all && (!job->kind.empty() || job->record)) {
        *error = "--all prints every record of the visit: no --kind or --record with it";
        return false;
    }
    if (!job->visit.empty() && job->visit.size() != 8 && job->visit.size() != 12) {
        *error = "--visit takes YYYYMMDD or YYYYMMDDHHNN";
        return false;
    }
    return true;
}

BatchResult RunBatchJob(TMDG300F1 &screen, const BatchJob &job)
{
    BatchResult result;
    const MDG300Controls &ui = screen.controls();
    ui.ed_PatNo->setText(QString::fromStdString(job.patientNo));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(ui.ed_PatNo, &enter);

    const std::vector<int> visits = filledRows(*ui.ugd_History);
    if (ui.pn_PatName->text().isEmpty() || visits.empty()) {
        reportStatus(screen);
        std::cerr << "no visit with records for patient " << job.patientNo << '\n';
        ++result.failed;
        return result;
    }
    if (!job.visit.empty()) {
        int found = -1;
        for (int row : visits)
            if (digitsOf(ui.ugd_History->cell(1, row)).rfind(job.visit, 0) == 0)
                found = row;
        if (found < 0) {
            std::cerr << "no visit " << job.visit << " with records\n";
            ++result.failed;
            return result;
        }
        ui.ugd_History->setRow(found);
        screen.ugd_HistoryClick();
    }

    auto &kinds = *ui.ugd_RecodKnd;
    const std::vector<int> kindRows = filledRows(kinds);
    bool matched = false;
    for (int row : kindRows) {
        const std::string code = kinds.cell(3, row);
        if (!job.all && !(job.kind.empty() ? row == kindRows.front() : code == job.kind))
            continue;
        matched = true;
        kinds.setRow(row);
        screen.ugd_RecodKndClick();
        printKind(screen, job, result);
    }
    if (!matched) {
        std::cerr << "no record kind " << job.kind << " in this visit\n";
        ++result.failed;
    }
    return result;
}

} // namespace medrec::app
