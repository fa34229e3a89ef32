#pragma once
#include <span>
#include <string>
#include <string_view>

namespace q30x {

struct NamedReference {
    std::string_view name;
    char32_t character;
};

// The 252 character entities of HTML 4 and "apos".
std::span<const NamedReference> namedReferences();

// The character of a reference name: the exact name first, then one that
// differs only in case (of two such, the one with capitals: "EACUTE" gives
// "Eacute"); 0 for an unknown name.
char32_t namedReference(std::string_view name);

// The text with its character references ("&amp;", "&#65;", "&#x42;")
// replaced; anything that is not a complete reference stays as it is.
std::u16string resolveReferences(std::u16string_view text);

}  // namespace q30x
