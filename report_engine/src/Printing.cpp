#include "report_engine/Printing.h"

#include "report_engine/Output.h"
#include "report_engine/SystemText.h"

#include "PagedOutput.h"

#include <QApplication>
#include <QFile>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>

#include <cstdlib>
#include <memory>

namespace medrec::engine {

namespace {

std::string fileSafe(const std::string& s, const char* fallback)
{
    std::string out;
    for (char c : s) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
        out += ok ? c : '_';
    }
    // Trailing blanks of fixed-width keys would otherwise end the name in underscores.
    while (!out.empty() && out.back() == '_')
        out.pop_back();
    return out.empty() ? fallback : out;
}

// The progress window: only where a widget application runs (not in the command-line tool).
class Progress {
public:
    Progress(const PrintRequest& request, int pages)
    {
        if (!request.showProgress || !qobject_cast<QApplication*>(QCoreApplication::instance()))
            return;
        m_dialog = std::make_unique<QProgressDialog>(QStringLiteral("인쇄 중입니다..."), QString(), 0, pages,
                                                     request.parent);
        m_dialog->setWindowTitle(QStringLiteral("인쇄"));
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(true);
        m_dialog->setValue(0);
    }
    void update(int done, int total)
    {
        if (!m_dialog)
            return;
        m_dialog->setLabelText(QStringLiteral("인쇄 중입니다... (%1 / %2 쪽)").arg(done).arg(total));
        m_dialog->setValue(done);
    }

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};

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
    return stamp + "_" + fileSafe(kind, "REPORT") + "_" + fileSafe(patientNo, "NOPATNO") + ".pdf";
}

std::filesystem::path reservePdfFile(const std::filesystem::path& dir, const std::string& kind,
                                     const std::string& patientNo, std::string& error)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        error = dir.string() + ": " + ec.message();
        return {};
    }
    const std::string stamp = formatDateTime(DateTime::now(), "yyyyMMdd-HHmmss");
    const std::string name = pdfFileName(stamp, kind, patientNo);
    const std::string stem = name.substr(0, name.size() - 4);
    for (int n = 1; n < 10000; ++n) {
        const auto candidate = dir / (n == 1 ? name : stem + "-" + std::to_string(n) + ".pdf");
        QFile file(QString::fromStdString(candidate.string()));
        // NewOnly creates atomically: two prints of the same second never share a file.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return candidate;
        if (file.error() != QFileDevice::OpenError || !file.exists()) {
            error = candidate.string() + ": " + file.errorString().toStdString();
            return {};
        }
    }
    error = dir.string() + ": no free file name for " + name;
    return {};
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
    Progress progress(request, result.pages);
    auto step = [&](int done, int total) { progress.update(done, total); };

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
    return result;
}

} // namespace medrec::engine
