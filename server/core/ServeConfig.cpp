#include "ServeConfig.h"

#include <fstream>
#include <string_view>

namespace medrec::server {

namespace {

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool isOptionName(std::string_view name)
{
    if (name.empty() || name.front() == '-')
        return false;
    for (char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'))
            return false;
    return true;
}

} // namespace

bool readServeConfig(const std::string &path, std::vector<std::string> *arguments, std::string *error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "configuration file " + path + " cannot be opened";
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::string_view text = line;
        if (number == 1 && text.substr(0, 3) == "\xEF\xBB\xBF")
            text.remove_prefix(3);
        text = trimmed(text);
        if (text.empty() || text.front() == '#' || text.front() == ';')
            continue;
        const auto equals = text.find('=');
        const std::string_view name = trimmed(text.substr(0, equals));
        auto bad = [&](const std::string &why) {
            *error = "configuration file " + path + ": line " + std::to_string(number) + ": " + why;
            return false;
        };
        if (!isOptionName(name))
            return bad("\"" + std::string(name) + "\" is not an option name (lower-case letters, digits and '-')");
        if (name == "config")
            return bad("a configuration file cannot name another");
        arguments->push_back("--" + std::string(name));
        if (equals != std::string_view::npos) {
            const std::string_view value = trimmed(text.substr(equals + 1));
            if (value.empty())
                return bad("\"" + std::string(name) + " =\" without a value");
            arguments->emplace_back(value);
        }
    }
    return true;
}

bool ServeArguments::expand(int argc, char **argv, std::string *error)
{
    m_args.clear();
    std::vector<std::string> fromFile, fromCommandLine;
    bool haveConfig = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg != "--config") {
            fromCommandLine.emplace_back(arg);
            continue;
        }
        if (haveConfig) {
            *error = "--config given twice";
            return false;
        }
        if (i + 1 >= argc) {
            *error = "--config needs a file";
            return false;
        }
        haveConfig = true;
        if (!readServeConfig(argv[++i], &fromFile, error))
            return false;
    }
    m_args.emplace_back(argc > 0 ? argv[0] : "serve");
    m_args.insert(m_args.end(), fromFile.begin(), fromFile.end());
    m_args.insert(m_args.end(), fromCommandLine.begin(), fromCommandLine.end());
    m_pointers.clear();
    for (auto &arg : m_args)
        m_pointers.push_back(arg.data());
    m_pointers.push_back(nullptr);
    return true;
}

} // namespace medrec::server
