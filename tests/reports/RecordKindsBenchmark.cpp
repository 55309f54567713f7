// Benchmark: every built record kind printed from the real medrec-server, one realistic
// document each (the many-row kinds from a long stay made up for it), beside headless
// Chromium printing the same pages from HTML. Prints pages per second and peak memory per
// kind; asserts nothing.
//
//   record_kinds_benchmark [CHROMIUM]
//
// Each kind prints in a process of its own (this program again, with --print), so its peak
// memory is its own.

#include "ChromiumPrint.h"
#include "DocumentHtml.h"
#include "KindPrinting.h"
#include "LongStay.h"

#include "RecordKinds.h"
#include "Cp949.h"
#include "TuxCom.h"

#include "report_engine/LayoutRecord.h"

#include <atmi.h>
#include <fml.h>

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <sys/resource.h>

namespace {

using namespace medrec;
using namespace medrec::testing;

// The record each kind prints: the demo's fullest for the kinds of one record, the long stay
// for the kinds that page by rows.
struct Case
{
    const char *kind;
    const char *patNo;
    const char *visitDate; // YYYYMMDD (YYYYMMDDHHNN: one visit of several)
    int record;            // 0-based row of the kind's record list
};

const Case kCases[] = {
    {"MDOPRECT", "00001234", "20180514", 0},
    {"MDDCHSUT", "00001234", "20180514", 0},
    {"MDPGNOTT", long_stay::kPatNo, long_stay::kAdmissionDay, 0},
    {"MDREADMT", "00004005", "20141103", 0},
    {"MDEMNOTT", "00056789", "20220702", 0},
    {"MDADMNOT", "00001234", "20180514", 0},
    {"MDNRRECT", long_stay::kPatNo, long_stay::kAdmissionDay, 0},
    {"MDNERECT", long_stay::kPatNo, long_stay::kEmergencyDay, 0},
    {"MDADINFT", "00001234", "20180514", 0},
    {"MDVITALT", long_stay::kPatNo, long_stay::kAdmissionDay, 0},
    {"MDIOCHKT_BS", long_stay::kPatNo, long_stay::kAdmissionDay, 0},
    {"MDIOCHKT_IO", long_stay::kPatNo, long_stay::kAdmissionDay, 0},
    {"MDIOCHKT_WE", long_stay::kPatNo, long_stay::kAdmissionDay, 0},
    {"MDNRACTT", "00001234", "20180514", 0},
    {"SRSUVEYT", "00004004", "20230315", 0},
    {"SRSEDMST", "00004004", "20230315", 0},
    {"MDOBINFT", "00001301", "20240402", 0},
    {"MDPDINFT", "00004003", "20210809", 0},
    {"MDPYINFT", "00004002", "20200217", 0},
    {"MDNBINFT", "00004012", "20220115", 0},
    {"MDREINFT", "00004006", "20180702", 0},
    {"MDOPRPTT", "00001302", "20160905", 0},
    {"MDBLOODT", "00001302", "20160905", 0},
    {"MDBDINFT", "00004008", "20230501", 0},
    {"MDOBDEPT", "00004008", "20230501", 0},
    {"MDERINFT", "00056789", "202207021940", 0},
    {"SQNSTAPT", "00001234", "20180514", 0},
    {"MHHDRECT", "00004001", "20211011", 0},
};

// The demo's long admission (scripts/make-long-admission) beside short records of the same
// kinds: what a record longer than one reply costs per page, in calls and in bytes.
struct LongCase
{
    const char *label;
    Case record;
    const char *keyCells; // the record-list cells its block sends after the patient number
};

const LongCase kLongCases[] = {
    {"30 days", {"MDNRRECT", "00005001", "20250106", 0}, "1,2"},
    {"short", {"MDNRRECT", "00001234", "20180514", 0}, "1,2"},
    {"60 days", {"MDPGNOTT", "00005001", "20250106", 0}, "1"},
    {"short", {"MDPGNOTT", "00001234", "20180514", 0}, "1"},
    {"30 days", {"MDVITALT", "00005001", "20250106", 0}, "1"},
    {"short", {"MDVITALT", "00001234", "20180514", 0}, "1"},
};

constexpr int kBlankRuns = 3;

// What the printing process reports of its two prints.
struct EngineFigures
{
    int pages = 0;
    PrintTimes first;
    PrintTimes again;
    long peakRssKb = 0;
    int warnings = 0; // what the layout cut or left out
    double record = 0;     // writing the layout record alone (its printDocument writes one too)
    long elements = 0;     // printed elements of the document
    int contentCalls = 0;  // "MD_RECOD_L3" calls the record's content took (long records)
    long contentBytes = 0; // the bytes of their replies

