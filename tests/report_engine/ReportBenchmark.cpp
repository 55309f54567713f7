// Benchmark: a 100-page flowsheet laid out and written to PDF by the report engine, beside the
// same content printed to PDF from an HTML page by headless Chromium, in the same run.
// Prints pages per second and peak memory; asserts nothing.
//
//   report_engine_benchmark [PAGES] [CHROMIUM]

#include "report_engine/FormLoader.h"
#include "report_engine/Output.h"
#include "report_engine/QtTextMeasurer.h"
#include "report_engine/Report.h"

#include <QGuiApplication>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace medrec::report;
using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

long maxRssKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

struct Row {
    std::string date, time, note, sign;
};

std::vector<Row> rows(int count)
{
    const char* notes[] = {
        "환자 의식 명료하며 활력징후 안정적임. 수술 부위 드레싱 시행함.",
        "BP 120/80mmHg, PR 78회/분, RR 20회/분, BT 36.8℃ 측정함.",
        "통증 호소하여 주치의에게 보고 후 진통제 투여함.",
        "보행 격려하고 낙상 주의 교육함. 식이는 연식으로 진행.",
    };
    std::vector<Row> out;
    for (int i = 0; i < count; ++i) {
        char date[16];
        std::snprintf(date, sizeof date, "2026-%02d-%02d", 1 + (i / 400) % 12, 1 + (i / 15) % 28);
        char time[8];
        std::snprintf(time, sizeof time, "%02d:%02d", (i * 7) % 24, (i * 13) % 60);
        out.push_back({date, time, notes[i % 4], "김간호"});
    }
    return out;
}

std::string pdfPages(const std::filesystem::path& pdf)
{
    const std::string cmd = "pdfinfo '" + pdf.string() + "' 2>/dev/null | awk '/^Pages:/ {print $2}'";
    FILE* p = popen(cmd.c_str(), "r");
    char buf[32] = {0};
    if (p) {
        if (!std::fgets(buf, sizeof buf, p))
            buf[0] = 0;
        pclose(p);
    }
    std::string s(buf);
    while (!s.empty() && (s.back() == '\n'))
        s.pop_back();
    return s.empty() ? "?" : s;
}

// The same pages as HTML: per page the header block, the column captions, the rows, the foot.
std::string html(const std::vector<Row>& data, int perPage)
{
    std::ostringstream o;
    o << R"(<!DOCTYPE html><html><head><meta charset="utf-8"><style>
@page { size: A4 portrait; margin: 10mm 15mm 10mm 10mm; }
body { margin: 0; font-family: "DejaVu Sans", "Noto Sans CJK KR"; font-size: 10pt; }
.page { height: 277mm; position: relative; page-break-after: always; overflow: hidden; }
.head { height: 39.95mm; border-bottom: 0.79mm solid black; box-sizing: border-box; position: relative; }
.title { position: absolute; left: 48mm; top: 9mm; font: bold 18pt "Noto Sans CJK KR"; }
.box { position: absolute; left: 112mm; top: 1mm; width: 73mm; height: 36.5mm; border: 0.26mm solid black; font-size: 9pt; }
table { border-collapse: collapse; width: 185mm; table-layout: fixed; }
th { height: 7.14mm; background: #ececec; border: 0.26mm solid black; font-weight: bold; }
td { height: 5.82mm; padding: 0 0.5mm; border-left: 0.26mm solid black; border-right: 0.26mm solid black;
     border-bottom: 0.26mm solid black; font-size: 9pt; white-space: nowrap; overflow: hidden; box-sizing: border-box; }
td.note { font-family: "Noto Sans Mono CJK KR"; }
.foot { position: absolute; top: 278mm; width: 185mm; font: bold 11pt "Noto Sans CJK KR"; }
</style></head><body>
)";
    const int pages = int((data.size() + std::size_t(perPage) - 1) / std::size_t(perPage));
    for (int p = 0; p < pages; ++p) {
        o << R"(<div class="page"><div class="head"><div>※ 전자인증된 서식입니다.</div>)"
          << R"(<div class="title">경  과  기  록</div><div class="box">등록번호 00001234<br>이    름 김세온<br>)"
          << R"(주민번호 750315-1******<br>SEX/AGE M/51Y<br>진 료 과 일반외과<br>주 치 의 박주치<br>병동/병실 71/7105</div></div>)"
          << R"(<table><colgroup><col style="width:22mm"><col style="width:14mm"><col style="width:135.5mm"><col style="width:13.5mm"></colgroup>)"
          << R"(<tr><th>년월일</th><th>시간</th><th>경    과    기    록</th><th>의사서명</th></tr>)";
        for (int r = p * perPage; r < std::min<int>(int(data.size()), (p + 1) * perPage); ++r) {
            const Row& row = data[std::size_t(r)];
            o << "<tr><td>" << row.date << "</td><td>" << row.time << "</td><td class=\"note\">" << row.note
              << "</td><td>" << row.sign << "</td></tr>\n";
        }
        o << R"(</table><div class="foot">세온병원 &nbsp; 경  과  기  록 &nbsp; KRV 82-MR-3-32 &nbsp; )" << (p + 1)
          << " / " << pages << "</div></div>\n";
    }
    o << "</body></html>\n";
    return o.str();
}

} // namespace

