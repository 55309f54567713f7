// The print button of the main screen.

#include "MDG300U1.h"

namespace medrec::app {

// The print run plugs in here: it prints the record selected in ugd_RecodDt as the paper
// form of selectedRecordKind() and writes its print-history row. Until it is there the
// button does nothing.
void TMDG300F1::bbt_PrintClick() {}

} // namespace medrec::app
