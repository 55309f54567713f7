#pragma once

#include "report_engine/Layout.h"

#include <filesystem>
#include <string>

// The layout record of a print: its laid-out pages as dumpDocument writes them (the text the
// golden tests compare), kept with the copy so that what was released can be searched, checked
// and compared with a reprint (LayoutCompare.h). printDocument (Printing.h) says where it goes.

namespace medrec::engine {

inline constexpr const char* kLayoutRecordExtension = ".layout.txt";

// MEDREC_LAYOUT_RECORDS: the folder that receives the layout record of every print, paper
// prints included; empty when unset.
std::filesystem::path layoutRecordFolderFromEnvironment();

// "<name>.layout.txt" beside "<name>.pdf".
std::filesystem::path layoutRecordBeside(const std::filesystem::path& pdf);

// Writes the document's layout record to `file`, whole or not at all: a reader never sees half
// a record, and a file already there is replaced only by a complete one. Empty on success, else
// what went wrong.
std::string writeLayoutRecord(const Document& document, const std::filesystem::path& file);

} // namespace medrec::engine
