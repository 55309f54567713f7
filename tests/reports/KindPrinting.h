#pragma once

// Printing a record kind the way the print run does, with no test framework: the real
// medrec-server program with data sets imported, a client session on it, the screen's
// context for one record, and the kind's block, one laid-out document and its PDF. The
// record-kind tests and the record kinds benchmark both print through these.

#include "PrintContext.h"
#include "PrintJob.h"
#include "TestSupport.h"

#include "report_engine/Layout.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace medrec::testing {

// What one print of a kind came to.
struct KindPrint
{
    std::optional<reports::NotPrinted> refused; // set when the block printed nothing
    std::optional<engine::Document> document;   // the laid-out pages
    reports::PrintedSummary summary;
    std::optional<reports::HistoryRow> history; // the row the print run writes; none for some kinds
    std::string status;                         // what the print run says on the status line
    std::filesystem::path pdf; // the PDF written
    std::filesystem::path layoutRecord; // its layout record, the laid-out pages as text
    std::string failure;       // what a throwing block or layout said
    std::string fault;         // a kind that is not built, or a PDF or layout record not written

    bool printed() const { return document.has_value() && !pdf.empty(); }
};

// Seconds each step of a print took.
struct PrintTimes
{
    double block = 0;  // the kind's block: its service calls, staging the rows, loading its forms
    double layout = 0; // the job's reports run into one document, their callbacks included
    double output = 0; // the document painted into its PDF file
};

// The demo data set (data/demo/demo.json).
std::string DemoData();

// medrec-server on a fresh database with the data sets imported in order. Throws
// std::runtime_error when it does not start or an import is refused.
std::unique_ptr<ServerProcess> StartServerWith(const std::vector<std::string> &dataSets,
                                               ServerProcessOptions options = {});

// Joins the server as the client does, with a site environment file written into `dir`.
// Empty on success, else what went wrong; TuxTerm ends the session.
std::string JoinServer(const std::string &dir, unsigned short port);

// The cells of record `index` (0-based) of the kind in the patient's visit day (YYYYMMDD), as
// the screen's record list holds them (columns 0 .. 9); nullopt when there is no such record.
std::optional<reports::RowCells> RecordListRow(const std::string &kind, const std::string &patNo,
                                               const std::string &visitDate, int index);

// A context with that record selected, the screen's panels filled as the screen fills them
// from "MD_PATBA_L2" (the sex/age panel counts to Today()), and the visit row of that day
// (YYYYMMDD: its newest visit; YYYYMMDDHHNN names one of several) with the record-kind row's
// visit date.
reports::PrintContext ContextFor(reports::RowCells record, const std::string &patNo,
                                 const std::string &visitDate);

// What a shell command writes to its standard output.
std::string CommandOutput(const std::string &command);

// The text without blanks, tabs, line and page breaks: how printed texts are compared with
// what pdftotext reads back, which spaces captions its own way.
std::string WithoutBlanks(const std::string &text);

// Runs the kind's block, lays its job out (print time 2026-12-09 14:30:05) and prints it where
// MEDREC_PRINT_TO says. Fills `times` when given.
KindPrint PrintKind(const std::string &kind, reports::PrintContext &context, PrintTimes *times = nullptr);

} // namespace medrec::testing
