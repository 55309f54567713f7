#pragma once

// The delivery-room records' tests (the newborn delivery record and the obstetric record): the
// demo data and the data set of their faults on one medrec-server, ages counted to 2026-12-09.

#include "NursingSheetTesting.h"

namespace medrec::testing {

class DeliveryRoomTest : public NursingSheetTest
{
protected:
    static void SetUpTestSuite()
    {
        s_server = StartServerWith({demoData(), testData("delivery-obstetric-faults.json")});
    }
};

} // namespace medrec::testing
