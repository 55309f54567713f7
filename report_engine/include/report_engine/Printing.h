#pragma once

#include "report_engine/Layout.h"

#include <filesystem>
#include <optional>
#include <string>

class QWidget;

namespace medrec::engine {
class PrintProgress;
}

// Printing a laid-out document: to the system's default printer (one copy, a progress window,
// no preview), or — when MEDREC_PRINT_TO=pdf:DIR is set — to one PDF file per document in DIR.
// Every print that went out leaves its layout record (LayoutRecord.h): in the folder
// MEDREC_LAYOUT_RECORDS names, else beside its PDF; a paper print without that folder leaves none.

namespace medrec::engine {

struct PrintTarget {
    enum class Kind { DefaultPrinter, PdfDirectory, Invalid } kind = Kind::DefaultPrinter;
    std::filesystem::path directory; // PdfDirectory
    std::string error;               // Invalid: what is wrong with the setting
};

// Reads a MEDREC_PRINT_TO value: empty/unset -> default printer; "pdf:DIR" -> PDF files in DIR;
// anything else is Invalid (so a misspelt setting never sends records to paper unnoticed).
PrintTarget parsePrintTarget(const char* value);
PrintTarget printTargetFromEnvironment();

// Whether a print can go anywhere: a valid MEDREC_PRINT_TO, else a default printer of the
// print system (QPrinterInfo).
bool printerAvailable();

struct PrintRequest {
    std::string kind;      // record kind code, e.g. "MDOPRECT" (names the PDF file)
    std::string patientNo; // names the PDF file
    QWidget* parent = nullptr; // of the progress window
    bool showProgress = true;  // shown only when a QApplication (widgets) runs
    // The window that counted the pages while they were laid out; when null the print opens
    // its own (with `parent` and `showProgress`).
    PrintProgress* progress = nullptr;
};

struct PrintResult {
    bool ok = false;
    std::string error;
    std::filesystem::path pdfFile; // the file written when printing to a PDF directory
    std::string printer;           // the printer's name when printing to the default printer
    int pages = 0;
    // The layout record written, or why it could not be (the print itself went out: `ok`).
    std::filesystem::path layoutRecord;
    std::string layoutRecordError;
};

// "<yyyyMMdd-HHmmss>_<kind>_<patient>.pdf"; kind and patient reduced to [A-Za-z0-9_-].
std::string pdfFileName(const std::string& stamp, const std::string& kind, const std::string& patientNo);

// Creates a new, unique file for the document in `dir` (a "-2", "-3", ... suffix when a print of
// the same second already took the name) and returns its path; empty with `error` set on failure.
std::filesystem::path reservePdfFile(const std::filesystem::path& dir, const std::string& kind,
                                     const std::string& patientNo, std::string& error);

// Prints the document where MEDREC_PRINT_TO says, then keeps its layout record. Blocks until
// the document is spooled.
PrintResult printDocument(const Document& document, const PrintRequest& request);

} // namespace medrec::engine
