#include "FieldBuffer.h"

#include "FieldTable.h"
#include "Limits.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace medrec::tp::fb {

namespace {

constexpr std::uint32_t kMagic = 0x4246524D; // "MRFB" read as little-endian
constexpr std::size_t kOffMagic = 0, kOffSize = 4, kOffUsed = 8, kOffCacheId = 12, kOffCacheOcc = 16,
                      kOffCacheAt = 20;

std::uint32_t load32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return std::uint32_t(u[0]) | std::uint32_t(u[1]) << 8 | std::uint32_t(u[2]) << 16 | std::uint32_t(u[3]) << 24;
}

void store32(char *p, std::uint32_t v)
{
    auto *u = reinterpret_cast<unsigned char *>(p);
    u[0] = static_cast<unsigned char>(v);
    u[1] = static_cast<unsigned char>(v >> 8);
    u[2] = static_cast<unsigned char>(v >> 16);
    u[3] = static_cast<unsigned char>(v >> 24);
}

const char *bytesOf(const Fbfr *b) { return reinterpret_cast<const char *>(b); }
char *bytesOf(Fbfr *b) { return reinterpret_cast<char *>(b); }

std::uint32_t headerWord(const Fbfr *b, std::size_t off) { return load32(bytesOf(b) + off); }
void setHeaderWord(Fbfr *b, std::size_t off, std::uint32_t v) { store32(bytesOf(b) + off, v); }

void setUsed(Fbfr *b, std::size_t used) { setHeaderWord(b, kOffUsed, static_cast<std::uint32_t>(used)); }

// The lookup cache lives in the buffer's header; it is a hint, checked before use.
void setCache(const Fbfr *b, FLDID id, int oc, std::size_t at)
{
    auto *w = const_cast<Fbfr *>(b);
    setHeaderWord(w, kOffCacheId, id);
    setHeaderWord(w, kOffCacheOcc, static_cast<std::uint32_t>(oc));
    setHeaderWord(w, kOffCacheAt, static_cast<std::uint32_t>(at));
}
void clearCache(Fbfr *b) { setCache(b, BADFLDID, 0, 0); }

// Fixed value size of a type, or 0 for the variable ones (string, carray).
std::size_t fixedSize(int type)
{
    switch (type) {
    case FB_CHAR:
        return 1;
    case FB_SHORT:
        return 2;
    case FB_INT:
    case FB_LONG:
    case FB_FLOAT:
        return 4;
    case FB_DOUBLE:
        return 8;
    default:
        return 0;
    }
}

// Walks the entries of a valid buffer. Entry lengths were checked when they were written
// or assigned, but a caller's own memory may have been scribbled on: every step is still
// bounded by used.
struct Cursor
{
    const char *base;
    std::size_t at;
    std::size_t end;

    bool valid() const { return at + kEntryHeaderSize <= end && at + kEntryHeaderSize + length() <= end; }
    FLDID id() const { return load32(base + at); }
    std::size_t length() const { return load32(base + at + 4); }
    void advance() { at += kEntryHeaderSize + length(); }
    Value value() const
    {
        Value v{id(), base + at + kEntryHeaderSize, length()};
        if (fieldType(v.id) == FB_STRING && v.length > 0)
            --v.length; // the terminating zero
        return v;
    }
};

Cursor cursorAt(const Fbfr *b, std::size_t at) { return Cursor{bytesOf(b), at, used(b)}; }

