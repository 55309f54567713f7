#pragma once

// The delivery-room records' tests (the newborn delivery record and the obstetric record): the
// demo data and the data set of their faults on one medrec-server, today fixed.

#include "RecordKindFixture.h"

#include "Clock.h"

namespace medrec::testing {

class DeliveryRoomTest : public RecordKindTest
{
protected:
    static void SetUpTestSuite()
    {
        s_server = StartServerWith({demoData(), testData("delivery-obstetric-faults.json")});
    }
    static void TearDownTestSuite() { StopServer(); }

    common::FixedToday m_today{common::Date{std::chrono::year{2026} / 12 / 9}};
};

} // namespace medrec::testing
