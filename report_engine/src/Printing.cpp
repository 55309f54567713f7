#include "report_engine/Printing.h"

#include "report_engine/LayoutRecord.h"
#include "report_engine/Output.h"
#include "report_engine/PrintProgress.h"

#include "PagedOutput.h"
#include "PrintFiles.h"

#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdlib>
#include <memory>
#include <optional>

namespace medrec::engine {

namespace {

// The layout record of a print that went out. A folder of records takes the PDF's name, so
// record and copy pair up; a paper print is named as its PDF would have been.
void keepLayoutRecord(const Document& document, const PrintRequest& request, PrintResult& result)
{
    const std::filesystem::path folder = layoutRecordFolderFromEnvironment();
    std::filesystem::path file;
    if (!folder.empty()) {
        const std::string stem = result.pdfFile.empty() ? printFileStemNow(request.kind, request.patientNo)
                                                        : result.pdfFile.stem().string();
        file = createPrintFile(folder, stem, kLayoutRecordExtension, result.layoutRecordError);
        if (file.empty())
            return;
    } else if (!result.pdfFile.empty()) {
        file = layoutRecordBeside(result.pdfFile);
    } else {
        return;
    }
    result.layoutRecordError = writeLayoutRecord(document, file);
    if (result.layoutRecordError.empty()) {
        result.layoutRecord = file;
    } else if (!folder.empty()) {
        std::error_code ec; // the empty file reserved for it would read as a record of nothing
        std::filesystem::remove(file, ec);
    }
}

} // namespace

PrintTarget parsePrintTarget(const char* value)
{
    PrintTarget t;
    if (!value || !*value)
        return t;
    const std::string v(value);
    if (v.rfind("pdf:", 0) == 0 && v.size() > 4) {
        t.kind = PrintTarget::Kind::PdfDirectory;
        t.directory = v.substr(4);
        return t;
    }
    t.kind = PrintTarget::Kind::Invalid;
    t.error = "MEDREC_PRINT_TO is \"" + v + "\"; it must be pdf:DIRECTORY (or unset for the default printer)";
    return t;
}

PrintTarget printTargetFromEnvironment()
{
    return parsePrintTarget(std::getenv("MEDREC_PRINT_TO"));
}

bool printerAvailable()
{
    const PrintTarget t = printTargetFromEnvironment();
    if (t.kind == PrintTarget::Kind::Invalid)
        return false;
    if (t.kind == PrintTarget::Kind::PdfDirectory)
        return true;
    return !QPrinterInfo::defaultPrinter().isNull();
}

std::string pdfFileName(const std::string& stamp, const std::string& kind, const std::string& patientNo)
{
    return printFileStem(stamp, kind, patientNo) + ".pdf";
}

std::filesystem::path reservePdfFile(const std::filesystem::path& dir, const std::string& kind,
                                     const std::string& patientNo, std::string& error)
{
    return createPrintFile(dir, printFileStemNow(kind, patientNo), ".pdf", error);
}

PrintResult printDocument(const Document& document, const PrintRequest& request)
{
    PrintResult result;
    result.pages = int(document.pages.size());
    const PrintTarget target = printTargetFromEnvironment();
    if (target.kind == PrintTarget::Kind::Invalid) {
        result.error = target.error;
        return result;
    }
    if (document.pages.empty()) {
        result.error = "the document has no pages";
        return result;
    }
    std::optional<PrintProgress> own;
    PrintProgress* progress = request.progress;
    if (!progress)
        progress = &own.emplace(request.parent, request.showProgress);
    auto step = [progress](int done, int total) { progress->printed(done, total); };

    if (target.kind == PrintTarget::Kind::PdfDirectory) {
        const auto file = reservePdfFile(target.directory, request.kind, request.patientNo, result.error);
        if (file.empty())
            return result;
        QPdfWriter writer(QString::fromStdString(file.string()));
        writer.setResolution(1200);
        writer.setTitle(QString::fromStdString(document.title));
        writer.setCreator(QStringLiteral("medrec report engine"));
        result.error = paintDocument(writer, document, step);
        if (!result.error.empty()) {
            std::error_code ec;
            std::filesystem::remove(file, ec);
            result.error = file.string() + ": " + result.error;
            return result;
        }
        result.pdfFile = file;
        result.ok = true;
        keepLayoutRecord(document, request, result);
        return result;
    }

    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        result.error = "no default printer";
        return result;
    }
    result.printer = info.printerName().toStdString();
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setCopyCount(1);
    printer.setDocName(QString::fromStdString(document.title));
    printer.setCreator(QStringLiteral("medrec report engine"));
    result.error = paintDocument(printer, document, step);
    if (result.error.empty() && printer.printerState() == QPrinter::Error)
        result.error = "the printer " + result.printer + " reported an error";
    result.ok = result.error.empty();
    if (result.ok)
        keepLayoutRecord(document, request, result);
    return result;
}

} // namespace medrec::engine
