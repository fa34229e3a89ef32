#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace q30x {

inline constexpr std::size_t kMacroPayloadSize = 512;

// The form in which one macro is written into the mouse: the loop count
// big-endian in bytes 0..1, then 255 two-byte event slots.
using MacroPayload = std::array<uint8_t, kMacroPayloadSize>;

// A payload with the number of two-byte words the encoder filled; the low
// 8 bits of the count go into the macro button's key-table entry.
struct EncodedMacro {
    MacroPayload payload{};
    int wordCount = 0;
};

}  // namespace q30x
