#pragma once

// What the tests of every record kind share: the real medrec-server program on loopback
// with a data set imported into its SQLite file, a session open, and a print of a kind
// done the way the print run does it (block, one laid-out document, a PDF file, the
// history rows), with the print time fixed so page dumps are stable.

#include "KindPrinting.h"
#include "RecordingPresenter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace medrec::testing {

class RecordKindTest : public ::testing::Test
{
public:
    // The demo data set (data/demo/demo.json).
    static std::string demoData() { return DemoData(); }
    // A text as pdfPages gives the pages: blanks, tabs and line breaks removed.
    static std::string withoutBlanks(const std::string &text);

protected:
    // Starts medrec-server once for the suite and imports the data set into its database.
    static void StartServer(const std::string &json);
    static void StopServer();

    void SetUp() override;
    void TearDown() override;

    // The cells of record `index` (0-based) of the kind in the patient's visit, as the
    // screen's record list holds them (columns 0 .. 9).
    reports::RowCells recordRow(const std::string &kind, const std::string &patNo, const std::string &visitDate,
                                int index = 0);
    // A context with that record selected and the screen's panels filled as the screen fills
    // them from "MD_PATBA_L2" (the sex/age panel counts to Today()), and the visit row of that
    // day (YYYYMMDD: its newest visit; YYYYMMDDHHNN names one of several) with the record-kind
    // row's visit date.
    reports::PrintContext contextFor(const std::string &kind, const std::string &patNo, const std::string &visitDate,
                                     int index = 0);

    // Runs the kind's block, lays its job out (print time 2026-12-09 14:30:05) and prints
    // it to a PDF file.
    KindPrint print(const std::string &kind, reports::PrintContext &context);

    // A data set of the tests' own (tests/reports/<file>).
    static std::string testData(const std::string &file);

    // The PDF's pages as text, blanks removed (pdftotext spaces captions its own way). Laid
    // out, a caption with wide blanks stays on its line, whole.
    enum class PdfText { Raw, LaidOut };
    static std::vector<std::string> pdfPages(const std::filesystem::path &pdf, PdfText text = PdfText::Raw);

    // Fails the test for each layout warning of the print: a printed copy never loses text.
    static void expectNothingLost(const KindPrint &print);

    // What a shell command writes to its standard output.
    static std::string commandOutput(const std::string &command) { return CommandOutput(command); }

    // medrec-server history for the suite's database, one line a row.
    std::vector<std::string> historyLines();
    // medrec-batch with the arguments, on the suite's server as the user COURT, its documents
    // as PDF files in pdfDir; its exit status.
    int batch(const std::string &args, const std::string &pdfDir);

    static std::unique_ptr<ServerProcess> s_server;
    TempDir m_out;
    ScopedRecordingPresenter m_recorder;
};

// The block refused for want of rows, telling the status line `status`; nothing printed.
void ExpectNothingFound(const KindPrint &result, const std::string &status);

// The suites that print the demo data set's records.
class DemoRecordKindTest : public RecordKindTest
{
protected:
    static void SetUpTestSuite() { StartServer(demoData()); }
    static void TearDownTestSuite() { StopServer(); }
};

} // namespace medrec::testing
