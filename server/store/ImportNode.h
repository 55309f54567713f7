#pragma once

// Reading the import document: a JSON value together with its path, and the checks every
// member goes through. A failed check throws ImportError naming the path; the importer
// turns it into its message. Internal to the store.

#include <nlohmann/json.hpp>

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace medrec::server::store::import {

class ImportError : public std::runtime_error
{
public:
    ImportError(const std::string &path, const std::string &message)
        : std::runtime_error(path.empty() ? message : path + ": " + message)
    {
    }
};

enum class TextKind {
    Line,     // one line: no control characters
    Multiline // free text: line breaks and tabs allowed
};

class Node
{
public:
    Node(const nlohmann::json &value, std::string path) : m_value(value), m_path(std::move(path)) {}

    const nlohmann::json &value() const { return m_value; }
    const std::string &path() const { return m_path; }

    [[noreturn]] void fail(const std::string &message) const { throw ImportError(m_path, message); }

    // This value must be an object whose members are all among allowed.
    void requireObject(std::initializer_list<std::string_view> allowed) const;
    // This value must be an array; returns its size.
    std::size_t requireArray() const;

    bool has(std::string_view name) const;
    // The member (which must exist: check has() first for optional ones).
    Node member(std::string_view name) const;
    Node element(std::size_t index) const;

    // This value as checked text: a JSON string every character of which CP949 holds, at
    // most maxBytes CP949 bytes.
    std::string asText(std::size_t maxBytes, TextKind kind = TextKind::Line) const;
    // This value as a whole number in [min, max].
    std::int64_t asInteger(std::int64_t min, std::int64_t max) const;

    // A text member; required ones must be present and not empty, optional ones give "".
    std::string text(std::string_view name, std::size_t maxBytes, bool required,
                     TextKind kind = TextKind::Line) const;
    // An optional array member: its size, 0 when absent.
    std::size_t arraySize(std::string_view name) const;

private:
    const nlohmann::json &m_value;
    std::string m_path;
};

// A text shown in a message: quoted, cut to a readable length.
std::string excerpt(std::string_view text);

} // namespace medrec::server::store::import
