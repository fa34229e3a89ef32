#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace q30x {

// Windows code pages the reader treats itself; every other one goes through
// the C library's converters.
inline constexpr int kAnsiCodePage = 1252;  // the system ANSI code page
inline constexpr int kUtf8CodePage = 65001;
inline constexpr int kUtf32CodePage = 65005;

struct CharsetAlias {
    std::string_view name;  // as Windows spells it; matched without regard to case
    int codePage;
};

struct CodePageCharset {
    int codePage;
    std::string_view iconvName;
};

// The charset names Windows knows and their code pages.
std::span<const CharsetAlias> charsetAliases();
// The code pages glibc's iconv converts, with its name for each.
std::span<const CodePageCharset> codePageCharsets();

// The code page of a declared encoding name: 0 for an unknown name (and for
// one longer than 99 characters), the ANSI code page for an empty one.
int codePageOfCharset(std::string_view name);

// The loose UTF-8 test of the loader: every byte with the top bit set must
// start a sequence of 2, 3 or 4 bytes whose followers have the top bit set.
bool passesUtf8Test(std::span<const uint8_t> bytes);

struct DecodedText {
    std::u16string text;
    bool usedAnsi = false;  // the code page had no converter: ANSI was used
};

// The bytes in `codePage` as UTF-16; a code page without a converter is
// read as ANSI.
DecodedText decodeCodePage(std::span<const uint8_t> bytes, int codePage);

}  // namespace q30x
