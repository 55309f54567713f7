#pragma once

#include <filesystem>
#include <string>

// The files a print leaves: named after the print's time, record kind and patient, each a new
// file of its own.

namespace medrec::engine {

// "<stamp>_<kind>_<patient>"; kind and patient reduced to [A-Za-z0-9_-].
std::string printFileStem(const std::string& stamp, const std::string& kind, const std::string& patientNo);

// The stem of a print starting now.
std::string printFileStemNow(const std::string& kind, const std::string& patientNo);

// Creates `dir` when missing and a new, empty file "<stem><extension>" in it ("<stem>-2<extension>",
// "-3", ... when a print of the same second already took the name) and returns its path; empty
// with `error` set on failure. The file is created atomically, so two prints never share one.
std::filesystem::path createPrintFile(const std::filesystem::path& dir, const std::string& stem,
                                      const std::string& extension, std::string& error);

} // namespace medrec::engine
