#pragma once

// The field table: names, numbers and types of the fields that travel in field buffers.
//
// File format (see docs/environment-file.md): one field a line, "NAME NUMBER TYPE",
// separated by blanks; '#' starts a comment; blank lines are ignored. TYPE is one of
// char, short, long, float, double, string, carray. A field identifier carries its type:
// id = type << 25 | number, so Fldtype needs no table.

#include "fml.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace medrec::tp {

inline constexpr unsigned kFieldTypeShift = 25;
inline constexpr std::uint32_t kMaxFieldNumber = (1u << kFieldTypeShift) - 1;

constexpr FLDID makeFieldId(int type, std::uint32_t number)
{
    return (static_cast<FLDID>(type) << kFieldTypeShift) | number;
}
constexpr int fieldType(FLDID id) { return static_cast<int>(id >> kFieldTypeShift); }
constexpr std::uint32_t fieldNumber(FLDID id) { return id & kMaxFieldNumber; }
// True for a well-formed identifier: a known type and a number other than 0.
bool isValidFieldId(FLDID id);

// "char", "short", ... for a type number; null for an unknown one.
const char *fieldTypeName(int type);
// The type number of "char", "short", ...; 0 for an unknown name.
int fieldTypeFromName(std::string_view name);

class FieldTable
{
public:
    // Parses a table's text. On failure returns nullopt and sets *error (if not null) to
    // a text naming the line.
    static std::optional<FieldTable> parse(std::string_view text, std::string *error);
    // Reads and parses a table file.
    static std::optional<FieldTable> load(const std::string &path, std::string *error);

    // BADFLDID when the name is unknown.
    FLDID id(std::string_view name) const;
    // Null when the identifier is unknown.
    const std::string *name(FLDID id) const;
    std::size_t size() const { return m_byName.size(); }

private:
    struct NameHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };
    // Looked up by every field access of every call: hashed, and by string_view.
    std::unordered_map<std::string, FLDID, NameHash, std::equal_to<>> m_byName;
    std::unordered_map<FLDID, std::string> m_byId;
};

} // namespace medrec::tp
