// The vital-sign sheet printed from the demo data on a real medrec-server: every caption and
// measurement in the PDF, the patient block and the column captions on the first page only.
#include "FlowsheetTestSupport.h"

#include "Hmdrecodt.h"

#include <gtest/gtest.h>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

class VitalSigns : public mt::FlowsheetTest
{
};

// The measurements as the service delivers them, ten cells a row.
std::vector<std::vector<std::string>> measurements(const reports::RowCells &record)
{
    services::Hmdrecodt data;
    const int rows = data.GetRecodData("MDVITALT", record[0], record[1], "", "", "");
    std::vector<std::vector<std::string>> out;
    for (int i = 0; i < rows; ++i) {
        std::vector<std::string> row;
        for (int field = 1; field <= 10; ++field) {
            // A field's empties after its last value do not travel: past it, empty text.
            const auto &values = data.data(field);
            const auto at = static_cast<std::size_t>(i);
            row.push_back(at < values.size() ? values[at] : std::string());
        }
        out.push_back(row);
    }
    return out;
}

TEST_F(VitalSigns, PrintsEveryMeasurementWithTheHeaderOnTheFirstPageOnly)
{
    auto context = flowsheet("MDVITALT", "00001234", "20180514");
    const auto rows = measurements(context.record);
    ASSERT_EQ(rows.size(), 64u);
    const mt::KindPrint result = printAndRecord("MDVITALT", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_TRUE(result.document->warnings.empty());

    const auto pages = pdfPages(result.pdf);
    ASSERT_EQ(pages.size(), 2u);
    const std::string &first = pages[0];
    for (const char *caption : {"VS 측정결과", "SEON MEDICAL CENTER", "환자번호", "주민번호", "SEX/AGE",
                                "진 료 과", "주 치 의", "병동/병실", "측 정 일 시", "체온", "맥박", "호흡",
                                "수축기 혈압", "이완기 혈압", "STOOL", "STOOL 상태", "SAT", "의식"}) {
        SCOPED_TRACE(caption);
        EXPECT_TRUE(mt::Shows(first, caption));
        EXPECT_FALSE(mt::Shows(pages[1], caption));
    }
    for (const char *value :
         {"00001234", "김민준", "790312-1******", "M/47세", "외과", "이정훈", "71/7103"}) {
        SCOPED_TRACE(value);
        EXPECT_TRUE(mt::Shows(first, value));
        EXPECT_FALSE(mt::Shows(pages[1], value));
    }
    EXPECT_TRUE(mt::PrintsText(*result.document, 1, "이    름"));
    // Each measurement is one table line, its ten cells in the order of the captions.
    const char *labels[] = {"qrlb_Date1",  "qrlb_Weight1", "qrlb_Height1", "qrlb_Item11", "qrlb_Item21",
                            "qrlb_Item31", "QRLabel13",    "QRLabel14",    "qrlb_Date2",  "qrlb_Weight2"};
    std::vector<std::string> expected;
    for (const auto &row : rows) {
        std::string line;
        for (std::size_t col = 0; col < row.size(); ++col)
            if (!row[col].empty())
                line += (line.empty() ? "" : "|") + std::string(labels[col]) + "=" + row[col];
        expected.push_back(line);
    }
    const auto lines = mt::BandLines(*result.document, "QRBand2");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_GT(lines[0].size(), 30u);
    std::vector<std::string> printed = lines[0];
    printed.insert(printed.end(), lines[1].begin(), lines[1].end());
    EXPECT_EQ(printed, expected);
    for (const auto &line : expected) {
        const std::string date = line.substr(std::string("qrlb_Date1=").size(), 16);
        SCOPED_TRACE(date);
        EXPECT_EQ(mt::TimesShown(pages[0] + pages[1], date), 1);
    }

    EXPECT_EQ(result.summary.patno, "00001234");
    EXPECT_EQ(result.summary.meddate, "20180514");
    EXPECT_EQ(result.summary.dschdate, "20180519");
    EXPECT_EQ(result.summary.meddept, "외과");
    EXPECT_EQ(result.summary.patgubun, "I");
    EXPECT_EQ(result.summary.chadr, "이정훈");
}

TEST_F(VitalSigns, AnEarlierPrintsLinesNeverShow)
{
    auto context = flowsheet("MDVITALT", "00001302", "20160905");
    // Lines an earlier print left in the scratch table, further down than this record reaches.
    mt::FillWithStale(context.scratch.allList, 200, 12);
    const mt::KindPrint result = print("MDVITALT", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    const auto pages = pdfPages(result.pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_FALSE(mt::Shows(pages[0], "STALE"));
    EXPECT_EQ(mt::TimesShown(pages[0], ":00"), static_cast<int>(measurements(context.record).size()));
}

TEST_F(VitalSigns, NoMeasurementsOrAFailedCallPrintNothing)
{
    reports::PrintContext none;
    none.record = reports::RowCells({"00001234", "19990101", "", "외과", "이정훈", "I", "71/7103"});
    mt::KindPrint result = print("MDVITALT", none);
    mt::ExpectNothingFound(result, "");

    const std::size_t history = historyLines().size();
    reports::PrintContext failing;
    failing.record = reports::RowCells({std::string(300, '9'), "20180514"});
    result = print("MDVITALT", failing);
    ASSERT_TRUE(result.refused.has_value());
    EXPECT_EQ(result.refused->reason, reports::NotPrinted::Reason::ServiceFailed);
    EXPECT_EQ(historyLines().size(), history);
}

} // namespace
