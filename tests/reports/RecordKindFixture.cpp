#include "RecordKindFixture.h"

#include "TuxCom.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/wait.h>

namespace medrec::testing {

std::unique_ptr<ServerProcess> RecordKindTest::s_server;

void RecordKindTest::StartServer(const std::string &json) { s_server = StartServerWith({json}); }

void RecordKindTest::StopServer() { s_server.reset(); }

void RecordKindTest::SetUp()
{
    ASSERT_TRUE(s_server) << "the suite starts the server in SetUpTestSuite";
    setenv("MEDREC_PRINT_TO", ("pdf:" + m_out.path()).c_str(), 1);
    const std::string joined = JoinServer(m_out.path(), s_server->port());
    ASSERT_TRUE(joined.empty()) << joined;
}

void RecordKindTest::TearDown()
{
    middleware::TuxTerm();
    unsetenv("MEDREC_PRINT_TO");
}

reports::RowCells RecordKindTest::recordRow(const std::string &kind, const std::string &patNo,
                                            const std::string &visitDate, int index)
{
    auto row = RecordListRow(kind, patNo, visitDate, index);
    EXPECT_TRUE(row) << "no record " << index << " of " << kind << " for " << patNo << " on " << visitDate;
    return row.value_or(reports::RowCells());
}

reports::PrintContext RecordKindTest::contextFor(const std::string &kind, const std::string &patNo,
                                                 const std::string &visitDate, int index)
{
    return ContextFor(recordRow(kind, patNo, visitDate.substr(0, 8), index), patNo, visitDate);
}

KindPrint RecordKindTest::print(const std::string &kind, reports::PrintContext &context)
{
    KindPrint result = PrintKind(kind, context);
    if (!result.fault.empty())
        ADD_FAILURE() << result.fault;
    return result;
}

std::string RecordKindTest::testData(const std::string &file)
{
    std::ifstream in(std::string(MEDREC_TEST_DATA) + "/" + file, std::ios::binary);
    std::stringstream json;
    json << in.rdbuf();
    return json.str();
}

std::string RecordKindTest::withoutBlanks(const std::string &text) { return WithoutBlanks(text); }

std::vector<std::string> RecordKindTest::pdfPages(const std::filesystem::path &pdf, PdfText text)
{
    const std::string layout = text == PdfText::LaidOut ? "-layout " : "";
    const std::string all = commandOutput("pdftotext " + layout + "-enc UTF-8 '" + pdf.string() + "' -");
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (auto ff = all.find('\f'); ff != std::string::npos; ff = all.find('\f', start)) {
        pages.push_back(withoutBlanks(all.substr(start, ff - start)));
        start = ff + 1;
    }
    return pages;
}

void RecordKindTest::expectNothingLost(const KindPrint &print)
{
    if (print.document)
        for (const auto &warning : print.document->warnings)
            ADD_FAILURE() << warning.message;
}

int RecordKindTest::batch(const std::string &args, const std::string &pdfDir)
{
    const std::string env = writeSiteEnvironment(m_out.path(), "127.0.0.1", s_server->port());
    std::filesystem::create_directories(pdfDir);
    const std::string command = "MEDREC_ENV_FILE='" + env + "' MEDREC_PRINT_TO='pdf:" + pdfDir +
                                "' MEDREC_BATCH_USER=COURT '" MEDREC_BATCH_PROGRAM "' " + args + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> RecordKindTest::historyLines()
{
    const std::string out =
        commandOutput("'" + serverProgramPath() + "' history --db '" + s_server->databasePath() + "' 2>&1");
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    if (!lines.empty())
        lines.erase(lines.begin()); // the header line
    return lines;
}

void ExpectNothingFound(const KindPrint &result, const std::string &status)
{
    ASSERT_TRUE(result.refused.has_value()) << result.failure;
    EXPECT_EQ(result.refused->reason, reports::NotPrinted::Reason::NothingFound);
    EXPECT_EQ(result.refused->notice.channel, reports::Notice::Channel::Status);
    EXPECT_EQ(result.refused->notice.text, status);
    EXPECT_FALSE(result.document.has_value());
    EXPECT_TRUE(result.pdf.empty());
}

} // namespace medrec::testing
