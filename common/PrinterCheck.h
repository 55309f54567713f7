#pragma once

// Whether a print can go anywhere, asked before every print run.

namespace medrec::common {

// False when a print can go somewhere: the electronic-copy directory of MEDREC_PRINT_TO
// ("pdf:DIR") or, with the variable unset, the printing system's default printer.
// Otherwise shows the plain message "프린터가 제대로 설치되었는지 확인하시기 바랍니다."
// and returns true; the caller only stops. A malformed MEDREC_PRINT_TO counts as missing,
// so a misspelt setting never sends records to paper unnoticed.
bool PrinterMissing();

} // namespace medrec::common
