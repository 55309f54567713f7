#include "TextFile.h"

#include "system/Environment.h"

#include <fstream>
#include <sstream>

namespace medrec::tp {

std::optional<std::string> readWholeFile(const std::string &path)
{
    std::ifstream in(platform::pathFromUtf8(path), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace medrec::tp
