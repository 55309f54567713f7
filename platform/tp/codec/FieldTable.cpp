#include "FieldTable.h"

#include "TextFile.h"

#include <charconv>
#include <vector>

namespace medrec::tp {

namespace {

constexpr std::string_view kTypeNames[] = {"", "char", "short", "int", "long", "float", "double", "string",
                                           "carray"};

bool isNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isNameChar(char c) { return isNameStart(c) || (c >= '0' && c <= '9'); }

bool isValidName(std::string_view name)
{
    if (name.empty() || name.size() > 30 || !isNameStart(name.front()))
        return false;
    for (char c : name)
        if (!isNameChar(c))
            return false;
    return true;
}

std::vector<std::string_view> words(std::string_view line)
{
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
            ++i;
        if (i > start)
            out.push_back(line.substr(start, i - start));
    }
    return out;
}

} // namespace

bool isValidFieldId(FLDID id)
{
    int type = fieldType(id);
    return fieldNumber(id) != 0 && type >= FB_CHAR && type <= FB_CARRAY;
}

const char *fieldTypeName(int type)
{
    if (type < FB_CHAR || type > FB_CARRAY)
        return nullptr;
    return kTypeNames[type].data();
}

int fieldTypeFromName(std::string_view name)
{
    for (int t = FB_CHAR; t <= FB_CARRAY; ++t)
        if (kTypeNames[t] == name)
            return t;
    return 0;
}

std::optional<FieldTable> FieldTable::parse(std::string_view text, std::string *error)
{
    auto fail = [error](int line, const std::string &why) -> std::optional<FieldTable> {
        if (error)
            *error = "line " + std::to_string(line) + ": " + why;
        return std::nullopt;
    };
    FieldTable table;
    int lineNo = 0;
    while (!text.empty()) {
        ++lineNo;
        std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
        if (std::size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        auto w = words(line);
        if (w.empty())
            continue;
        if (w.size() != 3)
            return fail(lineNo, "expected NAME NUMBER TYPE");
        if (!isValidName(w[0]))
            return fail(lineNo, "bad field name \"" + std::string(w[0]) + "\"");
        std::uint32_t number = 0;
        auto [end, ec] = std::from_chars(w[1].data(), w[1].data() + w[1].size(), number);
        if (ec != std::errc{} || end != w[1].data() + w[1].size() || number == 0 || number > kMaxFieldNumber)
            return fail(lineNo, "bad field number \"" + std::string(w[1]) + "\"");
        int type = fieldTypeFromName(w[2]);
        if (type == 0 || type == FB_INT)
            return fail(lineNo, "unknown field type \"" + std::string(w[2]) + "\"");
        FLDID id = makeFieldId(type, number);
        if (table.m_byName.count(w[0]))
            return fail(lineNo, "field " + std::string(w[0]) + " defined twice");
        for (const auto &[otherId, otherName] : table.m_byId)
            if (fieldNumber(otherId) == number)
                return fail(lineNo, "field number " + std::to_string(number) + " already used by " + otherName);
        table.m_byName.emplace(std::string(w[0]), id);
        table.m_byId.emplace(id, std::string(w[0]));
    }
    return table;
}

std::optional<FieldTable> FieldTable::load(const std::string &path, std::string *error)
{
    const auto text = readWholeFile(path);
    if (!text) {
        if (error)
            *error = "cannot open field table " + path;
        return std::nullopt;
    }
    std::string why;
    auto table = parse(*text, &why);
    if (!table && error)
        *error = "field table " + path + ": " + why;
    return table;
}

FLDID FieldTable::id(std::string_view name) const
{
    auto it = m_byName.find(name);
    return it == m_byName.end() ? BADFLDID : it->second;
}

const std::string *FieldTable::name(FLDID id) const
{
    auto it = m_byId.find(id);
    return it == m_byId.end() ? nullptr : &it->second;
}

} // namespace medrec::tp
