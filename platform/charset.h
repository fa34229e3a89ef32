#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace q30x {

// Converts bytes in a charset that the C library knows by `charset` (an
// iconv name) to UTF-16. Bytes the charset cannot map become U+FFFD and the
// conversion goes on, as the Windows conversion does; nullopt when the
// charset is not available at all.
std::optional<std::u16string> convertToUtf16(const std::string& charset, std::span<const uint8_t> bytes);

}  // namespace q30x
