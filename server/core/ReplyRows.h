#pragma once

// The rows of a list reply (record content, stored replies, the catalogue lists), held
// whole until the server packs them into the replies the caller gets.
//
// What goes out, row after row: occurrence i of a field is row i. A text field leaves out
// its empty values after its last non-empty one in a reply, since the client reads an
// occurrence past the last as empty text anyway; the field the client counts rows by and
// every integer field go out in every row (absent values as empty text or 0). With
// Trim::Nothing every row carries every field any row has.
//
// Rows beyond one reply: pack() fills a reply from a given row with as many whole rows as
// fit and says where the next reply starts (docs/wire-format.md). A row is never split.

#include "ServiceRegistry.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace medrec::tp {
class FieldTable;
}

namespace medrec::server {

class ReplyRows
{
public:
    enum class Trim { TrailingEmpties, Nothing };

    // countField: the field whose occurrences the client counts the rows by. fields: the
    // table the values' identifiers and types come from; without one (the import's size
    // check) "L_" names are integers and every other name a string, as the field table has
    // them.
    ReplyRows(std::string countField, Trim trim, const tp::FieldTable *fields);

    // Starts the next row.
    void addRow();
    // A value of the last row: UTF-8 text, sent as CP949. Throws std::invalid_argument for a
    // field the table lacks or of another type, and when no row was started.
    void text(std::string_view field, std::string_view utf8);
    void integer(std::string_view field, std::int32_t value);

    std::size_t rows() const { return m_rows.size(); }

    // Bytes of the entries the rows [first, end) take in one reply.
    std::size_t bytes(std::size_t first, std::size_t end) const;

    // Appends to the reply the rows from `first` on that fit in `room` bytes of entries, and
    // returns the row after the last one appended: `first` when not even that row fits.
    // Needs the field table (the constructor's); throws std::logic_error without one.
    std::size_t pack(std::size_t first, std::size_t room, Reply &reply) const;

private:
    struct Field
    {
        std::string name;
        FLDID id = BADFLDID;
        bool whole = false;      // goes out in every row
        std::string emptyStored; // what an absent value goes out as
    };
    struct Cell
    {
        std::size_t field;
        std::string stored;
        bool empty;
    };
    using Emit = void (*)(void *sink, const Field &field, std::string_view stored);

    std::size_t fieldIndex(std::string_view name, bool integer);
    void add(std::string_view name, bool integer, std::string stored, bool empty);
    // Walks rows [first, end) while they fit `room`: (the row after the last that fits, the
    // bytes they take); each value that goes out is handed to emit, when given.
    std::pair<std::size_t, std::size_t> walk(std::size_t first, std::size_t end, std::size_t room, Emit emit,
                                             void *sink) const;

    std::string m_countField;
    Trim m_trim;
    const tp::FieldTable *m_table;
    std::vector<Field> m_fields;
    std::map<std::string, std::size_t, std::less<>> m_byName;
    std::vector<std::vector<Cell>> m_rows;
};

} // namespace medrec::server
