#pragma once

// Typed buffers (tpalloc): a hidden header before the pointer handed out records the
// buffer's type and size. Live buffers are kept in a table, so tpfree and tpcall refuse
// pointers the library did not hand out instead of reading memory before them.
// FML and FML32 buffers come back initialised as empty field buffers of their full size.

#include "codec/Limits.h"

#include <cstddef>
#include <string>

namespace medrec::tp::client {

enum class BufferType
{
    Fml,
    Fml32,
    String,
    Tpinit
};

struct BufferInfo
{
    BufferType type;
    std::size_t size; // bytes usable from the handed-out pointer
};

// Null with tperrno set on failure (unknown type TPENOENT, size over the type's limit
// TPEINVAL, no memory TPEOS). size <= 0 gives the type's default size.
char *allocate(const char *type, const char *subtype, long size);
// Grows or shrinks a buffer, keeping its contents (field buffers keep their fields).
char *reallocate(char *ptr, long size);
void release(char *ptr);
// False for a pointer that is not a live typed buffer.
bool lookup(const char *ptr, BufferInfo &info);

const char *typeName(BufferType type);
Flavour flavourOf(BufferType type);
// The largest size a buffer of the type may have.
std::size_t maxSize(BufferType type);

} // namespace medrec::tp::client