// Offset of occurrence oc of id, or 0 when absent; uses the cache, and refreshes it when
// remember is set. A change that may still fail must not refresh it: a failed change leaves
// every byte of the buffer as it was.
std::size_t locate(const Fbfr *b, FLDID id, int oc, bool remember = true)
{
    int seen = 0;
    std::size_t start = kHeaderSize;
    if (headerWord(b, kOffCacheId) == id) {
        int cachedOcc = static_cast<int>(headerWord(b, kOffCacheOcc));
        std::size_t cachedAt = headerWord(b, kOffCacheAt);
        if (cachedOcc <= oc && cachedAt >= kHeaderSize && cachedAt < used(b)) {
            Cursor c = cursorAt(b, cachedAt);
            if (c.valid() && c.id() == id) {
                seen = cachedOcc;
                start = cachedAt;
            }
        }
    }
    for (Cursor c = cursorAt(b, start); c.valid(); c.advance()) {
        if (c.id() != id)
            continue;
        if (seen == oc) {
            if (remember)
                setCache(b, id, oc, c.at);
            return c.at;
        }
        ++seen;
    }
    return 0;
}

// The stored bytes of an empty occurrence (used to fill the gaps below a new one).
std::string emptyStored(int type)
{
    if (type == FB_STRING)
        return std::string(1, '\0');
    return std::string(fixedSize(type), '\0');
}

void writeEntry(char *at, FLDID id, std::string_view stored)
{
    store32(at, id);
    store32(at + 4, static_cast<std::uint32_t>(stored.size()));
    if (!stored.empty())
        std::memcpy(at + kEntryHeaderSize, stored.data(), stored.size());
}

template <typename T> T readAs(const Value &v)
{
    T out{};
    std::memcpy(&out, v.data, sizeof out);
    return out;
}

bool checkStored(FLDID id, std::string_view stored)
{
    int type = fieldType(id);
    if (std::size_t fixed = fixedSize(type))
        return stored.size() == fixed;
    if (type == FB_STRING)
        return !stored.empty() && stored.back() == '\0' && stored.find('\0') == stored.size() - 1;
    return true;
}

} // namespace

int init(Fbfr *buffer, std::size_t size)
{
    if (!buffer || size > kFml32MaxSize)
        return FEINVAL;
    if (size < kHeaderSize)
        return FNOSPACE;
    setHeaderWord(buffer, kOffMagic, kMagic);
    setHeaderWord(buffer, kOffSize, static_cast<std::uint32_t>(size));
    setUsed(buffer, kHeaderSize);
    clearCache(buffer);
    return 0;
}

bool isValid(const Fbfr *buffer)
{
    if (!buffer || headerWord(buffer, kOffMagic) != kMagic)
        return false;
    std::size_t s = headerWord(buffer, kOffSize);
    std::size_t u = headerWord(buffer, kOffUsed);
    return s >= kHeaderSize && s <= kFml32MaxSize && u >= kHeaderSize && u <= s;
}

std::size_t size(const Fbfr *buffer) { return headerWord(buffer, kOffSize); }
std::size_t used(const Fbfr *buffer) { return headerWord(buffer, kOffUsed); }

std::optional<Value> find(const Fbfr *buffer, FLDID id, int oc)
{
    if (oc < 0)
        return std::nullopt;
    std::size_t at = locate(buffer, id, oc);
    if (at == 0)
        return std::nullopt;
    return cursorAt(buffer, at).value();
}

int occurrences(const Fbfr *buffer, FLDID id)
{
    int n = 0;
    for (Cursor c = cursorAt(buffer, kHeaderSize); c.valid(); c.advance())
        if (c.id() == id)
            ++n;
    return n;
}

std::optional<Value> next(const Fbfr *buffer, FLDID id, int *position)
{
    std::size_t start = *position <= 0 ? kHeaderSize : static_cast<std::size_t>(*position);
    if (start < kHeaderSize)
        start = kHeaderSize;
    for (Cursor c = cursorAt(buffer, start); c.valid(); c.advance()) {
        if (c.id() != id)
            continue;
        Value v = c.value();
        c.advance();
        *position = static_cast<int>(c.at);
        return v;
    }
    *position = static_cast<int>(used(buffer));
    return std::nullopt;
}