    double engineSeconds(const PrintTimes &t) const { return t.layout + t.output; }
    // The whole print: block, layout and the PDF with its layout record.
    double printSeconds(const PrintTimes &t) const { return t.block + t.layout + t.output; }
};

std::string figuresLine(const EngineFigures &f)
{
    char line[256];
    std::snprintf(line, sizeof line, "%d %.6f %.6f %.6f %.6f %.6f %.6f %ld %d %.6f %ld %d %ld", f.pages,
                  f.first.block, f.first.layout, f.first.output, f.again.block, f.again.layout, f.again.output,
                  f.peakRssKb, f.warnings, f.record, f.elements, f.contentCalls, f.contentBytes);
    return line;
}

bool readFigures(const std::string &line, EngineFigures &f)
{
    std::istringstream in(line);
    in >> f.pages >> f.first.block >> f.first.layout >> f.first.output >> f.again.block >> f.again.layout >>
        f.again.output >> f.peakRssKb >> f.warnings >> f.record >> f.elements >> f.contentCalls >> f.contentBytes;
    return bool(in) && f.pages > 0;
}

// The record's content fetched as its block fetches it, on the wire: the "MD_RECOD_L3" calls
// it takes and the bytes of their replies. keyCells: "1,2" sends cells 1 and 2 as keys.
std::pair<int, long> contentCost(const std::string &kind, const reports::RowCells &row, const std::string &keyCells)
{
    std::vector<std::string> keys;
    for (char c : keyCells)
        if (c >= '0' && c <= '9')
            keys.push_back(row[static_cast<std::size_t>(c - '0')]);
    keys.resize(4);
    int calls = 0;
    long bytes = 0;
    for (long from = 0; from >= 0;) {
        char type[] = "FML";
        auto *buffer = reinterpret_cast<FBFR *>(tpalloc(type, nullptr, 65532));
        const auto put = [&](const char *field, const std::string &utf8) {
            std::string cp949 = text::toCp949(utf8);
            std::string name = field;
            Fchg(buffer, Fldid(name.data()), 0, cp949.data(), static_cast<FLDLEN>(cp949.size()));
        };
        put("S_TYPE1", kind);
        put("S_PATNO", row[0]);
        for (std::size_t i = 0; i < keys.size(); ++i)
            put(("S_STRING" + std::to_string(i + 2)).c_str(), keys[i]);
        auto asked = static_cast<std::int32_t>(from);
        std::string fromField = "L_ROWFROM";
        Fchg(buffer, Fldid(fromField.data()), 0, reinterpret_cast<char *>(&asked), 0);
        char *reply = reinterpret_cast<char *>(buffer);
        long length = 0;
        std::string service = "MD_RECOD_L3";
        const int rc = tpcall(service.data(), reply, 0, &reply, &length, TPNOTRAN);
        ++calls;
        bytes += length;
        std::string nextField = "L_ROWNEXT";
        const FLDID next = Fldid(nextField.data());
        from = rc == 0 && Foccur(reinterpret_cast<FBFR *>(reply), next) > 0
                   ? Fvall(reinterpret_cast<FBFR *>(reply), next, 0)
                   : -1;
        tpfree(reply);
    }
    return {calls, bytes};
}

constexpr int kRecordRuns = 9;

// Writing the document's layout record as a print does: the fastest of a few writes, what it
// costs when the machine's other work does not interrupt it (a few milliseconds at most).
double recordSeconds(const engine::Document &document, const std::filesystem::path &file)
{
    std::vector<double> runs;
    for (int i = 0; i < kRecordRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!engine::writeLayoutRecord(document, file).empty())
            return 0;
        runs.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return *std::min_element(runs.begin(), runs.end());
}

// --print KIND PATNO DAY RECORD PORT DIR [KEYCELLS]: prints the record twice, writes DIR/KIND.html with
// the pages and the figures on standard output; what went wrong on standard error.
int printOneKind(int argc, char **argv)
{
    if (argc != 8 && argc != 9) {
        std::fprintf(stderr, "usage: %s --print KIND PATNO DAY RECORD PORT DIR [KEYCELLS]\n", argv[0]);
        return 2;
    }
    const std::string kind = argv[2], patNo = argv[3], day = argv[4], dir = argv[7];
    const int record = std::atoi(argv[5]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // A long-record run names its files by the patient too: the kind prints twice there.
    const std::string name = argc == 9 ? kind + "-" + patNo : kind;
    const std::string out = dir + "/" + name;
    std::filesystem::create_directories(out);
    setenv("MEDREC_PRINT_TO", ("pdf:" + out).c_str(), 1);
    unsetenv("MEDREC_LAYOUT_RECORDS"); // each PDF with its record beside it
    if (const std::string error = JoinServer(out, static_cast<unsigned short>(std::atoi(argv[6])));
        !error.empty()) {
        std::fprintf(stderr, "joining the server: %s\n", error.c_str());
        return 1;
    }
    const auto row = RecordListRow(kind, patNo, day, record);
    if (!row) {
        std::fprintf(stderr, "no record %d of %s for %s on %s\n", record, kind.c_str(), patNo.c_str(),
                     day.c_str());
        return 1;
    }
    const reports::PrintContext context = ContextFor(*row, patNo, day);
    EngineFigures figures;
    auto firstContext = context;
    const KindPrint first = PrintKind(kind, firstContext, &figures.first);
    auto againContext = context;
    const KindPrint again = PrintKind(kind, againContext, &figures.again);
    for (const KindPrint *print : {&first, &again})
        if (!print->printed()) {
            std::fprintf(stderr, "%s did not print: %s%s%s\n", kind.c_str(), print->failure.c_str(),
                         print->fault.c_str(), print->refused ? print->refused->notice.text.c_str() : "");
            return 1;
        }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    figures.peakRssKb = usage.ru_maxrss;
    figures.pages = int(first.document->pages.size());
    figures.warnings = int(first.document->warnings.size());
    for (const auto &page : first.document->pages)
        figures.elements += long(page.elements.size());
    figures.record = recordSeconds(*first.document, out + "/record.layout.txt");
    for (const auto &warning : first.document->warnings)
        std::fprintf(stderr, "%s\n", warning.message.c_str());
    WriteDocumentHtml(*first.document, dir, name);
    if (argc == 9)
        std::tie(figures.contentCalls, figures.contentBytes) = contentCost(kind, *row, argv[8]);
    middleware::TuxTerm();
    std::printf("%s\n", figuresLine(figures).c_str());
    return 0;
}

std::string quoted(const std::string &text)
{
    return "'" + text + "'";
}

std::string lastLine(const std::string &text)
{
    std::string trimmed = text;
    while (!trimmed.empty() && trimmed.back() == '\n')
        trimmed.pop_back();
    const auto newline = trimmed.rfind('\n');
    return newline == std::string::npos ? trimmed : trimmed.substr(newline + 1);
}

std::string readFile(const std::filesystem::path &file)
{
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Chromium's start-up and a blank page: the median of a few runs.
double blankPageSeconds(const std::string &chromium, const std::filesystem::path &dir,
                        const std::filesystem::path &profile)
{
    const auto html = dir / "blank.html";
    std::ofstream(html)
        << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"></head><body></body></html>\n";
    std::vector<double> runs;
    for (int i = 0; i < kBlankRuns; ++i) {
        const ChromiumPrintResult run = PrintWithChromium(chromium, html, dir / "blank.pdf", profile);
        if (!run.error.empty())
            return 0;
        runs.push_back(run.seconds);
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

void printHeader(double blankSeconds)
{
    std::printf("Record kinds benchmark: every built kind printed from medrec-server (the demo data and a "
                "long stay made up\n"
                "for the kinds that page by rows), one document each.\n"
                "  block     the kind's block, timed apart: its service calls, staging its rows, loading its "
                "forms (ms, 1st)\n"
                "  engine    laying the job out (its reports run, their callbacks included) and writing the "
                "PDF, in a\n"
                "            process of the kind's own; 1st = that process's first print (fonts loaded "
                "cold), again = the\n"
                "            same print once more\n"
                "  chromium  headless --print-to-pdf of an HTML page holding the same laid-out pages (inline "
                "SVG: each\n"
                "            element at its place, in its face and size, with its text), timed from start to "
                "exit; net = less\n"
                "            start-up, the median of %d runs on a blank page (%.2f s)\n"
                "  RSS       peak resident memory: the kind's process (Qt, fonts, the client, both prints); "
                "Chromium's\n"
                "            largest process\n"
                "  ratio     Chromium's time / the engine's: whole / 1st and net / again\n"
                "  record    writing the layout record (the pages as text) alone, the fastest of %d writes (ms), "
                "and its\n"
                "            share of the whole print again (block, layout, PDF and record)\n"
                "Nothing is asserted. The machine's cores are shared with other work: figures are noisy.\n\n",
                kBlankRuns, blankSeconds, kRecordRuns);
    std::printf("%-12s %5s %8s | %16s %7s | %14s | %16s %7s | %13s\n", "", "", "", "engine pages/s", "",
                "layout record", "chromium pages/s", "", "ratio");
    std::printf("%-12s %5s %8s | %7s %8s %7s | %7s %6s | %7s %8s %7s | %6s %6s\n", "kind", "pages", "block ms",
                "1st", "again", "RSS MB", "ms", "%", "whole", "net", "RSS MB", "1st", "again");
}

// The long admission beside short records: the engine's time and memory per page (the
// ratio to the short record's), Chromium on the same pages, and the content's calls and bytes.
void printLongRecords(const std::string &self, const std::string &chromium, unsigned short port,
                      const std::filesystem::path &dir, const std::filesystem::path &profile, double blank)
{
    std::printf("\nLong records: the demo's long admission (patient 00005001) beside a short record of the "
                "same kind.\n"
                "  ms/page   the engine's layout and PDF per page, the second print; x short = that over the "
                "short record's\n"
                "  chromium  Chromium's net time per page on the same pages; ratio = Chromium's / the engine's\n"
                "  calls     \"MD_RECOD_L3\" calls the content took (one reply each) and the bytes of their "
                "replies\n\n");
    std::printf("%-10s %-8s %5s | %8s %7s %7s | %9s %6s | %5s %9s\n", "kind", "record", "pages", "ms/page",
                "x short", "RSS MB", "chrome ms", "ratio", "calls", "bytes");
    struct Result
    {
        EngineFigures engine;
        double perPage = 0;       // seconds
        double chromePerPage = 0; // seconds, net of start-up; 0 when Chromium failed
    };
    std::vector<std::optional<Result>> results;
    for (const LongCase &c : kLongCases) {
        const std::string name = std::string(c.record.kind) + "-" + c.record.patNo;
        const auto log = dir / (name + ".log");
        const std::string output = CommandOutput(
            quoted(self) + " --print " + c.record.kind + " " + c.record.patNo + " " + c.record.visitDate + " " +
            std::to_string(c.record.record) + " " + std::to_string(port) + " " + quoted(dir.string()) + " " +
            c.keyCells + " 2>" + quoted(log.string()));
        Result r;
        if (!readFigures(output, r.engine)) {
            std::printf("%-10s %-8s engine failed: %s\n", c.record.kind, c.label, lastLine(readFile(log)).c_str());
            results.emplace_back();
            continue;
        }
        r.perPage = r.engine.engineSeconds(r.engine.again) / r.engine.pages;
        const ChromiumPrintResult browser =
            PrintWithChromium(chromium, dir / (name + ".html"), dir / (name + "-chromium.pdf"), profile);
        if (browser.error.empty())
            r.chromePerPage = std::max(browser.seconds - blank, 1e-3) / r.engine.pages;
        results.push_back(r);
    }
    // Each long record stands right before its short one in the table.
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (!results[i])
            continue;
        const Result &r = *results[i];
        const std::size_t base = std::string(kLongCases[i].label) == "short" ? i : i + 1;
        const double baseline = base < results.size() && results[base] ? results[base]->perPage : 0;
        std::printf("%-10s %-8s %5d | %8.2f %7.2f %7.1f | %9.1f %6.1f | %5d %9ld%s\n", kLongCases[i].record.kind,
                    kLongCases[i].label, r.engine.pages, r.perPage * 1000, baseline > 0 ? r.perPage / baseline : 0.0,
                    r.engine.peakRssKb / 1024.0, r.chromePerPage * 1000, r.chromePerPage / r.perPage,
                    r.engine.contentCalls, r.engine.contentBytes, r.engine.warnings ? "  (layout warnings)" : "");
    }
}

int runAll(const std::string &chromium)
{
    TempDir work;
    const std::filesystem::path dir = work.path();
    const auto profile = dir / "chromium-profile";
    std::filesystem::create_directories(profile);
    ServerProcessOptions quiet;
    quiet.captureLog = true; // its session lines would break the table
    const auto server = StartServerWith({DemoData(), long_stay::Data()}, quiet);
    const double blank = blankPageSeconds(chromium, dir, profile);
    printHeader(blank);

    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::vector<std::string> notes;
    std::optional<std::pair<std::string, EngineFigures>> largest; // the kind with the most elements
    for (const reports::RecordKind &kind : reports::RecordKinds()) {
        if (!kind.block)
            continue;
        const std::string code(kind.code);
        const auto c =
            std::find_if(std::begin(kCases), std::end(kCases), [&](const Case &k) { return k.kind == code; });
        if (c == std::end(kCases)) {
            std::printf("%-12s no record in the benchmark's table\n", code.c_str());
            continue;
        }
        const auto log = dir / (code + ".log");
        const std::string output =
            CommandOutput(quoted(self) + " --print " + code + " " + c->patNo + " " + c->visitDate + " " +
                          std::to_string(c->record) + " " + std::to_string(server->port()) + " " +
                          quoted(dir.string()) + " 2>" + quoted(log.string()));
        EngineFigures engine;
        if (!readFigures(output, engine)) {
            std::printf("%-12s engine failed: %s\n", code.c_str(), lastLine(readFile(log)).c_str());
            continue;
        }
        if (engine.warnings > 0)
            notes.push_back(code + ": the layout cut or left out text " + std::to_string(engine.warnings) +
                            " time(s): " + lastLine(readFile(log)));
        const double first = engine.engineSeconds(engine.first), again = engine.engineSeconds(engine.again);
        const double recordShare = 100 * engine.record / engine.printSeconds(engine.again);
        std::printf("%-12s %5d %8.1f | %7.1f %8.1f %7.1f | %7.2f %6.2f |", code.c_str(), engine.pages,
                    engine.first.block * 1000, engine.pages / first, engine.pages / again,
                    engine.peakRssKb / 1024.0, engine.record * 1000, recordShare);
        if (!largest || engine.elements > largest->second.elements)
            largest = std::make_pair(code, engine);
        const ChromiumPrintResult browser =
            PrintWithChromium(chromium, dir / (code + ".html"), dir / (code + "-chromium.pdf"), profile);
        if (!browser.error.empty()) {
            std::printf(" chromium %s\n", browser.error.c_str());
            continue;
        }
        const double net = std::max(browser.seconds - blank, 1e-3);
        std::printf(" %7.1f %8.1f %7.1f | %6.1f %6.1f\n", engine.pages / browser.seconds, engine.pages / net,
                    browser.peakRssKb / 1024.0, browser.seconds / first, net / again);
        if (browser.pages != engine.pages)
            notes.push_back(code + ": Chromium's PDF has " + std::to_string(browser.pages) + " pages");
        std::fflush(stdout);
    }
    for (const std::string &note : notes)
        std::printf("note: %s\n", note.c_str());
    if (largest) {
        const EngineFigures &f = largest->second;
        std::printf("layout record of the largest kind, %s (%d pages, %ld elements): %.2f ms, %.2f%% of its "
                    "print (%.1f ms), %.2f%% of layout and PDF\n",
                    largest->first.c_str(), f.pages, f.elements, f.record * 1000,
                    100 * f.record / f.printSeconds(f.again), f.printSeconds(f.again) * 1000,
                    100 * f.record / f.engineSeconds(f.again));
    }
    printLongRecords(self, chromium, server->port(), dir, profile, blank);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::string(argv[1]) == "--print")
        return printOneKind(argc, argv);
    try {
        return runAll(argc > 1 ? argv[1] : "/usr/bin/chromium");
    } catch (const std::exception &e) {
        std::fprintf(stderr, "record_kinds_benchmark: %s\n", e.what());
        return 1;
    }
}
