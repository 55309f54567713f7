#pragma once

// Frames of the client/server wire (docs/wire-format.md).
//
// A frame is a 4-byte little-endian body length followed by the body:
//   0  u8  version (1)          8  u32 flags            24 u32 arg (tpbegin time-out, s)
//   1  u8  kind                 12 u32 transaction      28 u32 data length
//   2  u8  flavour of the data  16 i32 status (tperrno) 32 name bytes, then data bytes
//   3  u8  name length          20 i32 user return code
//   4  u32 sequence number
// The body length must equal 32 + name length + data length, the data must fit its
// flavour's buffer, and field-buffer data must be well-formed entries: a frame that fails
// any check is refused whole.

#include "Limits.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace medrec::tp {

enum class FrameKind : std::uint8_t
{
    Init = 1,   // client: join; data = user name, zero, client name
    Call = 2,   // client: call service `name` with the field buffer
    Begin = 3,  // client: begin a transaction, arg = time-out in seconds
    Commit = 4, // client: commit the transaction `transaction`
    Abort = 5,  // client: roll it back
    Term = 6,   // client: leave; the server replies and closes
    Reply = 0x81, // server: the answer to the request with the same sequence number
    Unsol = 0x82  // server: an unsolicited message (data in its flavour)
};

inline constexpr std::size_t kFrameLengthPrefix = 4;
inline constexpr std::size_t kFrameHeaderSize = 32;
inline constexpr std::size_t kMaxServiceName = 127;
inline constexpr std::size_t kMaxFrameBody = kFrameHeaderSize + kMaxServiceName + kFml32MaxSize;
// An Init frame carries at most two 17-byte names and a separator.
inline constexpr std::size_t kMaxInitData = 2 * 17 + 1;

struct Frame
{
    FrameKind kind = FrameKind::Reply;
    Flavour flavour = Flavour::None;
    std::uint32_t sequence = 0;
    std::uint32_t flags = 0;
    std::uint32_t transaction = 0; // 0: none
    std::int32_t status = 0;       // replies: 0 or a tperrno value
    std::int32_t userCode = 0;     // replies: the service's user return code
    std::uint32_t arg = 0;
    std::string name;
    std::string data; // field-buffer entries (FML, FML32) or bytes (STRING, Init)
};

// The frame's bytes, length prefix included. The caller keeps within the limits
// (checked by the decoder on the other side; encode asserts nothing).
std::string encodeFrame(const Frame &frame);
// The same with the body given apart (frame.data is not used): a reply is encoded straight
// from the field buffer that holds it, without a copy of it first.
std::string encodeFrame(const Frame &frame, std::string_view data);

// The body length of a prefix, or nullopt (with *error) when it is out of range.
std::optional<std::size_t> decodeLengthPrefix(std::string_view prefix4, std::string *error);

// Decodes a body (the bytes after the prefix). nullopt with *error set when any length,
// kind, flavour or field entry is wrong.
std::optional<Frame> decodeFrame(std::string_view body, std::string *error);

} // namespace medrec::tp
