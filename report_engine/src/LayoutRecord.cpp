#include "report_engine/LayoutRecord.h"

#include "report_engine/LayoutDump.h"

#include <QSaveFile>

#include <cstdlib>

namespace medrec::engine {

std::filesystem::path layoutRecordFolderFromEnvironment()
{
    const char* value = std::getenv("MEDREC_LAYOUT_RECORDS");
    return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

std::filesystem::path layoutRecordBeside(const std::filesystem::path& pdf)
{
    std::filesystem::path record = pdf;
    return record.replace_extension(kLayoutRecordExtension);
}

std::string writeLayoutRecord(const Document& document, const std::filesystem::path& file)
{
    // QSaveFile writes beside the file and renames it into place on commit.
    QSaveFile out(QString::fromStdString(file.string()));
    if (!out.open(QIODevice::WriteOnly))
        return file.string() + ": " + out.errorString().toStdString();
    const std::string text = dumpDocument(document);
    if (out.write(text.data(), qint64(text.size())) != qint64(text.size()) || !out.commit())
        return file.string() + ": " + out.errorString().toStdString();
    return {};
}

} // namespace medrec::engine
