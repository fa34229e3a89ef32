#pragma once
#include <string_view>

namespace q30x {

// Names in the system's files (XML charsets and entities, INI sections and
// keys) and names typed on the command line compare without regard to
// ASCII case only.
template <typename Char>
constexpr Char asciiLower(Char c) {
    return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

template <typename Char>
constexpr bool equalIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}
constexpr bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return equalIgnoringAsciiCase<char>(a, b);
}
constexpr bool equalIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return equalIgnoringAsciiCase<char16_t>(a, b);
}

}  // namespace q30x