int encodeValue(FLDID id, const char *value, std::size_t length, std::string &stored)
{
    if (!isValidFieldId(id))
        return FBADFLD;
    if (!value)
        return FEINVAL;
    int type = fieldType(id);
    switch (type) {
    case FB_STRING: {
        std::size_t n = length == 0 ? std::strlen(value) : length;
        const void *zero = std::memchr(value, '\0', n);
        if (zero)
            n = static_cast<std::size_t>(static_cast<const char *>(zero) - value);
        stored.assign(value, n);
        stored.push_back('\0');
        return 0;
    }
    case FB_CARRAY:
        stored.assign(value, length);
        return 0;
    default:
        stored.assign(value, fixedSize(type));
        return 0;
    }
}

int change(Fbfr *buffer, FLDID id, int oc, std::string_view stored)
{
    if (!buffer || oc < 0)
        return FEINVAL;
    if (!isValidFieldId(id))
        return FBADFLD;
    if (!checkStored(id, stored))
        return FTYPERR;
    char *base = bytesOf(buffer);
    std::size_t total = size(buffer);
    std::size_t usedNow = used(buffer);
    if (std::size_t at = locate(buffer, id, oc, false)) {
        std::size_t oldLen = cursorAt(buffer, at).length();
        std::size_t tail = at + kEntryHeaderSize + oldLen;
        if (stored.size() > oldLen && stored.size() - oldLen > total - usedNow)
            return FNOSPACE;
        std::size_t newTail = at + kEntryHeaderSize + stored.size();
        std::memmove(base + newTail, base + tail, usedNow - tail);
        writeEntry(base + at, id, stored);
        setUsed(buffer, usedNow - oldLen + stored.size());
        clearCache(buffer);
        return 0;
    }
    int have = occurrences(buffer, id);
    std::string empty = emptyStored(fieldType(id));
    std::size_t need = entrySize(stored.size()) + static_cast<std::size_t>(oc - have) * entrySize(empty.size());
    if (need > total - usedNow)
        return FNOSPACE;
    for (int i = have; i < oc; ++i)
        append(buffer, id, empty);
    return append(buffer, id, stored);
}

int append(Fbfr *buffer, FLDID id, std::string_view stored)
{
    if (!buffer)
        return FEINVAL;
    if (!isValidFieldId(id))
        return FBADFLD;
    if (!checkStored(id, stored))
        return FTYPERR;
    std::size_t usedNow = used(buffer);
    if (entrySize(stored.size()) > size(buffer) - usedNow)
        return FNOSPACE;
    writeEntry(bytesOf(buffer) + usedNow, id, stored);
    setUsed(buffer, usedNow + entrySize(stored.size()));
    return 0;
}

int remove(Fbfr *buffer, FLDID id, int oc)
{
    if (!buffer || oc < 0)
        return FEINVAL;
    std::size_t at = locate(buffer, id, oc);
    if (at == 0)
        return FNOTPRES;
    char *base = bytesOf(buffer);
    std::size_t usedNow = used(buffer);
    std::size_t tail = at + entrySize(cursorAt(buffer, at).length());
    std::memmove(base + at, base + tail, usedNow - tail);
    setUsed(buffer, usedNow - (tail - at));
    clearCache(buffer);
    return 0;
}

std::string toText(const Value &v)
{
    char buf[64];
    switch (fieldType(v.id)) {
    case FB_STRING:
    case FB_CARRAY:
    case FB_CHAR:
        return std::string(v.data, v.length);
    case FB_SHORT:
        return std::to_string(readAs<std::int16_t>(v));
    case FB_INT:
    case FB_LONG:
        return std::to_string(readAs<std::int32_t>(v));
    case FB_FLOAT: {
        auto r = std::to_chars(buf, buf + sizeof buf, readAs<float>(v));
        return std::string(buf, r.ptr);
    }
    case FB_DOUBLE: {
        auto r = std::to_chars(buf, buf + sizeof buf, readAs<double>(v));
        return std::string(buf, r.ptr);
    }
    default:
        return {};
    }
}

