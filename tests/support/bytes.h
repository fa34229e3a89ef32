#pragma once
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace q30x::test {

// Little-endian readers for checking raw record images at fixed offsets.
inline uint32_t u32At(const std::vector<uint8_t>& bytes, std::size_t offset) {
    return static_cast<uint32_t>(bytes.at(offset)) | static_cast<uint32_t>(bytes.at(offset + 1)) << 8 |
           static_cast<uint32_t>(bytes.at(offset + 2)) << 16 | static_cast<uint32_t>(bytes.at(offset + 3)) << 24;
}

inline void putU32(std::vector<uint8_t>& bytes, std::size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
}

// The UTF-16LE text stored at `offset`, up to its terminator.
inline std::u16string textAt(const std::vector<uint8_t>& bytes, std::size_t offset) {
    std::u16string text;
    for (std::size_t i = offset; i + 1 < bytes.size(); i += 2) {
        char16_t unit = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
        if (unit == 0) break;
        text += unit;
    }
    return text;
}

// The bytes of a text as written, for building files in tests.
inline std::vector<uint8_t> textBytes(std::string_view text) { return {text.begin(), text.end()}; }

template <typename Record>
std::vector<uint8_t> bytesOf(const Record& record) {
    std::vector<uint8_t> bytes(sizeof record);
    std::memcpy(bytes.data(), static_cast<const void*>(&record), sizeof record);
    return bytes;
}

}  // namespace q30x::test
