#pragma once

// Test data sets of the record kinds: a JSON file with placeholders replaced by long texts.

#include <fstream>
#include <sstream>
#include <string>

namespace medrec::testing {

inline std::string readFile(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string replaceAll(std::string text, const std::string &from, const std::string &to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The sentence `times` times, each numbered "(n)", so a test can find the last piece.
inline std::string longText(const std::string &sentence, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += sentence + " (" + std::to_string(i + 1) + ") ";
    return text;
}

} // namespace medrec::testing