long toLong(const Value &v)
{
    switch (fieldType(v.id)) {
    case FB_SHORT:
        return readAs<std::int16_t>(v);
    case FB_INT:
    case FB_LONG:
        return readAs<std::int32_t>(v);
    case FB_CHAR:
        return static_cast<unsigned char>(v.data[0]);
    case FB_FLOAT:
    case FB_DOUBLE: {
        double d = toDouble(v);
        if (!std::isfinite(d) || d >= 9.2e18 || d <= -9.2e18)
            return 0;
        return static_cast<long>(d);
    }
    default: {
        std::string text(v.data, v.length);
        return std::strtol(text.c_str(), nullptr, 10);
    }
    }
}

double toDouble(const Value &v)
{
    switch (fieldType(v.id)) {
    case FB_FLOAT:
        return readAs<float>(v);
    case FB_DOUBLE:
        return readAs<double>(v);
    case FB_STRING:
    case FB_CARRAY: {
        std::string text(v.data, v.length);
        return std::strtod(text.c_str(), nullptr);
    }
    default:
        return static_cast<double>(toLong(v));
    }
}

std::vector<Entry> list(const Fbfr *buffer)
{
    std::vector<Entry> out;
    for (Cursor c = cursorAt(buffer, kHeaderSize); c.valid(); c.advance())
        out.push_back(Entry{c.id(), std::string_view(c.base + c.at + kEntryHeaderSize, c.length())});
    return out;
}

std::string_view entries(const Fbfr *buffer)
{
    return {bytesOf(buffer) + kHeaderSize, used(buffer) - kHeaderSize};
}

bool validateEntries(std::string_view bytes, std::string *error)
{
    auto fail = [error](std::size_t at, const char *why) {
        if (error)
            *error = "field entry at byte " + std::to_string(at) + ": " + why;
        return false;
    };
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < kEntryHeaderSize)
            return fail(at, "truncated entry header");
        FLDID id = load32(bytes.data() + at);
        std::size_t len = load32(bytes.data() + at + 4);
        if (!isValidFieldId(id))
            return fail(at, "bad field identifier");
        if (len > bytes.size() - at - kEntryHeaderSize)
            return fail(at, "value length runs past the buffer");
        if (!checkStored(id, bytes.substr(at + kEntryHeaderSize, len)))
            return fail(at, "value does not match the field type");
        at += kEntryHeaderSize + len;
    }
    return true;
}

int assign(Fbfr *buffer, std::string_view bytes)
{
    if (!buffer)
        return FEINVAL;
    if (!validateEntries(bytes, nullptr))
        return FBADFLD;
    if (bytes.size() > size(buffer) - kHeaderSize)
        return FNOSPACE;
    if (!bytes.empty())
        std::memcpy(bytesOf(buffer) + kHeaderSize, bytes.data(), bytes.size());
    setUsed(buffer, kHeaderSize + bytes.size());
    clearCache(buffer);
    return 0;
}

const char *errorText(int error)
{
    switch (error) {
    case FMINVAL:
        return "no field-buffer error";
    case FALIGNERR:
        return "field buffer is not aligned";
    case FNOTFLD:
        return "not a field buffer (not initialised, or overwritten)";
    case FNOSPACE:
        return "no space left in the field buffer for the change";
    case FNOTPRES:
        return "field occurrence not present in the buffer";
    case FBADFLD:
        return "bad field identifier, or malformed field entries";
    case FTYPERR:
        return "value does not match the field's type";
    case FEUNIX:
        return "operating-system error while reading the field table";
    case FBADNAME:
        return "field name not in the field table";
    case FMALLOC:
        return "out of memory";
    case FBADVIEW:
        return "unknown view";
    case FVFSYNTAX:
        return "syntax error in a view file";
    case FVFOPEN:
        return "view file cannot be opened";
    case FBADACM:
        return "bad access method";
    case FNOCNAME:
        return "no such compound name";
    case FEBADOP:
        return "operation not supported for this field type";
    case FEINVAL:
        return "invalid argument (null buffer, negative occurrence, size out of range)";
    default:
        return "unknown field-buffer error";
    }
}

} // namespace medrec::tp::fb