int main(int argc, char** argv)
{
    const int pages = argc > 1 ? std::atoi(argv[1]) : 100;
    const std::string chromium = argc > 2 ? argv[2] : "/usr/bin/chromium";
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const auto work = std::filesystem::temp_directory_path() / ("medrec-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(work);

    Report report(loadForm("flowsheet", {MEDREC_TEST_FORMS_DIR}, LoadOptions{{MEDREC_TEST_LOGO_DIR}}));
    const RectMm body = report.form().page.body();
    const int perPage = int(std::floor((body.height - report.band("QRBand2").height - report.band("QRBand1").height) /
                                           report.band("band_Detail").height +
                                       1e-9));
    const std::vector<Row> data = rows(perPage * pages);
    report.label("qrlb_PatNo").setCaption("00001234");
    report.label("qrlb_patname").setCaption("김세온");
    std::size_t next = 0;
    report.setNeedData([&](Report& r) {
        if (next >= data.size())
            return false;
        const Row& row = data[next++];
        r.label("qrlb_Data1").setCaption(row.date);
        r.label("qrlb_Data2").setCaption(row.time);
        r.label("qrlb_Data4").setCaption(row.note);
        r.label("qrlb_Data3").setCaption(row.sign);
        return true;
    });

    const long rssBefore = maxRssKb();
    const QtTextMeasurer measurer;
    RunOptions options;
    options.log = [](const std::string& m) { std::fprintf(stderr, "%s\n", m.c_str()); };
    const auto t0 = Clock::now();
    const Document doc = report.run(measurer, options);
    const auto t1 = Clock::now();
    const auto enginePdf = work / "engine.pdf";
    const std::string error = writePdf(doc, enginePdf);
    const auto t2 = Clock::now();
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const long rssAfter = maxRssKb();
    std::size_t elements = 0;
    for (const Page& p : doc.pages)
        elements += p.elements.size();

    std::printf("flowsheet benchmark: %d records, %zu pages, %zu laid-out elements\n", int(data.size()),
                doc.pages.size(), elements);
    std::printf("  report engine  layout %.3f s, PDF %.3f s, total %.3f s = %.1f pages/s; peak RSS %.1f MB "
                "(%.1f MB before the run); PDF %.0f kB, %s pages\n",
                seconds(t0, t1), seconds(t1, t2), seconds(t0, t2), double(doc.pages.size()) / seconds(t0, t2),
                rssAfter / 1024.0, rssBefore / 1024.0, double(std::filesystem::file_size(enginePdf)) / 1024,
                pdfPages(enginePdf).c_str());

    const auto htmlFile = work / "flowsheet.html";
    std::ofstream(htmlFile) << html(data, perPage);
    const auto chromePdf = work / "chromium.pdf";
    const auto profile = work / "chromium-profile";
    std::filesystem::create_directories(profile);
    if (access(chromium.c_str(), X_OK) != 0) {
        std::printf("  chromium       not run: %s is not installed\n", chromium.c_str());
        return 0;
    }
    const std::vector<std::string> args{chromium,
                                        "--headless",
                                        "--no-sandbox",
                                        "--disable-gpu",
                                        "--disable-quic",
                                        "--no-first-run",
                                        "--disable-background-networking",
                                        "--disable-component-update",
                                        "--disable-sync",
                                        "--no-pdf-header-footer",
                                        "--user-data-dir=" + profile.string(),
                                        "--print-to-pdf=" + chromePdf.string(),
                                        "file://" + htmlFile.string()};
    std::fflush(stdout); // the child must not inherit (and print again) what is buffered
    const auto c0 = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argvC;
        for (const std::string& a : args)
            argvC.push_back(const_cast<char*>(a.c_str()));
        argvC.push_back(nullptr);
        if (!freopen("/dev/null", "w", stderr) || !freopen("/dev/null", "w", stdout))
            _exit(126);
        execv(argvC[0], argvC.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto c1 = Clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !std::filesystem::exists(chromePdf)) {
        std::printf("  chromium       failed (status %d)\n", status);
        return 0;
    }
    const std::string chromePages = pdfPages(chromePdf);
    std::printf("  chromium       HTML to PDF %.3f s = %.1f pages/s (start-up included); peak RSS of its largest "
                "process %.1f MB; PDF %.0f kB, %s pages\n",
                seconds(c0, c1), std::atof(chromePages.c_str()) / seconds(c0, c1), usage.ru_maxrss / 1024.0,
                double(std::filesystem::file_size(chromePdf)) / 1024, chromePages.c_str());
    std::error_code ec;
    std::filesystem::remove_all(work, ec);
    return 0;
}
