#include "report_engine/LayoutRecord.h"

#include "report_engine/LayoutDump.h"

#include <cstdlib>
#include <fstream>

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
    // Written beside it, then renamed into place: the rename replaces the file whole. No flush to
    // the disk: the PDF copy it describes gets none either, and one would cost more than the
    // record itself.
    std::filesystem::path part = file;
    part += ".part";
    const std::string text = dumpDocument(document);
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        if (!out)
            return file.string() + ": cannot write the file";
        out.write(text.data(), std::streamsize(text.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(part, ignored);
            return file.string() + ": writing failed (disk full?)";
        }
    }
    std::error_code ec;
    std::filesystem::rename(part, file, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(part, ignored);
        return file.string() + ": " + ec.message();
    }
    return {};
}

} // namespace medrec::engine
