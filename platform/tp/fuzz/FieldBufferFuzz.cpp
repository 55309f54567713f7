// libFuzzer harness: random sequences of changes, appends and removals on a small field
// buffer. The buffer must stay within its size and well-formed whatever happens.

#include "codec/FieldBuffer.h"
#include "codec/FieldTable.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace medrec::tp;

namespace {

constexpr int kTypes[] = {FB_CHAR, FB_SHORT, FB_LONG, FB_FLOAT, FB_DOUBLE, FB_STRING, FB_CARRAY};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    std::size_t bufferSize = fb::kHeaderSize + (std::size_t(data[0]) << 2);
    // Guard bytes after the buffer catch any write past its end.
    std::vector<char> memory(bufferSize + 64, '\x5A');
    auto *buffer = reinterpret_cast<Fbfr *>(memory.data());
    if (fb::init(buffer, bufferSize) != 0)
        return 0;
    std::size_t at = 1;
    while (at + 3 <= size) {
        std::uint8_t op = data[at], field = data[at + 1], arg = data[at + 2];
        at += 3;
        FLDID id = makeFieldId(kTypes[field % 7], 1 + (field >> 5));
        std::size_t len = std::min<std::size_t>(arg, size - at);
        std::string value(reinterpret_cast<const char *>(data + at), len);
        at += len;
        std::string stored;
        value.resize(std::max<std::size_t>(value.size(), 8), '\0');
        fb::encodeValue(id, value.data(), len, stored);
        switch (op % 4) {
        case 0:
            fb::change(buffer, id, arg % 8, stored);
            break;
        case 1:
            fb::append(buffer, id, stored);
            break;
        case 2:
            fb::remove(buffer, id, arg % 8);
            break;
        default: {
            int position = 0;
            while (fb::next(buffer, id, &position)) {
            }
            (void)fb::find(buffer, id, arg % 8);
        }
        }
        if (!fb::isValid(buffer) || fb::used(buffer) > bufferSize ||
            !fb::validateEntries(fb::entries(buffer), nullptr))
            std::abort();
        for (std::size_t g = bufferSize; g < memory.size(); ++g)
            if (memory[g] != '\x5A')
                std::abort();
    }
    return 0;
}
