#include "ImportNode.h"

#include "Cp949.h"

#include <algorithm>

namespace medrec::server::store::import {

namespace {

const char *typeName(const nlohmann::json &v)
{
    return v.type_name();
}

} // namespace

std::string excerpt(std::string_view text)
{
    constexpr std::size_t kShown = 60;
    // Cut at a character boundary, never inside a UTF-8 sequence.
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + medrec::text::utf8SequenceLength(static_cast<unsigned char>(text[end]));
        if (next > kShown)
            break;
        end = next;
    }
    const bool cut = end < text.size();
    return "\"" + std::string(text.substr(0, end)) + (cut ? "...\"" : "\"");
}

void Node::requireObject(std::initializer_list<std::string_view> allowed) const
{
    if (!m_value.is_object())
        fail(std::string("must be an object, not ") + typeName(m_value));
    for (const auto &item : m_value.items()) {
        if (std::find(allowed.begin(), allowed.end(), item.key()) == allowed.end()) {
            std::string list;
            for (std::string_view a : allowed)
                list += (list.empty() ? "" : ", ") + std::string(a);
            fail("unknown member \"" + item.key() + "\" (known: " + list + ")");
        }
    }
}

std::size_t Node::requireArray() const
{
    if (!m_value.is_array())
        fail(std::string("must be an array, not ") + typeName(m_value));
    return m_value.size();
}

bool Node::has(std::string_view name) const
{
    return m_value.is_object() && m_value.contains(name);
}

Node Node::member(std::string_view name) const
{
    std::string path = m_path.empty() ? std::string(name) : m_path + "." + std::string(name);
    auto it = m_value.find(name);
    if (it == m_value.end())
        throw ImportError(path, "missing");
    return Node(*it, std::move(path));
}

Node Node::element(std::size_t index) const
{
    return Node(m_value.at(index), m_path + "[" + std::to_string(index) + "]");
}

std::string Node::asText(std::size_t maxBytes, TextKind kind) const
{
    if (!m_value.is_string())
        fail(std::string("must be a text (JSON string), not ") + typeName(m_value));
    const auto &text = m_value.get_ref<const std::string &>();
    for (unsigned char c : text) {
        const bool allowedControl = kind == TextKind::Multiline && (c == '\n' || c == '\r' || c == '\t');
        if ((c < 0x20 || c == 0x7F) && !allowedControl)
            fail("holds a control character (code " + std::to_string(c) + ")");
    }
    if (!medrec::text::isCp949Representable(text))
        fail(excerpt(text) + " holds a character that CP949 cannot represent");
    const std::size_t width = medrec::text::cp949Width(text);
    if (width > maxBytes)
        fail("is " + std::to_string(width) + " bytes long in CP949; at most " + std::to_string(maxBytes)
             + " are allowed");
    return text;
}

std::int64_t Node::asInteger(std::int64_t min, std::int64_t max) const
{
    if (!m_value.is_number_integer())
        fail(std::string("must be a whole number, not ") + typeName(m_value));
    // Unsigned values above the signed range are out of range whatever min and max are.
    if (m_value.is_number_unsigned() && m_value.get<std::uint64_t>() > static_cast<std::uint64_t>(max))
        fail("must lie between " + std::to_string(min) + " and " + std::to_string(max));
    const auto v = m_value.get<std::int64_t>();
    if (v < min || v > max)
        fail("must lie between " + std::to_string(min) + " and " + std::to_string(max));
    return v;
}

std::string Node::text(std::string_view name, std::size_t maxBytes, bool required, TextKind kind) const
{
    if (!has(name)) {
        if (required)
            member(name); // throws "missing" with the member's path
        return {};
    }
    const Node child = member(name);
    std::string value = child.asText(maxBytes, kind);
    if (required && value.empty())
        child.fail("must not be empty");
    return value;
}

std::size_t Node::arraySize(std::string_view name) const
{
    return has(name) ? member(name).requireArray() : 0;
}

} // namespace medrec::server::store::import
