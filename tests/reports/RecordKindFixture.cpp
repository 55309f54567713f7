#include "RecordKindFixture.h"

#include "RecordKinds.h"
#include "ReportForms.h"

#include "DateText.h"
#include "HmdPatInf.h"
#include "Hmdrecott.h"
#include "TextHelpers.h"
#include "Hmdrecodt.h"
#include "Importer.h"
#include "TuxCom.h"

#include "report_engine/Printing.h"
#include "report_engine/ReportError.h"

#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace medrec::testing {

std::unique_ptr<ServerProcess> RecordKindTest::s_server;

namespace {

std::string readAll(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

std::string RecordKindTest::demoData() { return readAll(MEDREC_DEMO_DATA); }

void RecordKindTest::StartServer(const std::string &json)
{
    s_server = std::make_unique<ServerProcess>();
    sqlite3 *db = nullptr;
    sqlite3_open(s_server->databasePath().c_str(), &db);
    const auto imported = server::store::importJson(db, json);
    sqlite3_close(db);
    if (!imported.ok)
        throw std::runtime_error("import: " + imported.error);
}

void RecordKindTest::StopServer() { s_server.reset(); }

void RecordKindTest::SetUp()
{
    ASSERT_TRUE(s_server) << "the suite starts the server in SetUpTestSuite";
    setenv("MEDREC_PRINT_TO", ("pdf:" + m_out.path()).c_str(), 1);
    middleware::SetCommandLine({"medrec", "RECORDS", "OFFICE"});
    const std::string env = writeSiteEnvironment(m_out.path(), "127.0.0.1", s_server->port());
    ASSERT_TRUE(middleware::TuxInit(env)) << middleware::LastTuxMessage();
}

void RecordKindTest::TearDown()
{
    middleware::TuxTerm();
    unsetenv("MEDREC_PRINT_TO");
}

reports::RowCells RecordKindTest::recordRow(const std::string &kind, const std::string &patNo,
                                            const std::string &visitDate, int index)
{
    services::Hmdrecodt list;
    const int rows = list.ListRecodDt(kind, patNo, visitDate);
    EXPECT_GT(rows, index) << "no record " << index << " of " << kind << " for " << patNo << " on " << visitDate;
    std::vector<std::string> cells;
    for (int field : {1, 2, 3, 4, 5, 7, 8, 9, 10, 11}) {
        const auto &values = list.list(field);
        cells.push_back(static_cast<std::size_t>(index) < values.size() ? values[static_cast<std::size_t>(index)] : "");
    }
    return reports::RowCells(std::move(cells));
}

reports::PrintContext RecordKindTest::contextFor(const std::string &kind, const std::string &patNo,
                                                 const std::string &visitDate, int index)
{
    reports::PrintContext context;
    context.record = recordRow(kind, patNo, visitDate.substr(0, 8), index);
    services::HmdPatInf patient;
    if (patient.GetPatInf("3", patNo, "") > 0) {
        const std::string front = patient.field(2).front(), back = patient.field(3).front();
        context.patient.patNo = patNo;
        context.patient.name = patient.field(1).front();
        context.patient.resNo = front + "-" + back;
        context.patient.sexAge = patient.field(5).front() + "/" +
                                 std::string(common::TrimBlanks(common::AgeText(patient.field(4).front(), common::Today())));
        context.patient.birthDate = patient.field(4).front();
        context.patient.address = patient.field(11).front();
    }
    services::Hmdrecott visits;
    const int count = visits.ListHistory(patNo, "EB1", "20110101");
    for (int i = 0; i < count; ++i) {
        const std::string &digits = visits.visit[static_cast<std::size_t>(i)];
        if (digits.starts_with(visitDate)) {
            context.visit = reports::RowCells({"1", common::FmtDateTimeHM(digits), ""});
            break;
        }
    }
    return context;
}

KindPrint RecordKindTest::print(const std::string &kindCode, reports::PrintContext &context)
{
    KindPrint result;
    const reports::RecordKind *kind = reports::FindRecordKind(kindCode);
    if (!kind || !kind->block) {
        ADD_FAILURE() << kindCode << " is not a built record kind";
        return result;
    }
    try {
        reports::BlockResult block = kind->block(context);
        if (auto *refused = std::get_if<reports::NotPrinted>(&block)) {
            result.refused = *refused;
            return result;
        }
        auto &job = std::get<reports::PrintJob>(block);
        report::RunOptions options;
        options.printTime = report::DateTime{2026, 12, 9, 14, 30, 5};
        result.document = reports::LayOutJob(job, kindCode, options);
        result.summary = job.summary;
        result.history = job.history;
        const auto printed = report::printDocument(*result.document, {kindCode, context.record[0], nullptr, false});
        if (!printed.ok)
            ADD_FAILURE() << "printing failed: " << printed.error;
        result.pdf = printed.pdfFile;
    } catch (const std::exception &e) {
        result.failure = e.what();
    }
    return result;
}

std::string RecordKindTest::commandOutput(const std::string &command)
{
    std::string out;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

std::string RecordKindTest::withoutBlanks(const std::string &text)
{
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t' && c != '\f')
            out.push_back(c);
    return out;
}

std::vector<std::string> RecordKindTest::pdfPages(const std::filesystem::path &pdf)
{
    const std::string all = commandOutput("pdftotext -enc UTF-8 '" + pdf.string() + "' -");
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (auto ff = all.find('\f'); ff != std::string::npos; ff = all.find('\f', start)) {
        pages.push_back(withoutBlanks(all.substr(start, ff - start)));
        start = ff + 1;
    }
    return pages;
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

} // namespace medrec::testing
