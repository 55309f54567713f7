#pragma once

// Headless Chromium printing an HTML file to PDF, as a benchmark measures it: one program run
// from start to exit.

#include <filesystem>
#include <string>

namespace medrec::testing {

struct ChromiumPrintResult
{
    std::string error;  // empty when the PDF was written
    double seconds = 0; // from the start of the program to its exit, start-up included
    long peakRssKb = 0; // the largest of its processes
    int pages = 0;      // of the PDF written (pdfinfo)
};

// Runs `chromium` --headless --print-to-pdf on the file with the profile folder given (kept
// between runs, as a print service keeps its browser's). Stopped after two minutes.
ChromiumPrintResult PrintWithChromium(const std::string &chromium, const std::filesystem::path &html,
                                      const std::filesystem::path &pdf, const std::filesystem::path &profile);

} // namespace medrec::testing
