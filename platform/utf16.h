#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace q30x {

// Texts inside records are UTF-16 in fixed arrays: zero-terminated, zero after
// the terminator. UTF-8 appears only at the OS and user-interface edge.

// The text up to the first zero unit (or the whole array when there is none).
std::u16string_view fixedText(const char16_t* units, std::size_t capacity);

// Stores `text` cut to capacity-1 units, then zero-fills the rest of the array.
void setFixedText(char16_t* units, std::size_t capacity, std::u16string_view text);

template <std::size_t N>
std::u16string_view fixedText(const char16_t (&units)[N]) {
    return fixedText(units, N);
}

template <std::size_t N>
void setFixedText(char16_t (&units)[N], std::u16string_view text) {
    setFixedText(units, N, text);
}

// Invalid sequences become U+FFFD, so a bad name never stops a conversion.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);

// Appends one code point, as a surrogate pair above U+FFFF.
void appendUtf16(std::u16string& out, char32_t c);

}  // namespace q30x

namespace q30x {

// The pattern with its first "%s" replaced by `argument`; the only formatting
// the message texts use, done without printf so a stray '%' in a
// translation is harmless.
std::u16string formatText(std::u16string_view pattern, std::u16string_view argument);

}  // namespace q30x
