#include "TypedBuffer.h"

#include "Errors.h"
#include "atmi.h"
#include "codec/FieldBuffer.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace medrec::tp::client {

namespace {

struct alignas(16) Header
{
    std::uint32_t magic;
    BufferType type;
    std::size_t size;
};
constexpr std::uint32_t kHeaderMagic = 0x4D524255; // "MRBU"
constexpr std::size_t kHeaderBytes = (sizeof(Header) + 15) / 16 * 16;

// The table of live buffers: module state of the library, as the buffer table of any
// transaction-monitor client is.
struct BufferTable
{
    std::mutex mutex;
    std::unordered_set<const char *> live;
};

BufferTable &table()
{
    static BufferTable t;
    return t;
}

Header *headerOf(const char *ptr) { return reinterpret_cast<Header *>(const_cast<char *>(ptr) - kHeaderBytes); }

bool parseType(const char *type, BufferType &out)
{
    if (!type)
        return false;
    static constexpr struct
    {
        const char *name;
        BufferType type;
    } kTypes[] = {{"FML", BufferType::Fml},
                  {"FML32", BufferType::Fml32},
                  {"STRING", BufferType::String},
                  {"TPINIT", BufferType::Tpinit}};
    for (const auto &t : kTypes)
        if (std::strcmp(type, t.name) == 0) {
            out = t.type;
            return true;
        }
    return false;
}

std::size_t defaultSize(BufferType type)
{
    switch (type) {
    case BufferType::Fml:
    case BufferType::Fml32:
        return 1024;
    case BufferType::String:
        return 512;
    case BufferType::Tpinit:
        return kTpinitSize;
    }
    return 0;
}

std::size_t minSize(BufferType type)
{
    switch (type) {
    case BufferType::Fml:
    case BufferType::Fml32:
        return fb::kHeaderSize;
    case BufferType::Tpinit:
        return sizeof(TPSTART_T);
    case BufferType::String:
        return 1;
    }
    return 1;
}

bool isField(BufferType type) { return type == BufferType::Fml || type == BufferType::Fml32; }

// Size the caller asked for, checked against the type's limits; 0 with tperrno set when
// it is too large.
std::size_t checkedSize(BufferType type, long size)
{
    std::size_t want = size <= 0 ? defaultSize(type) : static_cast<std::size_t>(size);
    if (want > maxSize(type)) {
        fail(TPEINVAL, std::string(typeName(type)) + " buffer size " + std::to_string(want) +
                           " exceeds the limit of " + std::to_string(maxSize(type)) + " bytes");
        return 0;
    }
    return want < minSize(type) ? minSize(type) : want;
}

} // namespace

const char *typeName(BufferType type)
{
    switch (type) {
    case BufferType::Fml:
        return "FML";
    case BufferType::Fml32:
        return "FML32";
    case BufferType::String:
        return "STRING";
    case BufferType::Tpinit:
        return "TPINIT";
    }
    return "";
}

Flavour flavourOf(BufferType type)
{
    switch (type) {
    case BufferType::Fml:
        return Flavour::Fml;
    case BufferType::Fml32:
        return Flavour::Fml32;
    case BufferType::String:
        return Flavour::String;
    case BufferType::Tpinit:
        break;
    }
    return Flavour::None;
}

std::size_t maxSize(BufferType type)
{
    switch (type) {
    case BufferType::Fml:
        return kFmlMaxSize;
    case BufferType::Fml32:
        return kFml32MaxSize;
    case BufferType::String:
        return kStringMaxSize;
    case BufferType::Tpinit:
        return kTpinitSize;
    }
    return 0;
}

char *allocate(const char *type, const char *subtype, long size)
{
    BufferType t;
    if (!parseType(type, t)) {
        fail(TPENOENT, std::string("unknown buffer type \"") + (type ? type : "(null)") +
                           "\"; known are FML, FML32, STRING and TPINIT");
        return nullptr;
    }
    if (subtype && *subtype) {
        fail(TPENOENT, std::string(typeName(t)) + " buffers have no subtype");
        return nullptr;
    }
    std::size_t n = checkedSize(t, size);
    if (n == 0)
        return nullptr;
    char *raw = static_cast<char *>(std::calloc(1, kHeaderBytes + n));
    if (!raw) {
        fail(TPEOS, "out of memory for a buffer of " + std::to_string(n) + " bytes");
        return nullptr;
    }
    auto *h = reinterpret_cast<Header *>(raw);
    h->magic = kHeaderMagic;
    h->type = t;
    h->size = n;
    char *ptr = raw + kHeaderBytes;
    if (isField(t))
        fb::init(reinterpret_cast<Fbfr *>(ptr), n);
    std::lock_guard lock(table().mutex);
    table().live.insert(ptr);
    return ptr;
}

char *reallocate(char *ptr, long size)
{
    BufferInfo info;
    if (!lookup(ptr, info)) {
        fail(TPEINVAL, "not a buffer allocated by tpalloc");
        return nullptr;
    }
    std::size_t n = checkedSize(info.type, size);
    if (n == 0)
        return nullptr;
    auto *fbfr = reinterpret_cast<Fbfr *>(ptr);
    if (isField(info.type) && fb::isValid(fbfr) && fb::used(fbfr) > n) {
        fail(TPEINVAL, "the field buffer's contents (" + std::to_string(fb::used(fbfr)) + " bytes) do not fit " +
                           std::to_string(n) + " bytes");
        return nullptr;
    }
    char *raw = static_cast<char *>(std::calloc(1, kHeaderBytes + n));
    if (!raw) {
        fail(TPEOS, "out of memory for a buffer of " + std::to_string(n) + " bytes");
        return nullptr;
    }
    std::memcpy(raw, ptr - kHeaderBytes, kHeaderBytes + std::min(n, info.size));
    auto *h = reinterpret_cast<Header *>(raw);
    h->size = n;
    char *out = raw + kHeaderBytes;
    if (isField(info.type)) {
        auto *nf = reinterpret_cast<Fbfr *>(out);
        if (fb::isValid(fbfr)) {
            std::string entries(fb::entries(fbfr));
            fb::init(nf, n);
            fb::assign(nf, entries);
        } else {
            fb::init(nf, n);
        }
    }
    {
        std::lock_guard lock(table().mutex);
        table().live.erase(ptr);
        table().live.insert(out);
    }
    std::free(ptr - kHeaderBytes);
    return out;
}

void release(char *ptr)
{
    if (!ptr)
        return;
    {
        std::lock_guard lock(table().mutex);
        if (table().live.erase(ptr) == 0)
            return;
    }
    headerOf(ptr)->magic = 0;
    std::free(ptr - kHeaderBytes);
}

bool lookup(const char *ptr, BufferInfo &info)
{
    if (!ptr)
        return false;
    std::lock_guard lock(table().mutex);
    if (!table().live.count(ptr))
        return false;
    const Header *h = headerOf(ptr);
    info.type = h->type;
    info.size = h->size;
    return h->magic == kHeaderMagic;
}

} // namespace medrec::tp::client
