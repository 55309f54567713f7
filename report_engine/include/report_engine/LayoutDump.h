#pragma once

#include "report_engine/Layout.h"

#include <string>

// Laid-out pages as text, for golden files and for reading a layout in a failing test: one line
// per page and per element, positions and sizes in whole tenths of a millimetre. The same
// document gives the same text on every machine with the same fonts (no paths, no clocks: the
// print time comes from RunOptions::printTime).
//
//   document "수술기록" pages=2
//   page 1 number=1 paper=2100x2970 portrait body=[100,100 1900x2770]
//     text d/qlb_patno [120,345 500x46] "굴림체" 10pt bold right x=412 "00001234"
//     text PageFooterBand1/QRSysData2 [1500,2910 500x28] "굴림체" 7pt right x=1765 printTime "2026-12-09 14:30:05"
//     shape d/QRShape3 rect [0,0 50x50] fill=#000000 pen=3 #000000 solid
//     line d/- from=100,200 to=2000,200 pen=3 #000000 solid
//     image PageHeaderBand1/QRImage1 [110,290 390x120] 320x240px
//     barcode d/qlb_bar [100,100 300x80] "*1234*"
//   warning textCut form=qr_01 d/qlb_name page=1 "김세온 외 여러 명"
//
// Element lines name band/component ("-" for none) and add clip=[...] when drawing is cut;
// `printTime` marks a text that shows the print date or time, the one thing that differs
// between two prints of the same pages. The product keeps this text beside every print as its
// layout record (LayoutRecord.h), so it reads the same in a golden file and at a site.

namespace medrec::engine {

std::string dumpDocument(const Document& document);

} // namespace medrec::engine
