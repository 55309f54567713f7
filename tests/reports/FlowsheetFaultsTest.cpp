// Flowsheet records the service delivers with faults: a shift outside 1 to 3, a volume that is
// not a number, a blood-sugar reading at no time of day. Each stops the print with a message
// naming the day; nothing prints and no history row is written.
#include "FlowsheetTestSupport.h"

#include <gtest/gtest.h>


using namespace medrec;
namespace mt = medrec::testing;

namespace {

class FlowsheetFaults : public mt::RecordKindTest
{
protected:
    static void SetUpTestSuite() { StartServer(testData("flowsheet-faults.json")); }
    static void TearDownTestSuite() { StopServer(); }
};

TEST_F(FlowsheetFaults, EachFaultStopsThePrintWithItsDayNamed)
{
    const struct
    {
        const char *kind;
        int record;
        const char *message;
    } cases[] = {
        {"MDIOCHKT_IO", 0,
         "2023-01-03 자료의 근무조 \"4\"이(가) 1, 2, 3 중 하나가 아니어서 섭취 및 배설량기록을 출력하지 "
         "않았습니다."},
        {"MDIOCHKT_IO", 1,
         "2023-01-04 근무조 2의 배뇨 값 \"약 250\"은(는) 숫자가 아니어서 섭취 및 배설량기록을 출력하지 "
         "않았습니다."},
        {"MDIOCHKT_BS", 0,
         "2023-01-03 혈당 측정 시각 \"25:10\"이(가) 00:00 ~ 24:00 밖이어서 출력하지 않았습니다."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        auto context = contextFor(c.kind, "00009101", "20230102", c.record);
        const mt::KindPrint result = print(c.kind, context);
        ASSERT_TRUE(result.refused.has_value()) << result.failure;
        EXPECT_EQ(result.refused->reason, reports::NotPrinted::Reason::Refused);
        EXPECT_EQ(result.refused->notice.channel, reports::Notice::Channel::Box);
        EXPECT_EQ(result.refused->notice.text, c.message);
        EXPECT_FALSE(result.printed());
    }
    EXPECT_TRUE(historyLines().empty());
}

} // namespace
