#pragma once

// Field buffers on raw bytes: the layout behind FBFR and the operations of fml.h.
//
// Layout (every number little-endian):
//   0  u32 magic "MRFB"      12 u32 cached field id    } where the last lookup ended,
//   4  u32 size (whole buffer) 16 u32 cached occurrence } so reading occurrences one after
//   8  u32 used (header+entries)20 u32 cached offset    } the other does not rescan
//   24 entries: u32 field id, u32 length, length bytes of value
// Entries stand in the order they were added; the occurrences of one field stand in
// occurrence order. Values: string = bytes plus a terminating zero (length counts it),
// carray = bytes, char = 1 byte, short = int16, long = int32, float, double (IEEE).
// The bytes of the entries are the buffer's wire form.
//
// Every operation checks bounds against the buffer's own size and never writes past it;
// failures are FML error numbers (fml.h), 0 means success. None of this touches any
// shared state, so any thread may use it on its own buffers.

#include "fml.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace medrec::tp::fb {

inline constexpr std::size_t kHeaderSize = 24;
inline constexpr std::size_t kEntryHeaderSize = 8;

// Room the entry of a value of this many bytes takes.
constexpr std::size_t entrySize(std::size_t valueBytes) { return kEntryHeaderSize + valueBytes; }

// Makes an empty field buffer of size bytes at memory (at least kHeaderSize, at most
// 524,256). FNOSPACE when too small, FEINVAL when too large or memory is null.
int init(Fbfr *buffer, std::size_t size);
// True when the memory holds an initialised field buffer whose header is consistent.
bool isValid(const Fbfr *buffer);
std::size_t size(const Fbfr *buffer);
std::size_t used(const Fbfr *buffer);

// A value in the buffer: its bytes (for strings without the terminating zero).
struct Value
{
    FLDID id = BADFLDID;
    const char *data = nullptr;
    std::size_t length = 0;
    std::string_view bytes() const { return {data, length}; }
};

// Occurrence oc of the field, or nullopt.
std::optional<Value> find(const Fbfr *buffer, FLDID id, int oc);
int occurrences(const Fbfr *buffer, FLDID id);

// The next occurrence of the field at or after byte position *position of the buffer
// (0 = the start); on success *position is moved past it. nullopt at the end.
std::optional<Value> next(const Fbfr *buffer, FLDID id, int *position);

// Encodes a value given the C way (fml.h Fchg) into its stored bytes: text types take
// length bytes (0 = up to the terminating zero; strings stop at the first zero),
// numeric types read their C type at value. FNOTFLD/FBADFLD for a bad identifier.
int encodeValue(FLDID id, const char *value, std::size_t length, std::string &stored);

// Sets occurrence oc to the stored bytes (from encodeValue), adding empty occurrences
// below it as needed. FNOSPACE, leaving the buffer as it was, when it would not fit.
int change(Fbfr *buffer, FLDID id, int oc, std::string_view stored);
// Appends the next occurrence of the field; the caller knows it is the next one (no scan).
int append(Fbfr *buffer, FLDID id, std::string_view stored);
// Removes occurrence oc; FNOTPRES when absent.
int remove(Fbfr *buffer, FLDID id, int oc);

// Conversions of a value to the caller's type (fml.h Fvals/Fvall/Fget semantics).
std::string toText(const Value &value);
long toLong(const Value &value);
double toDouble(const Value &value);

// Every entry in buffer order with its stored bytes (strings keep their zero).
struct Entry
{
    FLDID id;
    std::string_view stored;
};
std::vector<Entry> list(const Fbfr *buffer);

// The wire form: the entries' bytes.
std::string_view entries(const Fbfr *buffer);
// Checks that bytes are well-formed entries; on failure returns false with *error set.
bool validateEntries(std::string_view bytes, std::string *error);
// Replaces the buffer's contents with the validated entries. FNOSPACE when they do not
// fit the buffer's size, FBADFLD when they are malformed; the buffer is unchanged then.
int assign(Fbfr *buffer, std::string_view bytes);

// Text of an FML error number.
const char *errorText(int error);

} // namespace medrec::tp::fb
