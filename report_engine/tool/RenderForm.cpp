// medrec-render-form: renders a form file with sample values to PNG pages or a PDF, so a form
// can be checked by eye while it is designed.

#include "SampleValues.h"

#include "DataPaths.h"

#include "report_engine/FormLoader.h"
#include "report_engine/Output.h"
#include "report_engine/QtTextMeasurer.h"
#include "report_engine/Report.h"
#include "report_engine/ReportError.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: medrec-render-form FORM.json [--values VALUES.json] (--png OUTDIR | --pdf FILE)\n"
    "                          [--dpi N] [--pictures DIR]...\n"
    "       medrec-render-form --help | --version\n";

int usage()
{
    std::fputs(kUsage, stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace medrec::engine;
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        std::fputs("\nRenders a form file with sample values to PNG pages (at --dpi, 150 by default) or a\n"
                   "PDF, so a form can be checked by eye while it is designed. Pictures are looked up\n"
                   "beside the form, then in each --pictures folder.\n",
                   stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("medrec-render-form " MEDREC_VERSION);
        return 0;
    }
    std::string form, values, png, pdf;
    double dpi = 150;
    LoadOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "%s needs a value\n", a.c_str());
                std::exit(usage());
            }
            return argv[++i];
        };
        if (a == "--values")
            values = next();
        else if (a == "--png")
            png = next();
        else if (a == "--pdf")
            pdf = next();
        else if (a == "--dpi")
            dpi = std::atof(next().c_str());
        else if (a == "--pictures")
            options.pictureDirs.emplace_back(next());
        else if (!a.empty() && a[0] != '-' && form.empty())
            form = a;
        else
            return usage();
    }
    if (form.empty() || (png.empty() == pdf.empty()) || dpi <= 0)
        return usage();
    if (auto logos = medrec::paths::locate(medrec::paths::Data::Logo); !logos.empty())
        options.pictureDirs.push_back(logos);
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    try {
        Report report(loadFormFile(form, options));
        RunOptions run;
        if (!values.empty())
            run.printTime = tool::applySampleValues(report, values).printTime;
        QtTextMeasurer measurer;
        const Document document = report.run(measurer, run);
        const std::string error = png.empty() ? writePdf(document, pdf) : writePngPages(document, png, dpi);
        if (!error.empty()) {
            std::fprintf(stderr, "medrec-render-form: %s\n", error.c_str());
            return 1;
        }
        std::printf("%zu page(s) written to %s\n", document.pages.size(), (png.empty() ? pdf : png).c_str());
    } catch (const ReportError& e) {
        std::fprintf(stderr, "medrec-render-form: %s\n", e.what());
        return 1;
    }
    return 0;
}
