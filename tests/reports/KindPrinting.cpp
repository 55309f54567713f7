#include "KindPrinting.h"

#include "RecordKinds.h"
#include "RecordPrint.h"
#include "ReportForms.h"

#include "DateText.h"
#include "HmdPatInf.h"
#include "Hmdrecodt.h"
#include "Hmdrecott.h"
#include "TextHelpers.h"
#include "TuxCom.h"

#include "report_engine/Printing.h"


#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace medrec::testing {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

std::string DemoData()
{
    std::ifstream in(MEDREC_DEMO_DATA, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::unique_ptr<ServerProcess> StartServerWith(const std::vector<std::string> &dataSets,
                                               ServerProcessOptions options)
{
    auto server = std::make_unique<ServerProcess>(std::move(options));
    for (const std::string &json : dataSets)
        importDataSet(server->databasePath(), json);
    return server;
}

std::string JoinServer(const std::string &dir, unsigned short port)
{
    middleware::SetCommandLine({"medrec", "RECORDS", "OFFICE"});
    if (!middleware::TuxInit(writeSiteEnvironment(dir, "127.0.0.1", port)))
        return middleware::LastTuxMessage();
    return {};
}

std::optional<reports::RowCells> RecordListRow(const std::string &kind, const std::string &patNo,
                                               const std::string &visitDate, int index)
{
    services::Hmdrecodt list;
    if (list.ListRecodDt(kind, patNo, visitDate) <= index)
        return std::nullopt;
    std::vector<std::string> cells;
    for (int field : {1, 2, 3, 4, 5, 7, 8, 9, 10, 11}) {
        const auto &values = list.list(field);
        cells.push_back(
            static_cast<std::size_t>(index) < values.size() ? values[static_cast<std::size_t>(index)] : "");
    }
    return reports::RowCells(std::move(cells));
}

reports::PrintContext ContextFor(reports::RowCells record, const std::string &patNo,
                                 const std::string &visitDate)
{
    reports::PrintContext context;
    context.record = std::move(record);
    services::HmdPatInf patient;
    if (patient.GetPatInf("3", patNo, "") > 0) {
        const std::string front = patient.field(2).front(), back = patient.field(3).front();
        context.patient.patNo = patNo;
        context.patient.name = patient.field(1).front();
        context.patient.resNo = front + "-" + back;
        context.patient.sexAge =
            patient.field(5).front() + "/" +
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
            // The record-kind row holds the visit date in its column 2.
            context.kind = reports::RowCells({"", "", digits.substr(0, 8), ""});
            break;
        }
    }
    return context;
}

std::string WithoutBlanks(const std::string &text)
{
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t' && c != '\f')
            out.push_back(c);
    return out;
}

std::string CommandOutput(const std::string &command)
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

KindPrint PrintKind(const std::string &kindCode, reports::PrintContext &context, PrintTimes *times)
{
    KindPrint result;
    const reports::RecordKind *kind = reports::FindRecordKind(kindCode);
    if (!kind || !kind->block) {
        result.fault = kindCode + " is not a built record kind";
        return result;
    }
    PrintTimes spent;
    try {
        auto start = Clock::now();
        reports::BlockResult block = reports::RunBlock(*kind, context);
        spent.block = secondsSince(start);
        if (auto *refused = std::get_if<reports::NotPrinted>(&block)) {
            result.refused = *refused;
            return result;
        }
        auto &job = std::get<reports::PrintJob>(block);
        engine::RunOptions options;
        options.printTime = engine::DateTime{2026, 12, 9, 14, 30, 5};
        start = Clock::now();
        result.document = reports::LayOutJob(job, kindCode, options);
        spent.layout = secondsSince(start);
        result.summary = job.summary;
        result.history = job.history;
        result.status = job.status;
        start = Clock::now();
        const auto printed =
            engine::printDocument(*result.document, {kindCode, context.record[0], nullptr, false});
        spent.output = secondsSince(start);
        if (!printed.ok)
            result.fault = "printing failed: " + printed.error;
        else if (!printed.layoutRecordError.empty())
            result.fault = "no layout record: " + printed.layoutRecordError;
        result.pdf = printed.pdfFile;
        result.layoutRecord = printed.layoutRecord;
    } catch (const std::exception &e) {
        result.failure = e.what();
    }
    if (times)
        *times = spent;
    return result;
}

} // namespace medrec::testing
