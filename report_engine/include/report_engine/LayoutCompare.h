#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Comparing two layout records (the text dumpDocument writes, LayoutDump.h), so that a reprint
// can be checked against a copy released earlier: what differs, page by page and component by
// component. Positions and sizes are in tenths of a millimetre and count as equal within one
// tenth (rounding); the print date and time (`printTime` texts) never count.

namespace medrec::engine {

// One element line of a record, split into what is compared.
struct RecordElement {
    std::string kind;      // text, shape, line, image, barcode
    std::string band;      // "-" for none
    std::string component; // "-" for none
    std::optional<std::string> text; // texts and barcodes
    bool printTime = false;
    std::string fill; // shapes: "#RRGGBB" or "none"
    // Positions and sizes by name: "position" [left, top, width, height], "clip", "from", "to",
    // "x" (start of an aligned text).
    std::vector<std::pair<std::string, std::vector<long>>> geometry;
    std::string style; // everything else: face, size, weight, pen, picture size
    std::string line;  // as written, without its indent
};

struct RecordPage {
    std::string header;      // "number=1 paper=2100x2970 portrait"
    std::vector<long> body;  // the body rectangle
    std::vector<RecordElement> elements;
};

struct LayoutRecordText {
    std::string title;
    std::vector<RecordPage> pages;
    std::vector<std::string> warnings; // as written
};

// Reads a layout record; nullopt with `error` ("line 3: ...") when the text is not one.
std::optional<LayoutRecordText> parseLayoutRecord(std::string_view text, std::string& error);

// What differs between two records, one line each, in page order; empty when they are equal.
// An element of a page is paired with the one of the same kind, band and component (for an
// unnamed text, the same text) and the same place among those on its page in the other record.
//
//   pages: 2 -> 3
//   page 1 text QRBand1/qrl_telno1: text "031-582-5298" -> "031-582-0000"
//   page 1 shape QRBand1/qrs_sleep2: fill #000000 -> #FFFFFF
//   page 2 text DetailBand1/qrme_data #4: position [110,880 1800x37] -> [110,920 1800x37]
//   page 3 only in the second: text DetailBand1/qrme_data [110,140 1800x37] "굴림체" 9pt "..."
std::vector<std::string> compareLayoutRecords(const LayoutRecordText& first, const LayoutRecordText& second);

} // namespace medrec::engine
