#include "DataPaths.h"

#include "system/Environment.h"
#include "system/ProgramPath.h"

#include <fstream>
#include <string>
#include <system_error>

namespace medrec::paths {

namespace fs = std::filesystem;

namespace {

struct Location
{
    const char *variable;
    const char *installed; // relative to the program's folder
    const char *buildKey;  // key in medrec-build-tree.paths
};

Location location(Data what)
{
    switch (what) {
    case Data::Forms:
        return {"MEDREC_FORMS_DIR", "../share/medrec/forms", "forms"};
    case Data::Logo:
        return {"MEDREC_LOGO_DIR", "../share/medrec/logo", "logo"};
    case Data::FieldTable:
        return {"MEDREC_FIELD_TABLE", "../share/medrec-server/fields.tbl", "fields"};
    case Data::Fonts:
        return {"MEDREC_FONTS_DIR", "../share/medrec/fonts", "fonts"};
    }
    return {"", "", ""};
}

constexpr const char *kBuildTreeFile = "medrec-build-tree.paths";
constexpr int kBuildTreeLevels = 4;

bool present(const fs::path &path)
{
    std::error_code ec;
    return !path.empty() && fs::exists(path, ec);
}

std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The value of `key` in the build tree's paths file, or empty.
fs::path buildTreeValue(const fs::path &programDir, const char *key)
{
    fs::path dir = programDir;
    for (int level = 0; level <= kBuildTreeLevels && !dir.empty(); ++level) {
        std::ifstream in(dir / kBuildTreeFile);
        if (in) {
            std::string line;
            while (std::getline(in, line)) {
                const auto equals = line.find('=');
                if (line.empty() || line[0] == '#' || equals == std::string::npos)
                    continue;
                if (trimmed(line.substr(0, equals)) == key)
                    return platform::pathFromUtf8(trimmed(line.substr(equals + 1)));
            }
            return {};
        }
        if (dir == dir.root_path())
            break;
        dir = dir.parent_path();
    }
    return {};
}

} // namespace

const char *overrideVariable(Data what) { return location(what).variable; }

fs::path programDir()
{
    return platform::programPath().parent_path();
}

fs::path locateFrom(Data what, const fs::path &programDir)
{
    const Location where = location(what);
    if (const auto value = platform::nonEmptyEnvironmentVariable(where.variable))
        return platform::pathFromUtf8(*value);
    if (!programDir.empty()) {
        const fs::path installed = (programDir / where.installed).lexically_normal();
        if (present(installed))
            return installed;
        if (fs::path built = buildTreeValue(programDir, where.buildKey); present(built))
            return built;
    }
    return {};
}

fs::path locate(Data what) { return locateFrom(what, programDir()); }

} // namespace medrec::paths
