// libFuzzer harness: the frame decoder and, for field-buffer frames, every read of the
// decoded buffer. A decoded frame must encode back to the same bytes.

#include "codec/FieldBuffer.h"
#include "codec/Frame.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

using namespace medrec::tp;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view in(reinterpret_cast<const char *>(data), size);
    if (in.size() < kFrameLengthPrefix)
        return 0;
    std::string why;
    auto length = decodeLengthPrefix(in.substr(0, kFrameLengthPrefix), &why);
    std::string_view body = in.substr(kFrameLengthPrefix);
    if (length && *length < body.size())
        body = body.substr(0, *length);
    auto frame = decodeFrame(body, &why);
    if (!frame)
        return 0;
    std::string again = encodeFrame(*frame);
    if (std::string_view(again).substr(kFrameLengthPrefix) != body)
        std::abort();
    if (frame->flavour != Flavour::Fml && frame->flavour != Flavour::Fml32)
        return 0;
    std::size_t bytes = fb::kHeaderSize + frame->data.size();
    auto storage = std::make_unique<char[]>(bytes);
    auto *buffer = reinterpret_cast<Fbfr *>(storage.get());
    if (fb::init(buffer, bytes) != 0 || fb::assign(buffer, frame->data) != 0)
        std::abort(); // the decoder accepted it, so it must fit and be valid
    for (const auto &entry : fb::list(buffer)) {
        int n = fb::occurrences(buffer, entry.id);
        for (int oc = 0; oc <= n; ++oc) {
            auto v = fb::find(buffer, entry.id, oc);
            if ((oc < n) != v.has_value())
                std::abort();
            if (v) {
                (void)fb::toText(*v);
                (void)fb::toLong(*v);
                (void)fb::toDouble(*v);
            }
        }
        int position = 0, seen = 0;
        while (fb::next(buffer, entry.id, &position))
            ++seen;
        if (seen != n)
            std::abort();
    }
    return 0;
}
