#include "Frame.h"

#include "FieldBuffer.h"

namespace medrec::tp {

namespace {

constexpr std::uint8_t kVersion = 1;

void put32(std::string &out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t get32(std::string_view in, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= std::uint32_t(static_cast<unsigned char>(in[at + i])) << (8 * i);
    return v;
}

bool knownKind(std::uint8_t k)
{
    switch (static_cast<FrameKind>(k)) {
    case FrameKind::Init:
    case FrameKind::Call:
    case FrameKind::Begin:
    case FrameKind::Commit:
    case FrameKind::Abort:
    case FrameKind::Term:
    case FrameKind::Reply:
    case FrameKind::Unsol:
        return true;
    }
    return false;
}

} // namespace

std::string encodeFrame(const Frame &f) { return encodeFrame(f, f.data); }

std::string encodeFrame(const Frame &f, std::string_view data)
{
    std::string out;
    out.reserve(kFrameLengthPrefix + kFrameHeaderSize + f.name.size() + data.size());
    put32(out, static_cast<std::uint32_t>(kFrameHeaderSize + f.name.size() + data.size()));
    out.push_back(static_cast<char>(kVersion));
    out.push_back(static_cast<char>(f.kind));
    out.push_back(static_cast<char>(f.flavour));
    out.push_back(static_cast<char>(f.name.size()));
    put32(out, f.sequence);
    put32(out, f.flags);
    put32(out, f.transaction);
    put32(out, static_cast<std::uint32_t>(f.status));
    put32(out, static_cast<std::uint32_t>(f.userCode));
    put32(out, f.arg);
    put32(out, static_cast<std::uint32_t>(data.size()));
    out += f.name;
    out += data;
    return out;
}

std::optional<std::size_t> decodeLengthPrefix(std::string_view prefix, std::string *error)
{
    if (prefix.size() != kFrameLengthPrefix) {
        if (error)
            *error = "truncated frame length";
        return std::nullopt;
    }
    std::size_t n = get32(prefix, 0);
    if (n < kFrameHeaderSize || n > kMaxFrameBody) {
        if (error)
            *error = "frame length " + std::to_string(n) + " out of range";
        return std::nullopt;
    }
    return n;
}

std::optional<Frame> decodeFrame(std::string_view body, std::string *error)
{
    auto fail = [error](std::string why) -> std::optional<Frame> {
        if (error)
            *error = std::move(why);
        return std::nullopt;
    };
    if (body.size() < kFrameHeaderSize)
        return fail("frame shorter than its header");
    if (body.size() > kMaxFrameBody)
        return fail("frame longer than the largest buffer");
    if (static_cast<std::uint8_t>(body[0]) != kVersion)
        return fail("unknown frame version");
    auto kind = static_cast<std::uint8_t>(body[1]);
    if (!knownKind(kind))
        return fail("unknown frame kind " + std::to_string(kind));
    auto flavour = static_cast<std::uint8_t>(body[2]);
    if (flavour > static_cast<std::uint8_t>(Flavour::String))
        return fail("unknown buffer flavour " + std::to_string(flavour));
    std::size_t nameLen = static_cast<std::uint8_t>(body[3]);
    std::size_t dataLen = get32(body, 28);
    if (nameLen > kMaxServiceName)
        return fail("service name too long");
    if (dataLen > body.size() || kFrameHeaderSize + nameLen + dataLen != body.size())
        return fail("frame lengths disagree: header says " + std::to_string(nameLen) + "+" +
                    std::to_string(dataLen) + " bytes, frame holds " +
                    std::to_string(body.size() - kFrameHeaderSize));

    Frame f;
    f.kind = static_cast<FrameKind>(kind);
    f.flavour = static_cast<Flavour>(flavour);
    f.sequence = get32(body, 4);
    f.flags = get32(body, 8);
    f.transaction = get32(body, 12);
    f.status = static_cast<std::int32_t>(get32(body, 16));
    f.userCode = static_cast<std::int32_t>(get32(body, 20));
    f.arg = get32(body, 24);
    f.name.assign(body.substr(kFrameHeaderSize, nameLen));
    std::string_view data = body.substr(kFrameHeaderSize + nameLen, dataLen);

    switch (f.flavour) {
    case Flavour::None:
        if (f.kind == FrameKind::Init) {
            if (dataLen > kMaxInitData)
                return fail("tpinit names too long");
        } else if (dataLen != 0) {
            return fail("data without a buffer flavour");
        }
        break;
    case Flavour::Fml:
    case Flavour::Fml32: {
        if (dataLen > flavourMaxSize(f.flavour) - fb::kHeaderSize)
            return fail(std::string("field buffer of ") + std::to_string(dataLen) + " bytes exceeds the " +
                        flavourName(f.flavour) + " limit");
        std::string why;
        if (!fb::validateEntries(data, &why))
            return fail(why);
        break;
    }
    case Flavour::String:
        if (dataLen > kStringMaxSize)
            return fail("string buffer too long");
        break;
    }
    f.data.assign(data);
    return f;
}

} // namespace medrec::tp
