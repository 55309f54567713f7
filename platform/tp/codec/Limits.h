#pragma once

// Buffer flavours and the limits every layer checks against.

#include <cstddef>
#include <cstdint>
#include <string>

namespace medrec::tp {

// The typed-buffer kinds that travel on the wire.
enum class Flavour : std::uint8_t
{
    None = 0,
    Fml = 1,   // "FML": at most 65,532 bytes
    Fml32 = 2, // "FML32": at most 524,256 bytes
    String = 3 // "STRING": text, at most 524,256 bytes
};

inline constexpr std::size_t kFmlMaxSize = 65532;
inline constexpr std::size_t kFml32MaxSize = 524256;
inline constexpr std::size_t kStringMaxSize = 524256;
inline constexpr std::size_t kTpinitSize = 512;

// Largest buffer of the flavour in bytes (0 for None).
constexpr std::size_t flavourMaxSize(Flavour f)
{
    switch (f) {
    case Flavour::Fml:
        return kFmlMaxSize;
    case Flavour::Fml32:
        return kFml32MaxSize;
    case Flavour::String:
        return kStringMaxSize;
    case Flavour::None:
        break;
    }
    return 0;
}

// "FML", "FML32", "STRING" or "" for None.
const char *flavourName(Flavour f);

// A byte count for messages: 65532 -> "65,532".
std::string withThousands(std::size_t n);

} // namespace medrec::tp
