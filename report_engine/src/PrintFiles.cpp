#include "PrintFiles.h"

#include "report_engine/SystemText.h"

#include <QFile>

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

} // namespace

std::string printFileStem(const std::string& stamp, const std::string& kind, const std::string& patientNo)
{
    return stamp + "_" + fileSafe(kind, "REPORT") + "_" + fileSafe(patientNo, "NOPATNO");
}

std::string printFileStemNow(const std::string& kind, const std::string& patientNo)
{
    return printFileStem(formatDateTime(DateTime::now(), "yyyyMMdd-HHmmss"), kind, patientNo);
}

std::filesystem::path createPrintFile(const std::filesystem::path& dir, const std::string& stem,
                                      const std::string& extension, std::string& error)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        error = dir.string() + ": " + ec.message();
        return {};
    }
    for (int n = 1; n < 10000; ++n) {
        const auto candidate = dir / (n == 1 ? stem + extension : stem + "-" + std::to_string(n) + extension);
        QFile file(QString::fromStdString(candidate.string()));
        // NewOnly creates atomically: two prints of the same second never share a file.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return candidate;
        if (file.error() != QFileDevice::OpenError || !file.exists()) {
            error = candidate.string() + ": " + file.errorString().toStdString();
            return {};
        }
    }
    error = dir.string() + ": no free file name for " + stem + extension;
    return {};
}

} // namespace medrec::engine
