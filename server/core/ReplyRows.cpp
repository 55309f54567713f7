#include "ReplyRows.h"

#include "Cp949.h"
#include "codec/FieldBuffer.h"
#include "codec/FieldTable.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace medrec::server {

namespace {

bool isTextType(int type) { return type == FB_STRING || type == FB_CARRAY || type == FB_CHAR; }

// The stored bytes of a text value in a field of this type (fb::change's rules).
std::string storedText(int type, std::string cp949)
{
    if (type == FB_CHAR)
        return std::string(1, cp949.empty() ? '\0' : cp949.front());
    if (type == FB_STRING) {
        cp949.resize(std::min(cp949.size(), cp949.find('\0'))); // a zero byte ends a string
        cp949.push_back('\0');
    }
    return cp949;
}

std::string storedInteger(std::int32_t value)
{
    return std::string(reinterpret_cast<const char *>(&value), sizeof value);
}

} // namespace

ReplyRows::ReplyRows(std::string countField, Trim trim, const tp::FieldTable *fields)
    : m_countField(std::move(countField)), m_trim(trim), m_table(fields)
{
}

void ReplyRows::addRow() { m_rows.emplace_back(); }

std::size_t ReplyRows::fieldIndex(std::string_view name, bool integer)
{
    if (const auto it = m_byName.find(name); it != m_byName.end())
        return it->second;
    Field field;
    field.name = std::string(name);
    int type = integer ? FB_LONG : FB_STRING;
    if (m_table) {
        field.id = m_table->id(name);
        if (field.id == BADFLDID)
            throw std::invalid_argument("field " + field.name + " is not in the field table");
        type = tp::fieldType(field.id);
        if (integer ? type != FB_LONG : !isTextType(type))
            throw std::invalid_argument("field " + field.name + " is a " + tp::fieldTypeName(type) + " field");
    }
    field.whole = integer || m_trim == Trim::Nothing || name == m_countField;
    field.emptyStored = integer ? storedInteger(0) : storedText(type, {});
    m_fields.push_back(std::move(field));
    m_byName.emplace(std::string(name), m_fields.size() - 1);
    return m_fields.size() - 1;
}

void ReplyRows::add(std::string_view name, bool integer, std::string stored, bool empty)
{
    if (m_rows.empty())
        throw std::invalid_argument("a value of field " + std::string(name) + " before the first row");
    const std::size_t field = fieldIndex(name, integer);
    m_rows.back().push_back(Cell{field, std::move(stored), empty});
}

void ReplyRows::text(std::string_view field, std::string_view utf8)
{
    const bool empty = utf8.empty();
    int type = FB_STRING;
    if (m_table) {
        const FLDID id = m_table->id(field);
        type = id == BADFLDID ? FB_STRING : tp::fieldType(id); // an unknown name is refused below
    }
    add(field, false, storedText(type, text::toCp949(utf8)), empty);
}

void ReplyRows::integer(std::string_view field, std::int32_t value)
{
    add(field, true, storedInteger(value), false);
}

std::pair<std::size_t, std::size_t> ReplyRows::walk(std::size_t first, std::size_t end, std::size_t room,
                                                    Emit emit, void *sink) const
{
    // Occurrences of each field this reply holds so far; a value after a gap brings the
    // empty occurrences of the gap with it.
    std::vector<std::size_t> sent(m_fields.size(), 0);
    std::vector<const Cell *> cells(m_fields.size(), nullptr);
    std::size_t used = 0;
    std::size_t row = first;
    for (; row < end; ++row) {
        const std::size_t k = row - first;
        std::fill(cells.begin(), cells.end(), nullptr);
        for (const Cell &cell : m_rows[row])
            cells[cell.field] = &cell; // a field given twice in a row keeps the last value
        std::size_t cost = 0;
        for (std::size_t f = 0; f < m_fields.size(); ++f) {
            const Field &field = m_fields[f];
            if (!field.whole && (!cells[f] || cells[f]->empty))
                continue;
            cost += (k - sent[f]) * tp::fb::entrySize(field.emptyStored.size());
            cost += tp::fb::entrySize(cells[f] ? cells[f]->stored.size() : field.emptyStored.size());
        }
        if (used + cost > room)
            break;
        used += cost;
        for (std::size_t f = 0; f < m_fields.size(); ++f) {
            const Field &field = m_fields[f];
            if (!field.whole && (!cells[f] || cells[f]->empty))
                continue;
            if (emit) {
                for (std::size_t gap = sent[f]; gap < k; ++gap)
                    emit(sink, field, field.emptyStored);
                emit(sink, field, cells[f] ? std::string_view(cells[f]->stored) : std::string_view(field.emptyStored));
            }
            sent[f] = k + 1;
        }
    }
    return {row, used};
}

std::size_t ReplyRows::bytes(std::size_t first, std::size_t end) const
{
    return walk(first, std::min(end, m_rows.size()), SIZE_MAX, nullptr, nullptr).second;
}

std::size_t ReplyRows::pack(std::size_t first, std::size_t room, Reply &reply) const
{
    if (!m_table)
        throw std::logic_error("reply rows without a field table cannot be sent");
    struct Sink
    {
        Reply *reply;
        bool ok = true;
    } sink{&reply};
    const auto emit = [](void *to, const Field &field, std::string_view stored) {
        auto *s = static_cast<Sink *>(to);
        s->ok = s->reply->appendStored(field.id, stored) && s->ok;
    };
    const std::size_t stop = walk(first, m_rows.size(), room, emit, &sink).first;
    if (!sink.ok)
        throw std::logic_error("reply rows overflowed the room they were measured for");
    return stop;
}

} // namespace medrec::server
