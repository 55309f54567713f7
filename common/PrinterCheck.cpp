#include "PrinterCheck.h"

#include "MsgCom.h"
#include "report_engine/Printing.h"

namespace medrec::common {

bool PrinterMissing()
{
    if (engine::printerAvailable())
        return false;
    middleware::PlainMessage("프린터가 제대로 설치되었는지 확인하시기 바랍니다.");
    return true;
}

} // namespace medrec::common
