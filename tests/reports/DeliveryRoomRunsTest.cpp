// The delivery-room records (the newborn delivery record "MDBDINFT" and the obstetric record
// "MDOBDEPT") through the real print run, medrec-batch on a real medrec-server: one history row
// and one PDF for each record printed; a code that is not a number prints nothing and writes no
// row; no record tells the status line as the kind says; the host lists the services.
#include "DeliveryRoomFixture.h"

#include <gtest/gtest.h>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

class DeliveryRoomRuns : public mt::DeliveryRoomTest
{
protected:
    std::size_t pdfCount(const std::string &dir, std::size_t *pages = nullptr)
    {
        std::size_t count = 0;
        for (const auto &entry : std::filesystem::directory_iterator(dir))
            if (entry.path().extension() == ".pdf") {
                ++count;
                if (pages)
                    *pages = pdfPages(entry.path()).size();
            }
        return count;
    }
};

TEST_F(DeliveryRoomRuns, EachRecordPrintsAsOneDocumentWithOneHistoryRow)
{
    const struct
    {
        const char *kind;
        std::size_t pages;
    } cases[] = {{"MDBDINFT", 1}, {"MDOBDEPT", 2}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.kind);
        const std::string dir = m_out.file(std::string("batch-") + c.kind);
        const std::size_t before = historyLines().size();
        EXPECT_EQ(batch(std::string("4008 --visit 202305010500 --kind ") + c.kind, dir), 0);
        const auto lines = historyLines();
        ASSERT_EQ(lines.size(), before + 1);
        EXPECT_NE(lines[0].find(std::string("\t00004008\t20230501\tempty\tempty\tempty\t") + c.kind + "\tCOURT\t"),
                  std::string::npos)
            << lines[0];
        std::size_t pages = 0;
        EXPECT_EQ(pdfCount(dir, &pages), 1u);
        EXPECT_EQ(pages, c.pages); // the obstetric record's two reports in one document
    }
}

TEST_F(DeliveryRoomRuns, ACodeThatIsNotANumberStopsThePrintNamingItsField)
{
    const struct
    {
        const char *kind, *admission, *visit, *message;
    } cases[] = {
        {"MDBDINFT", "20230720", "202307200800", "출력하지 못했습니다. S_DATE2 값이 숫자가 아닙니다: '1점'"},
        {"MDOBDEPT", "20230610", "202306100800", "출력하지 못했습니다. S_STRING35 값이 숫자가 아닙니다: '불규칙'"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.kind);
        const std::size_t before = historyLines().size();
        const auto printed = printAdmission(c.kind, "00009201", c.admission);
        EXPECT_FALSE(printed.document.has_value());
        EXPECT_TRUE(printed.pdf.empty());
        EXPECT_EQ(printed.failure, c.message);

        // The real print run: the box, nothing printed, no history row.
        const std::string dir = m_out.file(std::string("batch-fault-") + c.kind);
        EXPECT_EQ(batch(std::string("9201 --visit ") + c.visit + " --kind " + c.kind, dir), 1);
        EXPECT_EQ(historyLines().size(), before);
        EXPECT_EQ(pdfCount(dir), 0u);
    }
}

TEST_F(DeliveryRoomRuns, NoRecordTellsTheStatusLineAsTheKindSays)
{
    for (const auto &[kind, text] : std::vector<std::pair<std::string, std::string>>{
             {"MDBDINFT", ""}, {"MDOBDEPT", "조회할 자료가 없습니다."}}) {
        SCOPED_TRACE(kind);
        reports::PrintContext context;
        context.record = reports::RowCells({"00004008", "20230502"});
        const auto printed = print(kind, context);
        ASSERT_TRUE(printed.refused.has_value()) << printed.failure;
        EXPECT_EQ(printed.refused->reason, reports::NotPrinted::Reason::NothingFound);
        EXPECT_EQ(printed.refused->notice.channel, reports::Notice::Channel::Status);
        EXPECT_EQ(printed.refused->notice.text, text);
        EXPECT_FALSE(printed.document.has_value());
    }
}

TEST_F(DeliveryRoomRuns, TheHostListsTheServicesByTheFieldsTheClientSends)
{
    const std::string out = commandOutput("'" + mt::serverProgramPath() + "' services");
    EXPECT_NE(out.find("\nMD_BDINF_S1\tstored replies\tS_PATNO;S_ADMDATE\n"), std::string::npos) << out;
    EXPECT_NE(out.find("\nMD_OBDEP_L1\tstored replies\tS_TYPE1;S_TYPE2\n"), std::string::npos) << out;
}

} // namespace
